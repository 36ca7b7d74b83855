#include <support/paintcounter.h>
#include <utils/buttonfactory.h>
#include <utils/buttonmanager.h>
#include <utils/connectionstatus.h>
#include <utils/csvexport.h>
#include <utils/exportdialog.h>
#include <utils/genericchart.h>
#include <utils/historycursor.h>
#include <utils/historytext.h>
#include <utils/plotdocument.h>
#include <utils/progressbarui.h>
#include <utils/replotlayout.h>
#include <utils/sampleblock.h>
#include <utils/thresholdmultimanager.h>
#include <utils/thresholdwindowwidget.h>
#include <utils/valueovertime.h>

#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qttreepropertybrowser.h>

#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_textlabel.h>
#include <qwt_plot_zoneitem.h>
#include <qwt_scale_div.h>
#include <qwt_scale_draw.h>
#include <qwt_scale_widget.h>

#include <QCheckBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <vector>

using namespace Utils;
using Utils::Charts::GenericChart;
using Utils::Charts::historyFromText;
using Utils::Charts::historyToText;
using Doubles = std::vector<double>;

Q_DECLARE_METATYPE(Doubles)
Q_DECLARE_METATYPE(CsvDelimiterChoice)

namespace {

constexpr double Start = 1.7e12;

// `count` samples spread evenly over `spanMs` from Start; value = f(i).
template <typename Value>
ValueOverTime evenHistory(int count, double spanMs, Value value)
{
    ValueOverTime history;
    for (int i = 0; i < count; ++i)
        history.append(Start + spanMs * i / std::max(count - 1, 1), value(i), 0.0);
    return history;
}

QwtPlotCurve *curveOf(QwtPlot *plot)
{
    const QwtPlotItemList curves = plot->itemList(QwtPlotItem::Rtti_PlotCurve);
    return curves.isEmpty() ? nullptr : static_cast<QwtPlotCurve *>(curves.first());
}

QwtInterval axis(QwtPlot *plot, int axisId)
{
    return plot->axisScaleDiv(axisId).interval();
}

// A shown main window holding a chart of `count` plots.
struct Fixture
{
    explicit Fixture(int count)
        : chart(count, nullptr, &window)
    {
        window.setCentralWidget(new QWidget);
        window.resize(1000, 700);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("window not exposed");
    }

    QWidget *canvas(int plot) const { return chart.poPlot(plot)->canvas(); }
    QPoint inWindow(int plot, QPoint canvasPoint) const
    {
        return canvas(plot)->mapTo(&window, canvasPoint);
    }
    int pixelOf(double value) const
    {
        return qRound(chart.poPlot(0)->transform(QwtPlot::yLeft, value));
    }
    // A left-button drag down the middle of the first plot's canvas.
    void drag(int fromPixel, int toPixel)
    {
        const auto at = [this](int y) { return inWindow(0, QPoint(canvas(0)->width() / 2, y)); };
        QWindow *handle = window.windowHandle();
        QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, at(fromPixel));
        QTest::mouseMove(handle, at((fromPixel + toPixel) / 2));
        QTest::mouseMove(handle, at(toPixel));
        QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, at(toPixel));
    }
    // Marks at 25 (lower) and 75 (upper) on a left axis of 0 .. 100.
    ThresholdWindowWidget *addThresholds()
    {
        chart.setScale(0, 0.0, 100.0);
        auto *widget = new ThresholdWindowWidget(chart.poPlot(0), 3); // owned by the plot
        widget->setLowerMark(25.0);
        widget->setUpperMark(75.0);
        chart.updateChart(true);
        return widget;
    }
    void wheel(int plot, int angle)
    {
        const QPoint centre = canvas(plot)->rect().center();
        QWheelEvent event(centre, canvas(plot)->mapToGlobal(centre), QPoint(), QPoint(0, angle),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(canvas(plot), &event);
    }

    QMainWindow window;
    GenericChart chart;
};

bool sameBits(const ValueOverTime &a, const ValueOverTime &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        const Sample x = a.sample(i);
        const Sample y = b.sample(i);
        if (std::memcmp(&x, &y, sizeof x) != 0)
            return false;
    }
    return true;
}

ValueOverTime history(Doubles times, Doubles values, Doubles analog)
{
    ValueOverTime result;
    if (!result.assign(std::move(times), std::move(values), std::move(analog)))
        qFatal("test history rejected");
    return result;
}

// Base64 of little-endian doubles, built apart from the library to make texts it never writes.
std::string block(const Doubles &values)
{
    QByteArray raw(int(values.size() * sizeof(double)), Qt::Uninitialized);
    for (size_t i = 0; i < values.size(); ++i)
        qToLittleEndian(values[i], raw.data() + i * sizeof(double));
    return raw.toBase64().toStdString();
}

std::string text(const std::string &count, const Doubles &times, const Doubles &values,
                 const Doubles &analog, char separator = ';')
{
    const std::string s(1, separator);
    return "h1" + s + count + s + block(times) + s + block(values) + s + block(analog);
}

// Per array a scale byte, per sample a varint: zigzag delta << 2, 1 + raw bits or 2 = repeat.
std::string packed(const std::string &count, const QByteArray &arrays)
{
    return "h2;" + count + ";" + qCompress(arrays).toBase64().toStdString();
}

// Each block as its byte count and its bytes, compressed.
std::string stored(const std::string &count, const std::vector<std::vector<std::uint8_t>> &blocks)
{
    QByteArray bytes;
    for (const std::vector<std::uint8_t> &block : blocks) {
        bytes.append(char(block.size()));
        bytes.append(reinterpret_cast<const char *>(block.data()), int(block.size()));
    }
    return "h3;" + count + ";" + qCompress(bytes).toBase64().toStdString();
}

std::vector<std::uint8_t> blockOf(Doubles times, Doubles values, Doubles analog)
{
    return SampleBlock::encode(times.data(), values.data(), analog.data(), int(times.size()))
        .bytes();
}

// Times 1, 2; values 3, 4; analog 5, 6; all whole numbers.
const QByteArray wholeNumbers = QByteArray::fromHex("000808 001808 002808");

// What a load replaces, or keeps when the text is refused.
ValueOverTime reference()
{
    return history({1.0e12, 1.0e12 + 65.0}, {1.5, -2.25}, {4.0, 20.0});
}

double localMs(int year, int month, int day, int hour, int minute, int second, int ms)
{
    return double(QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms), Qt::LocalTime)
                      .toMSecsSinceEpoch());
}

// `count` samples 250 ms apart from 4 December 2026 14:03:07.250 local, valued start, start + 1...
ValueOverTime series(int count, double start)
{
    ValueOverTime result;
    const double first = localMs(2026, 12, 4, 14, 3, 7, 250);
    for (int i = 0; i < count; ++i)
        result.append(first + 250.0 * i, start + i, 0.0);
    return result;
}

