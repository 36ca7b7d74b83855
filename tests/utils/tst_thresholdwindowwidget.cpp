#include <utils/genericchart.h>
#include <utils/thresholdmultimanager.h>
#include <utils/thresholdwindowwidget.h>

#include <qwt_plot.h>
#include <qwt_plot_zoneitem.h>
#include <qwt_scale_div.h>

#include <QMainWindow>
#include <QPointer>
#include <QtTest>

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
    ThresholdWindowWidget *widget = nullptr;  // owned by the plot
};

} // namespace

class tst_ThresholdWindowWidget : public QObject
{
    Q_OBJECT

private slots:
    void draggingAMarkEmitsItsIndexAndValue_data();
    void draggingAMarkEmitsItsIndexAndValue();
    void settingMarksEmitsNothingAndMovesTheBand();
    void pressAwayFromTheMarksPansThePlot();
    void marksThatMayNotBeDraggedStayPut_data();
    void marksThatMayNotBeDraggedStayPut();
    void withoutOverlapADraggedMarkStopsAtTheOther_data();
    void withoutOverlapADraggedMarkStopsAtTheOther();
    void managerReportsDropsWithTheComponent();
    void widgetDiesWithItsPlot();
};

void tst_ThresholdWindowWidget::draggingAMarkEmitsItsIndexAndValue_data()
{
    QTest::addColumn<double>("mark");
    QTest::addColumn<double>("target");
    QTest::addColumn<unsigned int>("index");
    QTest::newRow("lower mark up to 40") << 25.0 << 40.0 << 0u;
    QTest::newRow("upper mark down to 60") << 75.0 << 60.0 << 1u;
    QTest::newRow("upper mark grabbed slightly off the line") << 74.2 << 90.0 << 1u;
}

void tst_ThresholdWindowWidget::draggingAMarkEmitsItsIndexAndValue()
{
    QFETCH(double, mark);
    QFETCH(double, target);
    QFETCH(unsigned int, index);
    Fixture fixture;
    const QwtInterval before = fixture.valueAxis();
    QSignalSpy dropped(fixture.widget, &ThresholdWindowWidget::emitValueChanged);

    const int to = fixture.pixelOf(target);
    fixture.drag(fixture.pixelOf(mark), to);

    QCOMPARE(dropped.count(), 1);
    QCOMPARE(dropped.first().at(0).toUInt(), index);
    QCOMPARE(dropped.first().at(1).toDouble(), fixture.valueAt(to));
    const double moved = index == 0 ? fixture.widget->lowerMark() : fixture.widget->upperMark();
    const double other = index == 0 ? fixture.widget->upperMark() : fixture.widget->lowerMark();
    QCOMPARE(moved, fixture.valueAt(to));
    QCOMPARE(other, index == 0 ? 75.0 : 25.0);
    QCOMPARE(fixture.valueAxis(), before);
}

void tst_ThresholdWindowWidget::settingMarksEmitsNothingAndMovesTheBand()
{
    Fixture fixture;
    QSignalSpy dropped(fixture.widget, &ThresholdWindowWidget::emitValueChanged);
    fixture.widget->setLowerMark(10.0);
    fixture.widget->setUpperMark(90.0);
    QCOMPARE(dropped.count(), 0);
    QCOMPARE(fixture.widget->lowerMark(), 10.0);
    QCOMPARE(fixture.widget->upperMark(), 90.0);

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
    QCOMPARE(fixture.widget->lowerMark(), 25.0);
    QCOMPARE(fixture.widget->upperMark(), 75.0);
    QVERIFY(fixture.valueAxis().minValue() > 0.0);
}

void tst_ThresholdWindowWidget::marksThatMayNotBeDraggedStayPut_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("lowerEnabled");
    QTest::newRow("read-only widget") << true << true;
    QTest::newRow("lower mark disabled") << false << false;
}

void tst_ThresholdWindowWidget::marksThatMayNotBeDraggedStayPut()
{
    QFETCH(bool, readOnly);
    QFETCH(bool, lowerEnabled);
    Fixture fixture;
    fixture.widget->setReadOnly(readOnly);
    fixture.widget->enableLowerMark(lowerEnabled);
    QSignalSpy dropped(fixture.widget, &ThresholdWindowWidget::emitValueChanged);

    fixture.drag(fixture.pixelOf(25.0), fixture.pixelOf(45.0));
    QCOMPARE(dropped.count(), 0);
    QCOMPARE(fixture.widget->lowerMark(), 25.0);
}

void tst_ThresholdWindowWidget::withoutOverlapADraggedMarkStopsAtTheOther_data()
{
    QTest::addColumn<bool>("overlap");
    QTest::addColumn<double>("mark");
    QTest::addColumn<double>("target");
    QTest::addColumn<bool>("stopsAtOther");
    QTest::newRow("lower past upper stops") << false << 25.0 << 90.0 << true;
    QTest::newRow("upper past lower stops") << false << 75.0 << 10.0 << true;
    QTest::newRow("lower past upper with overlap") << true << 25.0 << 90.0 << false;
}

void tst_ThresholdWindowWidget::withoutOverlapADraggedMarkStopsAtTheOther()
{
    QFETCH(bool, overlap);
    QFETCH(double, mark);
    QFETCH(double, target);
    QFETCH(bool, stopsAtOther);
    Fixture fixture;
    fixture.widget->allowOverlapping(overlap);
    QSignalSpy dropped(fixture.widget, &ThresholdWindowWidget::emitValueChanged);

    const int to = fixture.pixelOf(target);
    fixture.drag(fixture.pixelOf(mark), to);
    QCOMPARE(dropped.count(), 1);
    const double other = mark == 25.0 ? 75.0 : 25.0;
    QCOMPARE(dropped.first().at(1).toDouble(), stopsAtOther ? other : fixture.valueAt(to));
}

void tst_ThresholdWindowWidget::managerReportsDropsWithTheComponent()
{
    Fixture fixture;
    ThresholdMultiManager manager(0);
    manager.setOutputs(2);
    manager.addWidget(fixture.widget);
    manager.addWidget(fixture.widget);
    QCOMPARE(manager.outputs(), 2);
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
