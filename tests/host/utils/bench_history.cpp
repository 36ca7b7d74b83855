#include <utils/csvexport.h>
#include <utils/genericchart.h>
#include <utils/valueovertime.h>

#include <qwt_plot.h>

#include <QDateTime>
#include <QMainWindow>
#include <QtTest>

#include <charconv>
#include <cmath>

using Utils::ValueOverTime;
using Utils::Charts::GenericChart;

// A day of samples at the 65 ms poll interval.
constexpr int Samples = 1300000;
constexpr double IntervalMs = 65.0;
constexpr int Precision = 2;

namespace {

void appendNumber(QByteArray &out, double value)
{
    char buffer[64];
    const auto result
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, Precision);
    out.append(buffer, int(result.ptr - buffer));
}

} // namespace

class bench_History : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void chartAppend();
    void chartRedraw_data();
    void chartRedraw();
    void dataToString();
    void setDataFromString();
    void csvExportAgainstBaseline_data();
    void csvExportAgainstBaseline();

private:
    QByteArray baselineText() const;
    QByteArray exportText() const;

    ValueOverTime m_pressure;
    ValueOverTime m_temperature;
    QMainWindow m_window;
    GenericChart *m_chart = nullptr; // owned by m_window
};

// Exported plots are valued as the device reports (bar from a device number, tenths of a
// degree); the chart's are not exact decimals, the history text's slow path.
void bench_History::initTestCase()
{
    ValueOverTime history;
    for (ValueOverTime *series : {&m_pressure, &m_temperature, &history})
        series->reserve(Samples);
    for (int i = 0; i < Samples; ++i) {
        const double time = 1764856987000.0 + IntervalMs * i + i % 3;
        m_pressure.append(time, int(5000 + 4500 * std::sin(i / 600.0)) / 1000.0, 0.0);
        m_temperature.append(time, int(250 + 150 * std::sin(i / 4600.0)) * 0.1, 0.0);
        history.append(1.7e12 + IntervalMs * i, 5.0 + 4.0 * std::sin(i / 5000.0) + (i % 7) * 0.01,
                       12.0);
    }
    QVERIFY(exportText() == baselineText());

    m_chart = new GenericChart(1, nullptr, &m_window);
    m_chart->setData(0, std::move(history));
    m_window.setCentralWidget(m_chart);
    m_window.resize(1200, 500);
    m_window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_window));
}

// The result divided by Samples is the cost of one append.
void bench_History::chartAppend()
{
    QMainWindow window;
    GenericChart chart(1, nullptr, &window);
    QBENCHMARK_ONCE
    {
        for (int i = 0; i < Samples; ++i)
            chart.vAppendData(0, i * 0.001, true, 4.0, false, -1.0, -1.0);
    }
}

void bench_History::chartRedraw_data()
{
    QTest::addColumn<double>("seconds");
    QTest::newRow("newest minute in view") << 60.0;
    QTest::newRow("whole day in view") << Samples * IntervalMs / 1000.0;
}

void bench_History::chartRedraw()
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

void bench_History::dataToString()
{
    QBENCHMARK
    {
        m_chart->dataToString(0);
    }
}

void bench_History::setDataFromString()
{
    const std::string text = m_chart->dataToString(0);
    QBENCHMARK
    {
        QVERIFY(m_chart->setDataFromString(0, text, ';'));
    }
}

// The least an export must do: the same date text, made once per second, and the same numbers.
QByteArray bench_History::baselineText() const
{
    QByteArray text("Time;Signal;Temperature\n");
    text.reserve(Samples * 40);
    qint64 second = -1;
    QByteArray secondText;
    for (int i = 0; i < Samples; ++i) {
        const qint64 ms = qint64(m_pressure.pxData()[i]);
        if (ms / 1000 != second) {
            second = ms / 1000;
            secondText = QDateTime::fromMSecsSinceEpoch(second * 1000)
                             .toString(QStringLiteral("dd-MM-yyyy hh:mm:ss."))
                             .toLatin1();
        }
        const int millis = int(ms % 1000);
        const char millisText[] = {char('0' + millis / 100), char('0' + millis / 10 % 10),
                                   char('0' + millis % 10), ';'};
        text.append(secondText).append(millisText, 4);
        appendNumber(text, m_pressure.pyData()[i]);
        text.append(';');
        appendNumber(text, m_temperature.pyData()[i]);
        text.append('\n');
    }
    return text;
}

QByteArray bench_History::exportText() const
{
    const QList<QString> names{QStringLiteral("Time"), QStringLiteral("Signal"),
                               QStringLiteral("Temperature")};
    return Utils::csvText({&m_pressure, &m_temperature}, names, QStringLiteral(";"), Precision);
}

void bench_History::csvExportAgainstBaseline_data()
{
    QTest::addColumn<bool>("baseline");
    QTest::newRow("to_chars baseline") << true;
    QTest::newRow("csv export") << false;
}

void bench_History::csvExportAgainstBaseline()
{
    QFETCH(bool, baseline);
    QBENCHMARK
    {
        const QByteArray text = baseline ? baselineText() : exportText();
        QVERIFY(!text.isEmpty());
    }
}

QTEST_MAIN(bench_History)
#include "bench_history.moc"