const QList<QString> oneSeries{QStringLiteral("Time"), QStringLiteral("Signal")};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

using WidgetSetup = std::function<void(ThresholdWindowWidget *)>;
using ChartChange = std::function<void(Utils::Charts::GenericChart &)>;

} // namespace

Q_DECLARE_METATYPE(WidgetSetup)
Q_DECLARE_METATYPE(ChartChange)

class tst_Utils : public QObject
{
    Q_OBJECT

private slots:
    void samplesAreStampedOnTheirPlotAndDrawnWhenTheTimerFires();
    void replotRepaintsThePlotNotTheWindowBehindIt();
    void replotLaysThePlotOutOnlyWhenAnAxisNeedsOtherRoom_data();
    void replotLaysThePlotOutOnlyWhenAnAxisNeedsOtherRoom();
    void plotOutOfSightReplotsOnceShownAgain();
    void changeShowsWithoutBeingAskedFor();
    void chartViewFollowsNewestSamplesUntilZoomedAndDoubleClickReturns();
    void chartPanningStopsAtTheOffsets_data();
    void chartPanningStopsAtTheOffsets();
    void chartRightAxisMapsTheLeftRange();
    void chartDocksHoldOnePlotEachAndFollowTheLayoutRows_data();
    void chartDocksHoldOnePlotEachAndFollowTheLayoutRows();
    void chartAxisTitlesComeFromTitleOrCustomLabels_data();
    void chartAxisTitlesComeFromTitleOrCustomLabels();
    void chartLabelsMarkersBandAndBaselineFollowTheSamples_data();
    void chartLabelsMarkersBandAndBaselineFollowTheSamples();
    void axisLabelsKeepApartInSmallPlots_data();
    void axisLabelsKeepApartInSmallPlots();
    void draggingAThresholdMarkEmitsItsIndexAndValue_data();
    void draggingAThresholdMarkEmitsItsIndexAndValue();
    void thresholdManagerReportsDropsNotSetsAndTheBandFollowsTheMarks();
    void thresholdWidgetDiesWithItsPlot();
    void markLabelsFaceAwayFromEachOther_data();
    void markLabelsFaceAwayFromEachOther();
    void historyTextRoundTripKeepsEveryBit_data();
    void historyTextRoundTripKeepsEveryBit();
    void handMadeHistoryTextLoadsOnlyWhenWellFormed_data();
    void handMadeHistoryTextLoadsOnlyWhenWellFormed();
    void historyTextLoadsOnlyIntoTheAskedPlot();
    void csvDelimiterJoinsChoicesInFixedOrder_data();
    void csvDelimiterJoinsChoicesInFixedOrder();
    void csvLinesCarryLocalTimeAndFixedValues_data();
    void csvLinesCarryLocalTimeAndFixedValues();
    void exportDialogPreviewFollowsTheChoicesAndOnlyAcceptWrites();
    void csvAndPdfWritesReplaceTheWholeFileOrCreateNothing();
    void csvProgressSeesEveryLineAndCanStop();
    void connectionLampAndTextShowTheStateWithoutChangingSize();
    void buttonPropertyShowsTheValueAndEmitsButtonClicked();
    void progressWaitEndsOnItsOwnIdOrItsDeletion_data();
    void progressWaitEndsOnItsOwnIdOrItsDeletion();

private:
    QTemporaryDir m_dir;
};

void tst_Utils::samplesAreStampedOnTheirPlotAndDrawnWhenTheTimerFires()
{
    Fixture fixture(2);
    fixture.chart.updateChart(true);
    QwtPlotCurve *curve = curveOf(fixture.chart.poPlot(1));
    const double before = double(QDateTime::currentMSecsSinceEpoch());
    fixture.chart.vAppendData(1, 1.0, true, 4.0, false, -1.0, -1.0);
    fixture.chart.vAppendData(1, 2.0, false, 5.0, false, -1.0, -1.0);
    const double after = double(QDateTime::currentMSecsSinceEpoch());
    fixture.chart.vAppendData(2, 1.0, true, 0.0, false, -1.0, -1.0);
    fixture.chart.vAppendData(-1, 1.0, true, 0.0, false, -1.0, -1.0);

    QCOMPARE(fixture.chart.getData(0)->size(), 0);
    QCOMPARE(fixture.chart.getData(2), nullptr);
    const ValueOverTime &data = *fixture.chart.getData(1);
    QCOMPARE(data.size(), 2);
    QCOMPARE(int(curve->dataSize()), 0);
    QTRY_COMPARE(int(curve->dataSize()), 2);
    for (int i = 0; i < 2; ++i) {
        const Sample sample = data.sample(i);
        QCOMPARE(sample.analogValue, 4.0 + i);
        QVERIFY(sample.time >= before && sample.time <= after);
        // So few samples are drawn as stored.
        QCOMPARE(curve->sample(size_t(i)), QPointF(sample.time, 1.0 + i));
    }

    fixture.chart.vAppendData(0, 1.0, true, 0.0, false, -1.0, -1.0);
    fixture.chart.clear(1);
    fixture.chart.updateChart(true);
    QCOMPARE(int(curve->dataSize()), 0);
    QCOMPARE(int(curveOf(fixture.chart.poPlot(0))->dataSize()), 1);
    fixture.chart.clear();
    QCOMPARE(fixture.chart.getData(0)->size(), 0);
}

void tst_Utils::replotRepaintsThePlotNotTheWindowBehindIt()
{
    Fixture fixture(1);
    QwtPlot *plot = fixture.chart.poPlot(0);
    QCoreApplication::processEvents();
    PaintCounter paints;
    QWidget *behind = plot->parentWidget();
    for (QObject *watched : {static_cast<QObject *>(plot->canvas()), static_cast<QObject *>(behind),
                             static_cast<QObject *>(&fixture.window)})
        watched->installEventFilter(&paints);
    // A new time range moves the axis labels, which lie on the plot itself, outside the canvas.
    fixture.chart.vAppendData(0, 1.0, true, 4.0, false, -1.0, -1.0);
    fixture.chart.updateChart(true);
    QTRY_VERIFY(paints.counts.value(plot->canvas()) > 0);
    QCoreApplication::processEvents();
    QCOMPARE(paints.counts.value(behind), 0);
    QCOMPARE(paints.counts.value(&fixture.window), 0);
}

void tst_Utils::replotLaysThePlotOutOnlyWhenAnAxisNeedsOtherRoom_data()
{
    using Change = ChartChange;
    QTest::addColumn<Change>("change");
    QTest::addColumn<bool>("laidOut");
    QTest::newRow("time moves on") << Change([](Utils::Charts::GenericChart &chart) {
        Utils::ValueOverTime later;
        later.append(double(QDateTime::currentMSecsSinceEpoch()) + 7300.0, 2.0, 4.0);
        chart.setData(0, later);
    }) << false;
    QTest::newRow("value labels grow") << Change([](Utils::Charts::GenericChart &chart) {
        chart.vSetYScale(0, -100000.0, 100000.0);
    }) << true;
    QTest::newRow("axis title") << Change([](Utils::Charts::GenericChart &chart) {
        chart.setPlotTitle(0, QStringLiteral("Pressure"), QString(), false, true);
    }) << true;
}

