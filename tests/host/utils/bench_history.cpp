// A week of chart history per plot, or a month with --month: filling (the slowest poll), memory,
// redraw, history text, CSV export and the memory given back by clearing and opening.
#include <utils/csvexport.h>
#include <utils/genericchart.h>
#include <utils/historycursor.h>
#include <utils/valueovertime.h>

#include <qwt_plot.h>

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QtTest>

#include <charconv>
#include <cmath>
#include <vector>

using Utils::ValueOverTime;
using Utils::Charts::GenericChart;

namespace {

constexpr int WeekSamples = 9300000;  // at the 65 ms poll
constexpr int MonthSamples = 37000000; // with the line delay
constexpr double IntervalMs = 65.0;
constexpr double StartMs = 1764856987000.0;
constexpr int Precision = 2;

void appendNumber(QByteArray &out, double value)
{
    char buffer[64];
    const auto result
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, Precision);
    out.append(buffer, int(result.ptr - buffer));
}

double residentMegabytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0.0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toDouble() * 4096.0 / 1e6 : 0.0;
}

double timeOf(int i)
{
    return StartMs + IntervalMs * i + i % 3;
}

// As the device reports: bar from a device number, tenths of a degree.
double pressureOf(int i)
{
    return int(5000 + 4500 * std::sin(i / 600.0)) / 1000.0;
}

double temperatureOf(int i)
{
    return int(250 + 150 * std::sin(i / 4600.0)) * 0.1;
}

// Values that are no short decimals: a sensor in psi, or analog outputs.
double otherValueOf(int i)
{
    return 5.0 + 4.0 * std::sin(i / 5000.0) + (i % 7) * 0.01;
}

} // namespace

class bench_History : public QObject
{
    Q_OBJECT

public:
    explicit bench_History(int samples)
        : m_samples(samples)
    {
    }

private slots:
    void initTestCase();
    void chartRedraw_data();
    void chartRedraw();
    void historyText_data();
    void historyText();
    void csvExportAgainstBaseline_data();
    void csvExportAgainstBaseline();
    void clearingAndOpeningGiveMemoryBack();

private:
    QByteArray baselineText() const;
    QByteArray exportText() const;

    const int m_samples;
    double m_startMegabytes = 0.0;
    ValueOverTime m_pressure;
    ValueOverTime m_temperature;
    QMainWindow m_window;
    GenericChart *m_chart = nullptr; // owned by m_window
};

// Fills two plots as the poll does and reports the slowest poll of all.
void bench_History::initTestCase()
{
    m_startMegabytes = residentMegabytes();
    QElapsedTimer clock;
    qint64 slowest = 0;
    int slowestAt = 0;
    clock.start();
    for (int i = 0; i < m_samples; ++i) {
        const qint64 before = clock.nsecsElapsed();
        m_pressure.append(timeOf(i), pressureOf(i), 4.0 + pressureOf(i) * 1.6);
        m_temperature.append(timeOf(i), temperatureOf(i), 0.0);
        const qint64 took = clock.nsecsElapsed() - before;
        if (took > slowest) {
            slowest = took;
            slowestAt = i;
        }
    }
    const double total = double(clock.nsecsElapsed());
    qInfo("fill %d samples per plot: %.0f ns per poll on average, slowest poll %.3f ms at sample %d",
          m_samples, total / m_samples, slowest / 1e6, slowestAt);
    qInfo("memory: pressure %.2f B, temperature %.2f B per sample; RSS %.0f MB -> %.0f MB",
          double(m_pressure.memoryBytes()) / m_samples,
          double(m_temperature.memoryBytes()) / m_samples, m_startMegabytes, residentMegabytes());

    m_chart = new GenericChart(2, nullptr, &m_window);
    ValueOverTime other;
    for (int i = 0; i < m_samples; ++i)
        other.append(timeOf(i), otherValueOf(i), otherValueOf(i) * 0.5);
    qInfo("memory, values that are no short decimals: %.2f B per sample",
          double(other.memoryBytes()) / m_samples);
    m_chart->setData(0, m_pressure);
    m_chart->setData(1, std::move(other));
    m_window.setCentralWidget(new QWidget);
    m_window.resize(1200, 700);
    m_window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_window));
}

