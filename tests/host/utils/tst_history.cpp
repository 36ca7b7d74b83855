#include <utils/genericchart.h>
#include <utils/valueovertime.h>

#include <qwt_plot.h>
#include <qwt_plot_curve.h>

#include <QMainWindow>
#include <QPainter>
#include <QtTest>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>

using Utils::ValueOverTime;
using Utils::Charts::GenericChart;

namespace {

constexpr double Start = 1.7e12;

// Raw engine output only: the standard distributions differ between libraries.
class Noise
{
public:
    explicit Noise(std::uint32_t seed)
        : m_engine(seed)
    {
    }
    double unit() { return double(m_engine()) / double(std::mt19937::max()); }
    std::uint32_t bits() { return std::uint32_t(m_engine()); }

private:
    std::mt19937 m_engine;
};

// A poll-like history: 65 ms apart with a few milliseconds of jitter, sensor-like values
// (thousandths of a bar) wandering with rare spikes.
ValueOverTime polledHistory(int count, std::uint32_t seed)
{
    Noise noise(seed);
    ValueOverTime history;
    double level = 5000.0;
    for (int i = 0; i < count; ++i) {
        level += std::round((noise.unit() - 0.5) * 40.0);
        const double spike = noise.bits() % 5000 == 0 ? 3000.0 : 0.0;
        history.append(Start + 65.0 * i + double(noise.bits() % 4), (level + spike) / 1000.0,
                       4.0 + level / 1000.0);
    }
    return history;
}

// Times and values that are no short decimals, with a gap and a stretch of NaN.
ValueOverTime irregularHistory(int count, std::uint32_t seed)
{
    Noise noise(seed);
    ValueOverTime history;
    double time = Start;
    for (int i = 0; i < count; ++i) {
        time += i == count / 3 ? 600000.0 : 10.0 + noise.unit() * 90.0;
        const bool gap = i > count / 2 && i < count / 2 + 40;
        const double value = gap ? std::numeric_limits<double>::quiet_NaN()
                                 : std::sin(i / 3000.0) * 3.0 + noise.unit();
        history.append(time, value, value / 7.0);
    }
    return history;
}

using HistoryMaker = std::function<ValueOverTime()>;

} // namespace

Q_DECLARE_METATYPE(HistoryMaker)

class tst_History : public QObject
{
    Q_OBJECT

private slots:
    void curvePixelsStayTheSameForAGivenHistory_data();
    void curvePixelsStayTheSameForAGivenHistory();
};

void tst_History::curvePixelsStayTheSameForAGivenHistory_data()
{
    QTest::addColumn<HistoryMaker>("makeHistory");
    QTest::addColumn<double>("seconds"); // the time window, ending at the newest sample
    QTest::addColumn<QString>("reference");

    const HistoryMaker polled = [] { return polledHistory(300000, 7); };
    const HistoryMaker irregular = [] { return irregularHistory(120000, 11); };
    QTest::newRow("polled, whole history") << polled << 300000 * 0.066 << "polled-whole.png";
    QTest::newRow("polled, a tenth") << polled << 2000.0 << "polled-tenth.png";
    QTest::newRow("polled, newest minute") << polled << 60.0 << "polled-minute.png";
    QTest::newRow("irregular, whole history") << irregular << 7000.0 << "irregular-whole.png";
    QTest::newRow("irregular, newest hour") << irregular << 3600.0 << "irregular-hour.png";
}

// Drawn as the window draws it, but only the curve: axis texts depend on the time zone.
void tst_History::curvePixelsStayTheSameForAGivenHistory()
{
    QFETCH(HistoryMaker, makeHistory);
    QFETCH(double, seconds);
    QFETCH(QString, reference);

    QMainWindow window;
    GenericChart chart(1, nullptr, &window);
    window.setCentralWidget(new QWidget);
    window.resize(1000, 500);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    chart.setData(0, makeHistory());
    chart.setTimelineScale(0.0, seconds);
    chart.setScale(0, -5.0, 10.0);
    chart.jumpToPlottingArea();

    QwtPlot *plot = chart.poPlot(0);
    const QwtPlotItemList curves = plot->itemList(QwtPlotItem::Rtti_PlotCurve);
    QCOMPARE(curves.size(), 1);
    const QRect canvas = plot->canvas()->contentsRect();
    QImage image(canvas.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        curves.first()->draw(&painter, plot->canvasMap(QwtPlot::xBottom),
                             plot->canvasMap(QwtPlot::yLeft), QRectF(QPointF(0, 0), canvas.size()));
    }
    const QString path = QStringLiteral(KR7D_TEST_DATA_DIR "/") + reference;
    const QImage expected = QImage(path).convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(!expected.isNull(), qPrintable(path));
    QCOMPARE(image, expected);
}

QTEST_MAIN(tst_History)
#include "tst_history.moc"