void tst_Utils::replotLaysThePlotOutOnlyWhenAnAxisNeedsOtherRoom()
{
    QFETCH(ChartChange, change);
    Fixture fixture(1);
    QwtPlot *plot = fixture.chart.poPlot(0);
    fixture.chart.vAppendData(0, 1.0, true, 4.0, false, -1.0, -1.0);
    fixture.chart.updateChart(true);
    const auto inputs = Utils::Charts::PlotLayoutInputs::of(*plot);
    const QRect canvas = plot->canvas()->geometry();
    change(fixture.chart);
    fixture.chart.updateChart(true);
    QFETCH(bool, laidOut);
    QCOMPARE(Utils::Charts::PlotLayoutInputs::of(*plot) != inputs, laidOut);
    QCOMPARE(plot->canvas()->geometry() != canvas, laidOut);
}

void tst_Utils::plotOutOfSightReplotsOnceShownAgain()
{
    Fixture fixture(1);
    QwtPlot *plot = fixture.chart.poPlot(0);
    QDockWidget *dock = fixture.chart.getDockChartItem(0);
    dock->hide();
    const QwtInterval time = plot->axisScaleDiv(QwtPlot::xBottom).interval();
    fixture.chart.vAppendData(0, 1.0, true, 4.0, false, -1.0, -1.0);
    fixture.chart.updateChart(false);
    QCOMPARE(plot->axisScaleDiv(QwtPlot::xBottom).interval(), time);
    dock->show();
    QTRY_VERIFY(plot->axisScaleDiv(QwtPlot::xBottom).interval() != time);
}

void tst_Utils::changeShowsWithoutBeingAskedFor()
{
    Fixture fixture(1);
    QwtPlot *plot = fixture.chart.poPlot(0);
    fixture.chart.updateChart(true);
    const QwtInterval before = axis(plot, QwtPlot::yLeft);
    fixture.chart.vSetYScale(0, -100000.0, 100000.0);
    QCOMPARE(axis(plot, QwtPlot::yLeft), before);
    QTRY_VERIFY(axis(plot, QwtPlot::yLeft) != before);
}

void tst_Utils::chartViewFollowsNewestSamplesUntilZoomedAndDoubleClickReturns()
{
    Fixture fixture(1);
    QwtPlot *plot = fixture.chart.poPlot(0);
    QSignalSpy reset(&fixture.chart, &GenericChart::vSignalZommResetForNoiseLine);
    fixture.chart.setTimelineScale(-40.0, 120.0);
    fixture.chart.vSetYScale(0, 0.0, 100.0);
    fixture.chart.setData(0, evenHistory(100, 500000.0, [](int) { return 1.0; }));
    fixture.chart.updateChart(true);
    const QwtInterval following = axis(plot, QwtPlot::xBottom);
    QCOMPARE(following, QwtInterval(Start + 500000.0 - 160000.0, Start + 500000.0));

    fixture.wheel(0, 120);
    const QwtInterval zoomed = axis(plot, QwtPlot::xBottom);
    QVERIFY(zoomed.width() < following.width());
    QVERIFY(axis(plot, QwtPlot::yLeft).width() < 100.0);

    fixture.chart.setData(0, evenHistory(100, 900000.0, [](int) { return 1.0; }));
    fixture.chart.updateChart(true);
    QCOMPARE(axis(plot, QwtPlot::xBottom), zoomed);

    QTest::mouseDClick(fixture.window.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                       fixture.inWindow(0, fixture.canvas(0)->rect().center()));
    QCOMPARE(reset.count(), 1);
    QCOMPARE(axis(plot, QwtPlot::xBottom).maxValue(), Start + 900000.0);
    QCOMPARE(axis(plot, QwtPlot::yLeft), QwtInterval(0.0, 100.0));
}

void tst_Utils::chartPanningStopsAtTheOffsets_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<bool>("negatives");
    QTest::addColumn<QwtInterval>("expected");

    QTest::newRow("dragging down stops above the maximum") << 1 << true << QwtInterval(50.0, 150.0);
    QTest::newRow("dragging up stops below the minimum") << -1 << true << QwtInterval(-25.0, 75.0);
    QTest::newRow("without negatives dragging up stops at zero")
        << -1 << false << QwtInterval(0.0, 100.0);
}

void tst_Utils::chartPanningStopsAtTheOffsets()
{
    QFETCH(int, direction);
    QFETCH(bool, negatives);
    QFETCH(QwtInterval, expected);

    Fixture fixture(1);
    fixture.chart.setScale(0, 0.0, 100.0);
    fixture.chart.setMinPanOffset(0, 25.0);
    fixture.chart.setMaxPanOffset(0, 50.0);
    fixture.chart.setAllowNegativeValues(0, negatives);
    fixture.chart.updateChart(true);

    const int height = fixture.canvas(0)->height();
    const int from = height / 2 - direction * height * 2 / 5;
    fixture.drag(from, from + direction * height * 4 / 5);

    QCOMPARE(axis(fixture.chart.poPlot(0), QwtPlot::yLeft), expected);
}

void tst_Utils::chartRightAxisMapsTheLeftRange()
{
    Fixture fixture(1);
    QwtPlot *plot = fixture.chart.poPlot(0);
    fixture.chart.setScale(0, 0.0, 100.0);
    fixture.chart.vSetYScale(0, 20.0, 80.0);
    fixture.chart.setYRightAxisScale(0, 4.0, 20.0, 2.0);
    fixture.chart.vEnableYRightAxis(0, true);
    fixture.chart.updateChart(true);
    QVERIFY(plot->axisEnabled(QwtPlot::yRight));
    // The measuring range stays in sight; 20 and 80 are still at 4 and 20, ticks 2 apart.
    QCOMPARE(axis(plot, QwtPlot::yLeft), QwtInterval(0.0, 100.0));
    QCOMPARE(axis(plot, QwtPlot::yRight),
             QwtInterval(4.0 - 20.0 * 16.0 / 60.0, 4.0 + 80.0 * 16.0 / 60.0));
    QCOMPARE(plot->axisScaleDiv(QwtPlot::yRight).ticks(QwtScaleDiv::MajorTick).size(), 13);

    fixture.wheel(0, 120);
    const QwtInterval left = axis(plot, QwtPlot::yLeft);
    const QwtInterval right = axis(plot, QwtPlot::yRight);
    QVERIFY(left.width() < 100.0);
    QVERIFY(qFuzzyCompare(right.minValue(), 4.0 + (left.minValue() - 20.0) * 16.0 / 60.0));
    QVERIFY(qFuzzyCompare(right.maxValue(), 4.0 + (left.maxValue() - 20.0) * 16.0 / 60.0));
}

