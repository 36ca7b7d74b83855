#include <utils/genericchart.h>
#include <utils/valueovertime.h>

#include <qwt_plot.h>

#include <QMainWindow>
#include <QtTest>

#include <cmath>

using Utils::ValueOverTime;
using Utils::Charts::GenericChart;

// About a day of samples at the 65 ms poll interval.
constexpr int Samples = 1300000;
constexpr double IntervalMs = 65.0;

class bench_GenericChart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void append();
    void redraw_data();
    void redraw();
    void dataToString();
    void setDataFromString();

private:
    QMainWindow m_window;
    GenericChart *m_chart = nullptr; // owned by m_window
};

void bench_GenericChart::initTestCase()
{
    m_chart = new GenericChart(1, nullptr, &m_window);
    m_window.setCentralWidget(m_chart);
    m_window.resize(1200, 500);
    m_window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_window));
    ValueOverTime history;
    history.reserve(Samples);
    for (int i = 0; i < Samples; ++i)
        history.append(1.7e12 + IntervalMs * i, 5.0 + 4.0 * std::sin(i / 5000.0) + (i % 7) * 0.01,
                       12.0);
    m_chart->setData(0, std::move(history));
}

// The result divided by Samples is the cost of one append.
void bench_GenericChart::append()
{
    QMainWindow window;
    GenericChart chart(1, nullptr, &window);
    QBENCHMARK_ONCE
    {
        for (int i = 0; i < Samples; ++i)
            chart.vAppendData(0, i * 0.001, true, 4.0, false, -1.0, -1.0);
    }
}

void bench_GenericChart::redraw_data()
{
    QTest::addColumn<double>("seconds");
    QTest::newRow("newest minute in view") << 60.0;
    QTest::newRow("whole day in view") << Samples * IntervalMs / 1000.0;
}

void bench_GenericChart::redraw()
{
    QFETCH(double, seconds);
    m_chart->setTimelineScale(0.0, seconds);
    m_chart->jumpToPlottingArea();
    QwtPlot *plot = m_chart->poPlot(0);
    QImage image(plot->size(), QImage::Format_ARGB32_Premultiplied);
    QBENCHMARK
    {
        m_chart->updateChart(true);
        plot->render(&image);
    }
}

void bench_GenericChart::dataToString()
{
    QBENCHMARK
    {
        m_chart->dataToString(0);
    }
}

void bench_GenericChart::setDataFromString()
{
    const std::string text = m_chart->dataToString(0);
    QBENCHMARK
    {
        QVERIFY(m_chart->setDataFromString(0, text, ';'));
    }
}

QTEST_MAIN(bench_GenericChart)
#include "bench_genericchart.moc"