void bench_History::chartRedraw_data()
{
    QTest::addColumn<double>("seconds");
    QTest::newRow("newest minute in view") << 60.0;
    QTest::newRow("whole history in view") << m_samples * IntervalMs / 1000.0;
}

void bench_History::chartRedraw()
{
    QFETCH(double, seconds);
    m_chart->setTimelineScale(0.0, seconds);
    m_chart->jumpToPlottingArea();
    QwtPlot *plot = m_chart->poPlot(0);
    qInfo("canvas %d pixels wide", plot->canvas()->contentsRect().width());
    QImage image(plot->size(), QImage::Format_ARGB32_Premultiplied);
    QBENCHMARK
    {
        m_chart->updateChart(true);
        plot->render(&image);
    }
}

void bench_History::historyText_data()
{
    QTest::addColumn<int>("plot");
    QTest::newRow("sensor values") << 0;
    QTest::newRow("values that are no short decimals") << 1;
}

void bench_History::historyText()
{
    QFETCH(int, plot);
    QElapsedTimer clock;
    clock.start();
    const std::string text = m_chart->dataToString(plot);
    const qint64 saved = clock.restart();
    QVERIFY(m_chart->setDataFromString(plot, text, ';'));
    const qint64 opened = clock.elapsed();
    qInfo("history text: %.2f B per sample, save %lld ms, open %lld ms",
          double(text.size()) / m_samples, saved, opened);
}

// The least an export must do: the same date text, made once per second, and the same numbers,
// from plain arrays.
QByteArray bench_History::baselineText() const
{
    std::vector<double> times(static_cast<size_t>(m_samples));
    std::vector<double> pressures(times.size());
    std::vector<double> temperatures(times.size());
    for (int i = 0; i < m_samples; ++i) {
        times[size_t(i)] = timeOf(i);
        pressures[size_t(i)] = pressureOf(i);
        temperatures[size_t(i)] = temperatureOf(i);
    }
    QElapsedTimer clock;
    clock.start();
    QByteArray text("Time;Signal;Temperature\n");
    text.reserve(m_samples * 40);
    qint64 second = -1;
    QByteArray secondText;
    for (int i = 0; i < m_samples; ++i) {
        const qint64 ms = qint64(times[size_t(i)]);
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
        appendNumber(text, pressures[size_t(i)]);
        text.append(';');
        appendNumber(text, temperatures[size_t(i)]);
        text.append('\n');
    }
    qInfo("to_chars baseline: %lld ms without filling its arrays", clock.elapsed());
    return text;
}

QByteArray bench_History::exportText() const
{
    const QList<QString> names{QStringLiteral("Time"), QStringLiteral("Signal"),
                               QStringLiteral("Temperature")};
    QElapsedTimer clock;
    clock.start();
    int progressCalls = 0;
    const QByteArray text
        = Utils::csvText({&m_pressure, &m_temperature}, names, QStringLiteral(";"), Precision, -1,
                         [&progressCalls](int, int) { return ++progressCalls > 0; });
    qInfo("csv export: %lld ms, %d progress calls", clock.elapsed(), progressCalls);
    return text;
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
    const QByteArray text = baseline ? baselineText() : exportText();
    QVERIFY(!text.isEmpty());
}

void bench_History::clearingAndOpeningGiveMemoryBack()
{
    const std::string text = m_chart->dataToString(0);
    qInfo("RSS with both plots and the history text: %.0f MB", residentMegabytes());
    m_chart->clear();
    m_pressure.clear();
    m_temperature.clear();
    qInfo("RSS after clearing: %.0f MB (at start %.0f MB)", residentMegabytes(), m_startMegabytes);
    QVERIFY(m_chart->setDataFromString(0, text, ';'));
    QVERIFY(m_chart->setDataFromString(1, text, ';'));
    qInfo("RSS after opening the history into both plots: %.0f MB", residentMegabytes());
    m_chart->clear();
    qInfo("RSS after clearing again: %.0f MB", residentMegabytes());
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QStringList arguments = app.arguments();
    const bool month = arguments.removeAll(QStringLiteral("--month")) > 0;
    bench_History bench(month ? MonthSamples : WeekSamples);
    return QTest::qExec(&bench, arguments);
}

#include "bench_history.moc"