void tst_Utils::chartDocksHoldOnePlotEachAndFollowTheLayoutRows_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<bool>("sideBySide");
    QTest::newRow("one row of two") << QList<int>{2} << true;
    QTest::newRow("two rows of one") << QList<int>{1, 1} << false;
}

void tst_Utils::chartDocksHoldOnePlotEachAndFollowTheLayoutRows()
{
    QFETCH(QList<int>, rows);
    QFETCH(bool, sideBySide);
    Fixture fixture(2);
    for (int columns : rows)
        fixture.chart.AddLayoutRow(columns);
    fixture.chart.UpdateLayout();
    fixture.chart.UpdateMinimumHeights(700);

    QDockWidget *first = fixture.chart.getDockChartItem(0);
    const QDockWidget *second = fixture.chart.getDockChartItem(1);
    QCOMPARE(second->widget(), fixture.chart.poPlot(1));
    QVERIFY(first->objectName() != second->objectName());
    if (sideBySide) {
        QTRY_COMPARE(second->y(), first->y());
        QVERIFY(second->x() > first->x());
    } else {
        QTRY_COMPARE(second->x(), first->x());
        QVERIFY(second->y() > first->y());
        QVERIFY(first->height() >= 700 / 4);
    }
    fixture.chart.setDockFixedSize(true);
    QCOMPARE(first->features(), QDockWidget::NoDockWidgetFeatures);
    fixture.chart.setDockFixedSize(false);
    QVERIFY(first->features().testFlag(QDockWidget::DockWidgetMovable));
}

void tst_Utils::chartAxisTitlesComeFromTitleOrCustomLabels_data()
{
    QTest::addColumn<bool>("onAxis");
    QTest::addColumn<bool>("customLeft");
    QTest::addColumn<bool>("customRight");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");

    QTest::newRow("title on the axis")
        << true << false << false << QStringLiteral("Pressure (bar)") << QString();
    QTest::newRow("title above only") << false << false << false << QString() << QString();
    QTest::newRow("custom labels replace the title")
        << true << true << true << QStringLiteral("Left caption") << QStringLiteral("Current (mA)");
    QTest::newRow("custom right label alone")
        << true << false << true << QStringLiteral("Pressure (bar)")
        << QStringLiteral("Current (mA)");
}

void tst_Utils::chartAxisTitlesComeFromTitleOrCustomLabels()
{
    QFETCH(bool, onAxis);
    QFETCH(bool, customLeft);
    QFETCH(bool, customRight);

    Fixture fixture(1);
    fixture.chart.setPlotTitle(0, QStringLiteral("Pressure (bar)"), QString(), !onAxis, onAxis);
    fixture.chart.setCustomLabelsText(0, QStringLiteral("Left caption"),
                                      QStringLiteral("Current (mA)"));
    fixture.chart.setCustomLabelsVisible(0, customLeft, customRight);
    QTEST(fixture.chart.poPlot(0)->axisTitle(QwtPlot::yLeft).text(), "left");
    QTEST(fixture.chart.poPlot(0)->axisTitle(QwtPlot::yRight).text(), "right");
    QCOMPARE(fixture.chart.poPlot(0)->title().text(),
             onAxis ? QString() : QStringLiteral("Pressure (bar)"));
}

void tst_Utils::axisLabelsKeepApartInSmallPlots_data()
{
    QTest::addColumn<QSize>("window");
    QTest::newRow("roomy") << QSize(1000, 700);
    QTest::newRow("a tile of eight") << QSize(420, 260);
    QTest::newRow("smallest") << QSize(220, 150);
}

// A minute of samples over a wide range: no two labels of an axis overlap, however small the plot.
void tst_Utils::axisLabelsKeepApartInSmallPlots()
{
    QFETCH(QSize, window);
    Fixture fixture(1);
    fixture.window.resize(window);
    QTRY_COMPARE(fixture.window.size(), window);
    QCoreApplication::processEvents();
    const double now = double(QDateTime::currentMSecsSinceEpoch());
    ValueOverTime minute;
    for (int second = 0; second <= 60; ++second)
        minute.append(now - 60000.0 + second * 1000.0, second * 1000.0, 0.0);
    fixture.chart.setData(0, std::move(minute));
    fixture.chart.vSetYScale(0, 0.0, 60000.0);
    fixture.chart.updateChart(true);
    QwtPlot *plot = fixture.chart.poPlot(0);
    const QFontMetrics time(plot->axisWidget(QwtPlot::xBottom)->font());
    const QFontMetrics value(plot->axisWidget(QwtPlot::yLeft)->font());
    const std::pair<int, int> axes[]
        = {{QwtPlot::xBottom, time.horizontalAdvance(QStringLiteral("00:00:00"))},
           {QwtPlot::yLeft, value.height()}};
    for (const auto &[axis, labelLength] : axes) {
        const QList<double> ticks = plot->axisScaleDiv(axis).ticks(QwtScaleDiv::MajorTick);
        const QwtScaleMap map = plot->canvasMap(axis);
        for (int i = 1; i < ticks.size(); ++i) {
            const double apart = std::abs(map.transform(ticks[i]) - map.transform(ticks[i - 1]));
            QVERIFY2(apart > labelLength, qPrintable(QStringLiteral("axis %1: %2 px for %3")
                                                         .arg(axis)
                                                         .arg(apart)
                                                         .arg(labelLength)));
        }
    }
}

// The plots speak the user's language; the files written from them keep theirs (csv tests).
void tst_Utils::chartLabelsMarkersBandAndBaselineFollowTheSamples_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("expected"); // value label, analog tag, mark, axis tick

    QTest::newRow("C") << QLocale::c() << QStringList{"3.000", "12.25", "25.5", "2.5"};
    QTest::newRow("German") << QLocale(QLocale::German)
                            << QStringList{"3,000", "12,25", "25,5", "2,5"};
}

