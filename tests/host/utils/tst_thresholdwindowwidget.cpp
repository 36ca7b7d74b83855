#include <utils/genericchart.h>
#include <utils/thresholdmultimanager.h>
#include <utils/thresholdwindowwidget.h>

#include <qwt_plot.h>
#include <qwt_plot_zoneitem.h>
#include <qwt_scale_div.h>

#include <QMainWindow>
#include <QPointer>
#include <QtTest>

#include <functional>

using Utils::ThresholdMultiManager;
using Utils::ThresholdWindowWidget;
using Utils::Charts::GenericChart;

namespace {

// A shown plot with the left axis 0 .. 100 and a threshold widget whose
// marks sit at 25 (lower) and 75 (upper).
struct Fixture
{
    Fixture()
        : chart(1, nullptr, &window)
    {
        window.setCentralWidget(new QWidget);
        window.resize(900, 600);
        chart.setScale(0, 0.0, 100.0);
        chart.updateChart(true);
        widget = new ThresholdWindowWidget(plot(), 3);
        widget->setLowerMark(25.0);
        widget->setUpperMark(75.0);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("window not exposed");
        chart.updateChart(true);
    }

    QwtPlot *plot() const { return chart.poPlot(0); }
    QWidget *canvas() const { return plot()->canvas(); }
    int pixelOf(double value) const { return qRound(plot()->transform(QwtPlot::yLeft, value)); }
    double valueAt(int pixel) const { return plot()->invTransform(QwtPlot::yLeft, pixel); }
    QPoint at(int pixelY) const
    {
        return canvas()->mapTo(&window, QPoint(canvas()->width() / 2, pixelY));
    }
    void drag(int fromPixel, int toPixel)
    {
        QWindow *handle = window.windowHandle();
        QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, at(fromPixel));
        QTest::mouseMove(handle, at((fromPixel + toPixel) / 2));
        QTest::mouseMove(handle, at(toPixel));
        QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, at(toPixel));
    }
    QwtInterval valueAxis() const { return plot()->axisScaleDiv(QwtPlot::yLeft).interval(); }

    QMainWindow window;
    GenericChart chart;
    ThresholdWindowWidget *widget = nullptr; // owned by the plot
};

using WidgetSetup = std::function<void(ThresholdWindowWidget *)>;

} // namespace

Q_DECLARE_METATYPE(WidgetSetup)

class tst_ThresholdWindowWidget : public QObject
{
    Q_OBJECT

private slots:
    void draggingAMarkEmitsItsIndexAndValue_data();
    void draggingAMarkEmitsItsIndexAndValue();
    void settingMarksEmitsNothingAndMovesTheBand();
    void pressAwayFromTheMarksPansThePlot();
    void managerReportsDropsWithTheComponent();
    void widgetDiesWithItsPlot();
};

void tst_ThresholdWindowWidget::draggingAMarkEmitsItsIndexAndValue_data()
{
    QTest::addColumn<WidgetSetup>("setup");
    QTest::addColumn<double>("mark");
    QTest::addColumn<double>("target");
    QTest::addColumn<int>("index");
    QTest::addColumn<QVariant>("stopsAt");

    // index -1: no mark may move; no stopsAt: the mark follows the drag.
    const WidgetSetup none = [](ThresholdWindowWidget *) {};
    QTest::newRow("lower mark up to 40") << none << 25.0 << 40.0 << 0 << QVariant();
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

void tst_ThresholdWindowWidget::draggingAMarkEmitsItsIndexAndValue()
{
    QFETCH(WidgetSetup, setup);
    QFETCH(double, mark);
    QFETCH(double, target);
    QFETCH(int, index);
    QFETCH(QVariant, stopsAt);
    Fixture fixture;
    setup(fixture.widget);
    const QwtInterval before = fixture.valueAxis();
    QSignalSpy dropped(fixture.widget, &ThresholdWindowWidget::emitValueChanged);

    const int to = fixture.pixelOf(target);
    fixture.drag(fixture.pixelOf(mark), to);

    const double moved = stopsAt.isValid() ? stopsAt.toDouble() : fixture.valueAt(to);
    QCOMPARE(fixture.widget->lowerMark(), index == 0 ? moved : 25.0);
    QCOMPARE(fixture.widget->upperMark(), index == 1 ? moved : 75.0);
    QCOMPARE(dropped.count(), index < 0 ? 0 : 1);
    if (index < 0)
        return;
    QCOMPARE(dropped.first().at(0).toInt(), index);
    QCOMPARE(dropped.first().at(1).toDouble(), moved);
    QCOMPARE(fixture.valueAxis(), before);
}

void tst_ThresholdWindowWidget::settingMarksEmitsNothingAndMovesTheBand()
{
    Fixture fixture;
    QSignalSpy dropped(fixture.widget, &ThresholdWindowWidget::emitValueChanged);
    fixture.widget->setLowerMark(10.0);
    fixture.widget->setUpperMark(90.0);
    QCOMPARE(dropped.count(), 0);

    const auto *band = static_cast<const QwtPlotZoneItem *>(
        fixture.plot()->itemList(QwtPlotItem::Rtti_PlotZone).constLast());
    QVERIFY(!band->isVisible());
    fixture.widget->setWindowSizeVisible(true);
    QVERIFY(band->isVisible());
    QCOMPARE(band->interval(), QwtInterval(10.0, 90.0));
    fixture.widget->setUpperMark(5.0);
    QCOMPARE(band->interval(), QwtInterval(5.0, 10.0));
}

void tst_ThresholdWindowWidget::pressAwayFromTheMarksPansThePlot()
{
    Fixture fixture;
    QSignalSpy dropped(fixture.widget, &ThresholdWindowWidget::emitValueChanged);
    fixture.drag(fixture.pixelOf(50.0), fixture.pixelOf(40.0));
    QCOMPARE(dropped.count(), 0);
    QVERIFY(fixture.valueAxis().minValue() > 0.0);
}

void tst_ThresholdWindowWidget::managerReportsDropsWithTheComponent()
{
    Fixture fixture;
    ThresholdMultiManager manager(0);
    manager.setOutputs(2);
    manager.addWidget(fixture.widget);
    manager.addWidget(fixture.widget);
    QCOMPARE(manager.widgets().size(), 1);
    QSignalSpy reported(&manager, &ThresholdMultiManager::valueChanged);

    const int to = fixture.pixelOf(50.0);
    fixture.drag(fixture.pixelOf(75.0), to);
    QCOMPARE(reported.count(), 1);
    QCOMPARE(reported.first().at(0).toInt(), 3);
    QCOMPARE(reported.first().at(1).toUInt(), 1u);

    manager.setReadOnly(true);
    fixture.drag(fixture.pixelOf(25.0), fixture.pixelOf(30.0));
    QCOMPARE(reported.count(), 1);
}

void tst_ThresholdWindowWidget::widgetDiesWithItsPlot()
{
    auto *window = new QMainWindow;
    auto *chart = new GenericChart(1, nullptr, window);
    QPointer<ThresholdWindowWidget> widget = new ThresholdWindowWidget(chart->poPlot(0), 0);
    ThresholdMultiManager manager(2);
    manager.addWidget(widget);
    delete chart;
    QVERIFY(widget.isNull());
    QCOMPARE(manager.widgets().size(), 0);
    delete window;
}

QTEST_MAIN(tst_ThresholdWindowWidget)
#include "tst_thresholdwindowwidget.moc"