void tst_Utils::chartLabelsMarkersBandAndBaselineFollowTheSamples()
{
    QFETCH(QLocale, locale);
    const auto restore = qScopeGuard([previous = QLocale()] { QLocale::setDefault(previous); });
    QLocale::setDefault(locale);
    Fixture fixture(1);
    QwtPlot *plot = fixture.chart.poPlot(0);
    fixture.chart.setCurrentValuePrecision(0, 3);
    fixture.chart.vEnableYRightAxis(0, true);
    fixture.chart.vSetMarkerRightVisible(0, true);
    fixture.chart.setRightMarkerVisible(0, true);
    ThresholdWindowWidget *marks = fixture.addThresholds();
    marks->setLowerMark(25.5);
    fixture.chart.vAppendData(0, 2.0, true, 8.5, false, -1.0, -1.0);
    fixture.chart.vAppendData(0, 3.0, true, 12.25, false, -1.0, -1.0);
    fixture.chart.vAppendData(0, 9.0, false, 12.25, false, -1.0, -1.0);
    fixture.chart.updateChart(true);
    const auto *label = static_cast<QwtPlotTextLabel *>(
        plot->itemList(QwtPlotItem::Rtti_PlotTextLabel).constFirst());
    const QwtPlotItemList markers = plot->itemList(QwtPlotItem::Rtti_PlotMarker);
    const auto visibleAt = [&](int yAxis, double value) -> const QwtPlotMarker * {
        for (const QwtPlotItem *item : markers) {
            const auto *marker = static_cast<const QwtPlotMarker *>(item);
            if (item->isVisible() && item->yAxis() == yAxis && marker->yValue() == value)
                return marker;
        }
        return nullptr;
    };
    const QwtPlotMarker *tag = visibleAt(QwtPlot::yRight, 12.25);
    const QwtPlotMarker *mark = visibleAt(QwtPlot::yLeft, 25.5);
    QVERIFY(tag && mark && visibleAt(QwtPlot::yLeft, 9.0));
    QTEST(QStringList({label->text().text(), tag->label().text(), mark->label().text(),
                       plot->axisScaleDraw(QwtPlot::yLeft)->label(2.5).text()}),
          "expected");

    fixture.chart.vEnableYRightAxis(0, false);
    fixture.chart.setRightMarkerVisible(0, false);
    fixture.chart.vSetLabels(false);
    fixture.chart.updateChart(true);
    QVERIFY(!visibleAt(QwtPlot::yRight, 12.25) && !visibleAt(QwtPlot::yLeft, 9.0));
    QVERIFY(!label->isVisible());

    const auto *band
        = static_cast<const QwtPlotZoneItem *>(plot->itemList(QwtPlotItem::Rtti_PlotZone).first());
    fixture.chart.vAppendData(0, 2.5, true, 0.0, true, 2.0, 3.0);
    QVERIFY(band->isVisible());
    QCOMPARE(band->interval(), QwtInterval(2.0, 3.0));
    fixture.chart.vAppendData(0, 2.5, true, 0.0, false, -1.0, -1.0);
    QVERIFY(!band->isVisible());

    QwtPlotCurve *curve = curveOf(plot);
    fixture.chart.vSetYScale(0, -40.0, 120.0);
    QCOMPARE(curve->baseline(), 0.0);
    fixture.chart.setBaselineTo(0);
    QCOMPARE(curve->baseline(), -40.0);
    fixture.chart.vSetYScale(0, 10.0, 20.0);
    QCOMPARE(curve->baseline(), 10.0);
}

void tst_Utils::draggingAThresholdMarkEmitsItsIndexAndValue_data()
{
    QTest::addColumn<WidgetSetup>("setup");
    QTest::addColumn<double>("mark");
    QTest::addColumn<double>("target");
    QTest::addColumn<int>("index");
    QTest::addColumn<QVariant>("stopsAt");

    // index -1: no mark may move, the plot pans; no stopsAt: the mark follows the drag.
    const WidgetSetup none = [](ThresholdWindowWidget *) {};
    QTest::newRow("lower mark up to 40") << none << 25.0 << 40.0 << 0 << QVariant();
    QTest::newRow("press away from the marks") << none << 50.0 << 40.0 << -1 << QVariant();
    QTest::newRow("upper mark grabbed slightly off the line")
        << none << 74.2 << 90.0 << 1 << QVariant();
    QTest::newRow("lower past upper stops") << none << 25.0 << 90.0 << 0 << QVariant(75.0);
    QTest::newRow("upper past lower stops") << none << 75.0 << 10.0 << 1 << QVariant(25.0);
    QTest::newRow("lower past upper with overlap")
        << WidgetSetup([](ThresholdWindowWidget *w) { w->allowOverlapping(true); }) << 25.0 << 90.0
        << 0 << QVariant();
    QTest::newRow("read-only widget")
        << WidgetSetup([](ThresholdWindowWidget *w) { w->setReadOnly(true); }) << 25.0 << 45.0 << -1
        << QVariant();
    QTest::newRow("lower mark disabled")
        << WidgetSetup([](ThresholdWindowWidget *w) { w->enableLowerMark(false); }) << 25.0 << 45.0
        << -1 << QVariant();
}

void tst_Utils::draggingAThresholdMarkEmitsItsIndexAndValue()
{
    QFETCH(WidgetSetup, setup);
    QFETCH(double, mark);
    QFETCH(double, target);
    QFETCH(int, index);
    QFETCH(QVariant, stopsAt);
    Fixture fixture(1);
    ThresholdWindowWidget *widget = fixture.addThresholds();
    QwtPlot *plot = fixture.chart.poPlot(0);
    setup(widget);
    const QwtInterval before = axis(plot, QwtPlot::yLeft);
    QSignalSpy dropped(widget, &ThresholdWindowWidget::emitValueChanged);

    const int to = fixture.pixelOf(target);
    fixture.drag(fixture.pixelOf(mark), to);

    const double moved
        = stopsAt.isValid() ? stopsAt.toDouble() : plot->invTransform(QwtPlot::yLeft, to);
    QCOMPARE(widget->lowerMark(), index == 0 ? moved : 25.0);
    QCOMPARE(widget->upperMark(), index == 1 ? moved : 75.0);
    QCOMPARE(dropped.count(), index < 0 ? 0 : 1);
    QCOMPARE(axis(plot, QwtPlot::yLeft) == before, index >= 0);
    if (index < 0)
        return;
    QCOMPARE(dropped.first().at(0).toInt(), index);
    QCOMPARE(dropped.first().at(1).toDouble(), moved);
}

void tst_Utils::thresholdManagerReportsDropsNotSetsAndTheBandFollowsTheMarks()
{
    Fixture fixture(1);
    ThresholdWindowWidget *widget = fixture.addThresholds();
    ThresholdMultiManager manager(0);
    manager.setOutputs(2);
    manager.addWidget(widget);
    manager.addWidget(widget);
    QCOMPARE(manager.widgets().size(), 1);
    QSignalSpy reported(&manager, &ThresholdMultiManager::valueChanged);

    fixture.drag(fixture.pixelOf(75.0), fixture.pixelOf(50.0));
    QCOMPARE(reported.count(), 1);
    QCOMPARE(reported.first().at(0).toInt(), 3);
    QCOMPARE(reported.first().at(1).toUInt(), 1u);

    manager.setReadOnly(true);
    fixture.drag(fixture.pixelOf(25.0), fixture.pixelOf(30.0));
    widget->setLowerMark(10.0);
    widget->setUpperMark(90.0);
    QCOMPARE(reported.count(), 1);

    const auto *band = static_cast<const QwtPlotZoneItem *>(
        fixture.chart.poPlot(0)->itemList(QwtPlotItem::Rtti_PlotZone).constLast());
    QVERIFY(!band->isVisible());
    widget->setWindowSizeVisible(true);
    QVERIFY(band->isVisible());
    QCOMPARE(band->interval(), QwtInterval(10.0, 90.0));
    widget->setUpperMark(5.0);
    QCOMPARE(band->interval(), QwtInterval(5.0, 10.0));
}

void tst_Utils::markLabelsFaceAwayFromEachOther_data()
{
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    QTest::newRow("in order") << 25.0 << 75.0;
    QTest::newRow("crossed") << 75.0 << 25.0;
    QTest::newRow("close and crossed") << 50.5 << 50.0;
}

// On the left edge: the right one holds the current value and the analog tag.
void tst_Utils::markLabelsFaceAwayFromEachOther()
{
    QFETCH(double, lower);
    QFETCH(double, upper);
    Fixture fixture(1);
    ThresholdWindowWidget *widget = fixture.addThresholds();
    widget->allowOverlapping(true);
    widget->setLowerMark(lower);
    widget->setUpperMark(upper);
    QwtPlotItemList markers = fixture.chart.poPlot(0)->itemList(QwtPlotItem::Rtti_PlotMarker);
    std::vector<const QwtPlotMarker *> marks;
    for (const QwtPlotItem *item : qAsConst(markers)) {
        const auto *marker = static_cast<const QwtPlotMarker *>(item);
        if (marker->lineStyle() == QwtPlotMarker::HLine && !marker->label().isEmpty())
            marks.push_back(marker);
    }
    QCOMPARE(marks.size(), std::size_t(2));
    std::sort(marks.begin(), marks.end(), [](const QwtPlotMarker *a, const QwtPlotMarker *b) {
        return a->yValue() < b->yValue();
    });
    QCOMPARE(marks.front()->labelAlignment(), Qt::AlignLeft | Qt::AlignBottom);
    QCOMPARE(marks.back()->labelAlignment(), Qt::AlignLeft | Qt::AlignTop);
}

void tst_Utils::thresholdWidgetDiesWithItsPlot()
{
    QMainWindow window;
    auto *chart = new GenericChart(1, nullptr, &window);
    QPointer<ThresholdWindowWidget> widget = new ThresholdWindowWidget(chart->poPlot(0), 0);
    ThresholdMultiManager manager(2);
    manager.addWidget(widget);
    delete chart;
    QVERIFY(widget.isNull());
    QCOMPARE(manager.widgets().size(), 0);
}

void tst_Utils::historyTextRoundTripKeepsEveryBit_data()
{
    QTest::addColumn<Doubles>("times");
    QTest::addColumn<Doubles>("values");
    QTest::addColumn<Doubles>("analog");
    QTest::addColumn<int>("maxBytes"); // 0: any size

    const double quietNan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    double payloadNan;
    const quint64 payloadBits = 0x7ff8dead0000beefULL;
    std::memcpy(&payloadNan, &payloadBits, sizeof payloadNan);

    QTest::newRow("empty history") << Doubles{} << Doubles{} << Doubles{} << 0;
    QTest::newRow("NaN payloads, signed zeros, infinities, fractions of a millisecond")
        << Doubles{-inf, -0.0, 0.0, 0.25, 1e300}
        << Doubles{inf, quietNan, -quietNan, payloadNan, -0.0}
        << Doubles{payloadNan, 1e-300, 0.1 + 0.2, 1.0 / 3.0, -1e16} << 0;
    QTest::newRow("equal time stamps")
        << Doubles{5.0, 5.0, 5.0} << Doubles{1.0, 2.0, 3.0} << Doubles{0.1, 0.2, 0.3} << 0;
    QTest::newRow("analog value changes for a value seen before")
        << Doubles{1.0, 2.0, 3.0, 4.0, 5.0} << Doubles{1.5, 2.5, 1.5, 2.5, 1.5}
        << Doubles{10.1, 20.2, 10.1, 21.3, 21.3} << 0;

    // Exact decimals pack small: device numbers divided down to bar, tenths of a degree multiplied.
    Doubles times(20000);
    Doubles bar(times.size());
    Doubles degrees(times.size());
    for (size_t i = 0; i < times.size(); ++i) {
        const int number = 5000 + int(2000 * std::sin(double(i) / 300.0));
        times[i] = 1.7e12 + 65.0 * double(i) + double(i % 3);
        bar[i] = number / 1000.0;
        degrees[i] = number * 0.1;
    }
    QTest::newRow("bar from device numbers") << times << bar << Doubles(times.size(), 4.0) << 30000;
    QTest::newRow("degrees from tenths") << times << degrees << bar << 30000;
    // Stored, not compressed: the text takes several chunks both ways.
    Doubles other(times.size());
    for (size_t i = 0; i < times.size(); ++i)
        other[i] = std::sin(double(i) / 3000.0) * 3.0 + double(i % 7) / 30.0;
    QTest::newRow("values that are no short decimals") << times << other << bar << 0;
}

void tst_Utils::historyTextRoundTripKeepsEveryBit()
{
    QFETCH(Doubles, times);
    QFETCH(Doubles, values);
    QFETCH(Doubles, analog);
    QFETCH(int, maxBytes);
    const ValueOverTime original = history(times, values, analog);

    const std::string saved = historyToText(original);
    QVERIFY(maxBytes == 0 || saved.size() < size_t(maxBytes));
    ValueOverTime loaded = reference();
    QVERIFY(historyFromText(saved, ';', loaded));
    QVERIFY(sameBits(loaded, original));
}

void tst_Utils::handMadeHistoryTextLoadsOnlyWhenWellFormed_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<char>("separator");
    QTest::addColumn<bool>("loads");

    const auto row = [](const char *name, const std::string &content, char separator = ';',
                        bool loads = false) {
        QTest::newRow(name) << QByteArray::fromStdString(content) << separator << loads;
    };
    const Doubles times{1.0, 2.0};
    const Doubles values{3.0, 4.0};
    const Doubles analog{5.0, 6.0};
    const std::string valid = text("2", times, values, analog);
    row("raw", valid, ';', true);
    row("raw with another separator", text("2", times, values, analog, ','), ',', true);
    row("packed", packed("2", wholeNumbers), ';', true);
    const std::vector<std::uint8_t> both = blockOf(times, values, analog);
    row("stored blocks", stored("2", {both}), ';', true);
    std::string unpadded = stored("2", {both});
    unpadded.erase(unpadded.find_last_not_of('=') + 1);
    row("stored blocks, base64 without padding", unpadded, ';', true);

    row("empty text", "");
    row("unknown tag", "h2" + valid.substr(2));
    row("field missing", valid.substr(0, valid.rfind(';')));
    row("field too many", valid + ";");
    row("separated by another character", text("2", times, values, analog, ','));
    row("count not a number", text("two", times, values, analog));
    row("count larger than the blocks", text("3", times, values, analog));
    row("count smaller than the blocks", text("1", times, values, analog));
    row("blocks of different lengths", text("2", times, values, {5.0}));
    row("time stamps out of order", text("2", {2.0, 1.0}, values, analog));
    row("single time stamp not a number",
        text("1", {std::numeric_limits<double>::quiet_NaN()}, {1.0}, {1.0}));
    std::string badCharacter = valid;
    badCharacter[valid.find(';', 5) + 3] = '*';
    row("character outside base64", badCharacter);
    row("separator inside the base64 alphabet", valid, 'A');
    row("separator is NUL", valid, '\0');

    row("packed: count larger than the arrays", packed("3", wholeNumbers));
    row("packed: count smaller than the arrays", packed("1", wholeNumbers));
    row("packed: bytes after the arrays", packed("2", wholeNumbers + '\0'));
    row("packed: unknown scale", packed("2", QByteArray(wholeNumbers).replace(0, 1, "\x7f")));
    row("packed: back reference with nothing before",
        packed("2", QByteArray::fromHex("000808 001808 0002 08")));
    row("packed: back reference in the times",
        packed("2", QByteArray::fromHex("000802 001808 002808")));
    row("packed: raw bits cut short", packed("2", QByteArray::fromHex("000801 0000")));
    row("packed: varint never ends", packed("1", QByteArray::fromHex("00ffffffffffffffffffffff")));
    row("packed: not compressed", "h2;2;" + wholeNumbers.toBase64().toStdString());
    QByteArray compressed = qCompress(wholeNumbers);
    compressed[3] = char(compressed[3] + 1);
    row("packed: size header differs from the data", "h2;2;" + compressed.toBase64().toStdString());
    row("stored: count larger than the blocks", stored("3", {both}));
    row("stored: count smaller than the blocks", stored("1", {both}));
    row("stored: a partial block before another",
        stored("2", {blockOf({1.0}, {3.0}, {5.0}), blockOf({2.0}, {4.0}, {6.0})}));
    row("stored: a damaged block",
        stored("2", {std::vector<std::uint8_t>(both.begin(), both.end() - 1)}));
    row("packed: size header claims gigabytes",
        "h2;100000000;" + QByteArray::fromHex("7fffffff789c").toBase64().toStdString());
}

void tst_Utils::handMadeHistoryTextLoadsOnlyWhenWellFormed()
{
    QFETCH(QByteArray, text);
    QFETCH(char, separator);
    QFETCH(bool, loads);
    ValueOverTime loaded = reference();
    QCOMPARE(historyFromText(text.toStdString(), separator, loaded), loads);
    QVERIFY(sameBits(loaded, loads ? history({1.0, 2.0}, {3.0, 4.0}, {5.0, 6.0}) : reference()));
}

void tst_Utils::historyTextLoadsOnlyIntoTheAskedPlot()
{
    Fixture fixture(2);
    fixture.chart.setData(0, reference());
    const std::string saved = fixture.chart.dataToString(0);
    QVERIFY(fixture.chart.setDataFromString(1, saved, ';'));
    QVERIFY(sameBits(*fixture.chart.getData(1), reference()));
    QVERIFY(!fixture.chart.setDataFromString(0, "h2;1;", ';'));
    QVERIFY(sameBits(*fixture.chart.getData(0), reference()));
    QVERIFY(!fixture.chart.setDataFromString(2, saved, ';'));
    QVERIFY(!fixture.chart.setDataFromString(-1, saved, ';'));
    QCOMPARE(fixture.chart.dataToString(2), std::string());
}

void tst_Utils::csvDelimiterJoinsChoicesInFixedOrder_data()
{
    QTest::addColumn<CsvDelimiterChoice>("choice");
    QTest::addColumn<QString>("expected");

    // tab, comma, semicolon, space, other, other text
    QTest::newRow("nothing checked")
        << CsvDelimiterChoice{false, false, false, false, false, QStringLiteral("|")} << QString();
    QTest::newRow("all five") << CsvDelimiterChoice{true, true, true,
                                                    true, true, QStringLiteral("||")}
                              << QStringLiteral("\t,; ||");
    QTest::newRow("other text taken as Latin-1")
        << CsvDelimiterChoice{false, false, false, false, true, QStringLiteral("\u00a7\u20ac")}
        << QStringLiteral("\u00a7?");
}

void tst_Utils::csvDelimiterJoinsChoicesInFixedOrder()
{
    QFETCH(CsvDelimiterChoice, choice);
    QTEST(choice.text(), "expected");
}

void tst_Utils::csvLinesCarryLocalTimeAndFixedValues_data()
{
    QTest::addColumn<double>("time");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("precision");
    QTest::addColumn<QByteArray>("line");

    const double example = localMs(2026, 12, 4, 14, 3, 7, 250);
    QTest::newRow("no decimals round")
        << example << 1234.5678 << 0 << QByteArray("04-12-2026 14:03:07.250;1235");
    QTest::newRow("four decimals pad")
        << example << -0.5 << 4 << QByteArray("04-12-2026 14:03:07.250;-0.5000");
    QTest::newRow("milliseconds padded")
        << localMs(2027, 1, 2, 3, 4, 5, 7) << 1.0 << 1 << QByteArray("02-01-2027 03:04:05.007;1.0");
    QTest::newRow("before 1970") << localMs(1969, 12, 31, 23, 59, 58, 999) << 3.0 << 0
                                 << QByteArray("31-12-1969 23:59:58.999;3");
}

void tst_Utils::csvLinesCarryLocalTimeAndFixedValues()
{
    QFETCH(double, time);
    QFETCH(double, value);
    QFETCH(int, precision);
    QFETCH(QByteArray, line);

    ValueOverTime values;
    values.append(time, value, 0.0);
    const QByteArray text = Utils::csvText({&values}, oneSeries, QStringLiteral(";"), precision);
    QCOMPARE(text, QByteArray("Time;Signal\n") + line + '\n');
}

void tst_Utils::exportDialogPreviewFollowsTheChoicesAndOnlyAcceptWrites()
{
    // A shorter series leaves its cells empty.
    const ValueOverTime pressure = series(5, 1.0);
    const ValueOverTime temperature = series(25, 30.0);
    QList<const ValueOverTime *> list{&pressure, &temperature};
    QList<QString> names{QStringLiteral("Time"), QStringLiteral("Signal"),
                         QStringLiteral("Temperature")};
    const QString path = m_dir.filePath(QStringLiteral("dialog.csv"));
    ExportDialog dialog(&list, &names);
    dialog.setPrecision(2);
    for (const char *box : {"semicolonCheckBox", "tabCheckBox", "commaCheckBox", "otherCheckBox"})
        dialog.findChild<QCheckBox *>(QLatin1String(box))->toggle();
    dialog.findChild<QLineEdit *>(QStringLiteral("otherLineEdit"))->setText(QStringLiteral("|"));
    QCOMPARE(dialog.delimiter(), QStringLiteral("\t,|"));
    const QStringList preview = dialog.findChild<QPlainTextEdit *>(QStringLiteral("previewEdit"))
                                    ->toPlainText()
                                    .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(preview.size(), 11);
    QCOMPARE(preview.at(5), QStringLiteral("04-12-2026 14:03:08.250\t,|5.00\t,|34.00"));
    QCOMPARE(preview.last(), QStringLiteral("04-12-2026 14:03:09.500\t,|\t,|39.00"));

    QPushButton *ok = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
    auto *file = dialog.findChild<QLineEdit *>(QStringLiteral("fileLineEdit"));
    QVERIFY(!ok->isEnabled());
    file->setText(QStringLiteral("  "));
    QVERIFY(!ok->isEnabled());
    file->setText(path);
    QVERIFY(ok->isEnabled());
    dialog.reject();
    QVERIFY(!QFile::exists(path));
    ok->click();
    QCOMPARE(readAll(path), Utils::csvText(list, names, QStringLiteral("\t,|"), 2));
}

void tst_Utils::csvAndPdfWritesReplaceTheWholeFileOrCreateNothing()
{
    const QString path = m_dir.filePath(QStringLiteral("replaced.csv"));
    QVERIFY(Utils::writeFileAtomically(path, QByteArray(4096, 'x')));
    QVERIFY(Utils::writeFileAtomically(path, QByteArray("Time;Signal\n")));
    QCOMPARE(readAll(path), QByteArray("Time;Signal\n"));
    Fixture fixture(1);
    const Utils::PlotDocument document(fixture.chart.poPlot(0));
    const QString pdfPath = m_dir.filePath(QStringLiteral("plot.pdf"));
    QVERIFY(document.exportToPdf(pdfPath));
    const QByteArray pdf = readAll(pdfPath);
    QVERIFY(pdf.startsWith("%PDF") && pdf.contains("%%EOF"));
    QVERIFY(pdf.size() > 2000);

    const QTemporaryDir dir;
    QVERIFY(!Utils::writeFileAtomically(dir.filePath(QStringLiteral("missing/out.csv")), "x"));
    QVERIFY(!document.exportToPdf(dir.filePath(QStringLiteral("missing/plot.pdf"))));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void tst_Utils::csvProgressSeesEveryLineAndCanStop()
{
    const ValueOverTime values = series(40000, 0.0);
    QList<int> reported;
    const auto record = [&reported](int done, int total) {
        reported << done;
        return total == 40000;
    };
    const QByteArray text
        = Utils::csvText({&values}, oneSeries, QStringLiteral(";"), 0, -1, record);
    QCOMPARE(text.count('\n'), 40001);
    QCOMPARE(reported.first(), 0);
    QCOMPARE(reported.last(), 40000);
    QVERIFY(std::is_sorted(reported.cbegin(), reported.cend()));

    QVERIFY(Utils::csvText({&values}, {QStringLiteral("Time")}, QStringLiteral(";"), 0, -1,
                           [](int done, int) { return done == 0; })
                .isEmpty());
}

void tst_Utils::connectionLampAndTextShowTheStateWithoutChangingSize()
{
    ConnectionStatus status;
    const QSize size = status.sizeHint();
    status.resize(size);
    for (const bool connected : {true, false}) {
        status.setConnected(connected);
        QCOMPARE(status.sizeHint(), size);
        QCOMPARE(status.text(),
                 connected ? QStringLiteral("Connected") : QStringLiteral("Disconnected"));
        QCOMPARE(status.toolTip(), status.text());
        const QImage image = status.grab().toImage();
        const QColor lamp
            = image.pixelColor(4 + (status.fontMetrics().height() - 2) / 2, image.height() / 2);
        QVERIFY((connected ? lamp.green() - lamp.red() : lamp.red() - lamp.green()) > 40);
    }
}

void tst_Utils::buttonPropertyShowsTheValueAndEmitsButtonClicked()
{
    ButtonManager manager;
    ButtonFactory factory;
    QtTreePropertyBrowser browser;
    browser.setFactoryForManager(&manager, &factory);
    QtProperty *property = manager.addProperty(QStringLiteral("Teach-in"));
    manager.setValue(property, QStringLiteral("Teach"));
    QtBrowserItem *item = browser.addProperty(property);
    browser.show();
    browser.setCurrentItem(item);
    browser.editItem(item);
    auto *button = browser.findChild<QPushButton *>();
    QVERIFY(button);
    QList<QtProperty *> clicked;
    connect(&manager, &ButtonManager::buttonClicked, this,
            [&clicked](QtProperty *sender) { clicked.append(sender); });
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_COMPARE(clicked, QList<QtProperty *>{property});

    QSignalSpy changed(&manager, &ButtonManager::valueChanged);
    manager.setValue(property, QStringLiteral("Einlernen"));
    manager.setValue(property, QStringLiteral("Einlernen"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(button->text(), QStringLiteral("Einlernen"));
    QCOMPARE(property->valueText(), QStringLiteral("Einlernen"));
}

void tst_Utils::progressWaitEndsOnItsOwnIdOrItsDeletion_data()
{
    QTest::addColumn<bool>("showUi");
    QTest::newRow("without ui nothing shows") << false;
    QTest::newRow("with ui a modal indicator shows") << true;
}

void tst_Utils::progressWaitEndsOnItsOwnIdOrItsDeletion()
{
    QFETCH(bool, showUi);
    QWidget parent;
    parent.show();
    ProgressBarUi wait(&parent);
    wait.setShowUi(showUi);
    wait.setModal(true);
    QList<unsigned int> events; // 0: exec returned
    bool indicatorShown = false;
    // Each exit comes in its own turn of the event loop, after the previous one.
    const std::function<void(QList<unsigned int>)> exitInTurn = [&](QList<unsigned int> ids) {
        if (ids.isEmpty())
            return;
        QTimer::singleShot(0, &wait, [&, ids]() mutable {
            indicatorShown = wait.isUiVisible() && QApplication::activeModalWidget();
            const unsigned int id = ids.takeFirst();
            events << id;
            wait.exit(id);
            exitInTurn(ids);
        });
    };
    exitInTurn({7, 4, 5});
    wait.exec(5);
    events << 0;
    // An id that came before its wait ends it at once; the queued exit only rescues a failure.
    wait.exit(9);
    exitInTurn({9});
    wait.exec(9);
    events << 0;
    QCOMPARE(events, QList<unsigned int>({7, 4, 5, 0, 0}));
    QCOMPARE(indicatorShown, showUi);
    QVERIFY(!wait.isUiVisible());

    QPointer<ProgressBarUi> doomed = new ProgressBarUi(&parent);
    doomed->setShowUi(showUi);
    QTimer::singleShot(0, [&] { delete doomed.data(); });
    doomed->exec(3);
    QVERIFY(doomed.isNull());
}

QTEST_MAIN(tst_Utils)
#include "tst_utils.moc"
