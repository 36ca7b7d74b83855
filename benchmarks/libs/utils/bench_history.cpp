// A week of chart history per plot, or a month with --month: filling (the slowest poll), memory,
// redraw, history text, CSV export and the memory given back by clearing and opening. With
// --fill-only just the filling and memory.
#include <utils/csvexport.h>
#include <utils/genericchart.h>
#include <utils/historycursor.h>
#include <utils/sampleseries.h>
#include <utils/valueovertime.h>

#include <qwt_plot.h>

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QtTest>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>

#include <sys/resource.h>
#include <unistd.h>
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

// Wall and CPU time of this thread: on a shared machine the wall time also holds the waits for
// a core, which the CPU time leaves out.
class Stopwatch
{
public:
    Stopwatch() { restart(); }
    void restart()
    {
        m_wall.start();
        m_cpuNs = cpuNs();
    }
    double wallMs() const { return double(m_wall.nsecsElapsed()) / 1e6; }
    double cpuMs() const { return double(cpuNs() - m_cpuNs) / 1e6; }
    static double cpuNowMs() { return double(cpuNs()) / 1e6; }

private:
    static qint64 cpuNs()
    {
        timespec now;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
    }

    QElapsedTimer m_wall;
    qint64 m_cpuNs = 0;
};

double median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + long(values.size() / 2), values.end());
    return values[values.size() / 2];
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
    bench_History(int samples, bool fillOnly)
        : m_samples(samples)
        , m_fillOnly(fillOnly)
    {
    }

private slots:
    void initTestCase();
    void init();
    void chartRedraw_data();
    void chartRedraw();
    void followingCurve_data();
    void followingCurve();
    void historyText_data();
    void historyText();
    void csvExportAgainstBaseline_data();
    void csvExportAgainstBaseline();
    void clearingAndOpeningGiveMemoryBack();

private:
    QByteArray baselineText() const;
    QByteArray exportText(bool cancelAtHalf) const;

    const int m_samples;
    const bool m_fillOnly;
    double m_startMegabytes = 0.0;
    ValueOverTime m_pressure;
    ValueOverTime m_temperature;
    QMainWindow m_window;
    GenericChart *m_chart = nullptr; // owned by m_window
};

// What a poll cost besides its time: what the kernel did for this thread and how the heap's
// top moved, to tell page faults and the allocator's trimming from our own work.
struct KernelCost
{
    long minorFaults = 0;
    long majorFaults = 0;
    long voluntarySwitches = 0;
    long involuntarySwitches = 0;

    // Costs a system call of a few microseconds: taken around block closes and after slow polls
    // only, not around every poll.
    static KernelCost now()
    {
        rusage usage{};
        getrusage(RUSAGE_THREAD, &usage);
        return {usage.ru_minflt, usage.ru_majflt, usage.ru_nvcsw, usage.ru_nivcsw};
    }
    KernelCost operator-(const KernelCost &before) const
    {
        return {minorFaults - before.minorFaults, majorFaults - before.majorFaults,
                voluntarySwitches - before.voluntarySwitches,
                involuntarySwitches - before.involuntarySwitches};
    }
};

std::intptr_t heapTop()
{
    return reinterpret_cast<std::intptr_t>(sbrk(0));
}

// What filling two plots as the poll does cost.
struct FillCost
{
    struct Poll
    {
        int sample;
        double cpuMs;
        double wallMs;
        bool closesBlock = false;
        int carries = 0;          // pyramid levels the closed block's extremes were joined into
        std::intptr_t heapGrowth = 0; // bytes the heap's top moved during the poll
        KernelCost kernel;        // during the poll if it closes a block, else since the last close
    };
    std::vector<Poll> slow; // the polls over slowPollMs of CPU or wall time, by sample
    std::vector<double>
        closing; // CPU time of the polls that close a block, the only ones with work
    std::vector<double> faultingClosing; // of those, the ones with a page fault
    double cpuMs = 0.0;
    double slowestEmptyMs = 0.0; // CPU time of an empty interval timed right after each poll
    int emptyOverMillisecond = 0;
    KernelCost kernel;           // of the whole fill
    KernelCost closingKernel;    // of the polls that close a block
};

constexpr double slowPollMs = 0.1;
constexpr double reportedPollMs = 0.3;

FillCost fill(ValueOverTime &pressure, ValueOverTime &temperature, int samples)
{
    FillCost cost;
    cost.closing.reserve(size_t(samples / ValueOverTime::blockSize + 1));
    const Stopwatch clock;
    const KernelCost atStart = KernelCost::now();
    KernelCost sinceClose = atStart;
    for (int i = 0; i < samples; ++i) {
        const bool closes = i % ValueOverTime::blockSize == 0 && i > 0;
        const KernelCost before = closes ? KernelCost::now() : sinceClose;
        const std::intptr_t topBefore = heapTop();
        const Stopwatch poll;
        pressure.append(timeOf(i), pressureOf(i), 4.0 + pressureOf(i) * 1.6);
        temperature.append(timeOf(i), temperatureOf(i), 0.0);
        const double cpu = poll.cpuMs();
        const double wall = poll.wallMs();
        const double after = Stopwatch::cpuNowMs();
        const double empty = Stopwatch::cpuNowMs() - after;
        const std::intptr_t topAfter = heapTop();
        cost.slowestEmptyMs = std::max(cost.slowestEmptyMs, empty);
        cost.emptyOverMillisecond += empty > 1.0;
        if (closes || cpu > reportedPollMs) {
            sinceClose = KernelCost::now();
            if (closes) {
                const KernelCost during = sinceClose - before;
                cost.closingKernel.minorFaults += during.minorFaults;
                cost.closingKernel.majorFaults += during.majorFaults;
                cost.closingKernel.voluntarySwitches += during.voluntarySwitches;
                cost.closingKernel.involuntarySwitches += during.involuntarySwitches;
            }
        }
        if (cpu > slowPollMs || wall > slowPollMs) {
            const int blocks = pressure.size() / ValueOverTime::blockSize;
            cost.slow.push_back({i, cpu, wall, closes,
                                 closes ? int(qCountTrailingZeroBits(quint32(blocks))) : 0,
                                 topAfter - topBefore, sinceClose - before});
        }
        if (closes) {
            cost.closing.push_back(cpu);
            if ((sinceClose - before).minorFaults + (sinceClose - before).majorFaults > 0)
                cost.faultingClosing.push_back(cpu);
        }
    }
    cost.cpuMs = clock.cpuMs();
    cost.kernel = KernelCost::now() - atStart;
    return cost;
}

// The slowest poll by the lesser of two runs at each sample, by `figure`. What a poll does
// depends only on the samples before it, so its own work comes back at the same sample in the
// second run; the machine's interruptions (other processes, the hypervisor, the kernel's
// housekeeping, all of which a thread's CPU clock may be charged with) fall elsewhere.
std::pair<double, int> slowestInBoth(const FillCost &first, const FillCost &second,
                                     double FillCost::Poll::*figure)
{
    std::pair<double, int> slowest{0.0, -1};
    auto other = second.slow.cbegin();
    for (const FillCost::Poll &poll : first.slow) {
        other = std::lower_bound(
            other, second.slow.cend(), poll.sample,
            [](const FillCost::Poll &p, int sample) { return p.sample < sample; });
        // Missing the second time: under slowPollMs then.
        if (other != second.slow.cend() && other->sample == poll.sample)
            slowest = std::max(slowest, {std::min(poll.*figure, (*other).*figure), poll.sample});
    }
    return slowest;
}

void describePoll(const FillCost::Poll &poll)
{
    qInfo("  sample %d: %.3f ms CPU, %.3f ms wall; %s, pyramid carries %d, heap top %+ld B; "
          "%s: %ld minor, %ld major faults, %ld voluntary, %ld involuntary switches",
          poll.sample, poll.cpuMs, poll.wallMs, poll.closesBlock ? "closes a block" : "appends",
          poll.carries, long(poll.heapGrowth),
          poll.closesBlock ? "during it" : "since the last block close", poll.kernel.minorFaults,
          poll.kernel.majorFaults, poll.kernel.voluntarySwitches,
          poll.kernel.involuntarySwitches);
}

// The slowest polls over reportedPollMs of CPU, with what ran in them.
void reportSlowPolls(const FillCost &run)
{
    std::vector<FillCost::Poll> polls;
    std::copy_if(run.slow.cbegin(), run.slow.cend(), std::back_inserter(polls),
                 [](const FillCost::Poll &poll) { return poll.cpuMs > reportedPollMs; });
    std::sort(polls.begin(), polls.end(),
              [](const auto &a, const auto &b) { return a.cpuMs > b.cpuMs; });
    constexpr size_t shown = 12;
    qInfo("%d polls over %.1f ms CPU%s", int(polls.size()), reportedPollMs,
          polls.size() > shown ? ", the slowest 12:" : ":");
    polls.resize(std::min(polls.size(), shown));
    std::for_each(polls.cbegin(), polls.cend(), describePoll);
}

// Fills two plots twice and reports the slowest poll of each run, then the slowest by the
// lesser of both runs at each sample, in CPU and wall time.
void bench_History::initTestCase()
{
    m_startMegabytes = residentMegabytes();
    const FillCost first = fill(m_pressure, m_temperature, m_samples);
    const FillCost second = [this] {
        ValueOverTime pressure;
        ValueOverTime temperature;
        FillCost cost = fill(pressure, temperature, m_samples);
        pressure.clear();
        temperature.clear();
        return cost;
    }();
    for (const FillCost *run : {&first, &second}) {
        qInfo("%s:", run == &first ? "first fill, into fresh memory as a user gets it"
                                   : "second fill, the first one still held");
        const auto slowestBy = [run](double FillCost::Poll::*figure) {
            const auto it = std::max_element(
                run->slow.cbegin(), run->slow.cend(),
                [figure](const auto &a, const auto &b) { return a.*figure < b.*figure; });
            return it == run->slow.cend() ? FillCost::Poll{-1, 0.0, 0.0, false, 0, 0, {}} : *it;
        };
        const auto overMillisecond = [run](double FillCost::Poll::*figure) {
            return std::count_if(run->slow.cbegin(), run->slow.cend(),
                                 [figure](const auto &poll) { return poll.*figure > 1.0; });
        };
        const auto sorted = [](std::vector<double> values) {
            std::sort(values.begin(), values.end());
            return values;
        };
        const std::vector<double> closing = sorted(run->closing);
        const std::vector<double> faulting = sorted(run->faultingClosing);
        const auto at = [](const std::vector<double> &values, double share) {
            return values.empty() ? 0.0 : values[size_t(share * double(values.size() - 1))];
        };
        const auto closingAt = [&](double share) { return at(closing, share); };
        qInfo("fill %d samples per plot: %.0f ns CPU per poll on average (with the clocks); "
              "slowest poll %.3f ms CPU at sample %d, %.3f ms wall at sample %d; over 1 ms: %d "
              "polls CPU, %d wall; empty intervals: slowest %.3f ms CPU, %d over 1 ms",
              m_samples, run->cpuMs * 1e6 / m_samples, slowestBy(&FillCost::Poll::cpuMs).cpuMs,
              slowestBy(&FillCost::Poll::cpuMs).sample, slowestBy(&FillCost::Poll::wallMs).wallMs,
              slowestBy(&FillCost::Poll::wallMs).sample,
              int(overMillisecond(&FillCost::Poll::cpuMs)),
              int(overMillisecond(&FillCost::Poll::wallMs)), run->slowestEmptyMs,
              run->emptyOverMillisecond);
        qInfo("polls closing blocks: median %.3f ms, 99.9 %% %.3f ms, slowest %.3f ms CPU",
              closingAt(0.5), closingAt(0.999), closingAt(1.0));
        qInfo("kernel, whole fill: %ld minor, %ld major faults, %ld voluntary, %ld involuntary "
              "switches; of these in polls closing blocks: %ld minor, %ld major, %ld, %ld",
              run->kernel.minorFaults, run->kernel.majorFaults, run->kernel.voluntarySwitches,
              run->kernel.involuntarySwitches, run->closingKernel.minorFaults,
              run->closingKernel.majorFaults, run->closingKernel.voluntarySwitches,
              run->closingKernel.involuntarySwitches);
        qInfo("%d polls closing blocks had a page fault: median %.3f ms, 99.9 %% %.3f ms, "
              "slowest %.3f ms CPU",
              int(faulting.size()), at(faulting, 0.5), at(faulting, 0.999), at(faulting, 1.0));
        reportSlowPolls(*run);
    }
    const auto cpu = slowestInBoth(first, second, &FillCost::Poll::cpuMs);
    const auto wall = slowestInBoth(first, second, &FillCost::Poll::wallMs);
    qInfo("slowest poll by the lesser of both runs at each sample: %.3f ms CPU at sample %d, "
          "%.3f ms wall at sample %d (-1: none over %.1f ms in both)",
          cpu.first, cpu.second, wall.first, wall.second, slowPollMs);
    for (const FillCost *run : {&first, &second}) {
        const auto poll = std::lower_bound(
            run->slow.cbegin(), run->slow.cend(), cpu.second,
            [](const FillCost::Poll &p, int sample) { return p.sample < sample; });
        if (poll != run->slow.cend() && poll->sample == cpu.second)
            describePoll(*poll);
    }
    qInfo("memory: pressure %.2f B, temperature %.2f B per sample; RSS %.0f MB -> %.0f MB",
          double(m_pressure.memoryBytes()) / m_samples,
          double(m_temperature.memoryBytes()) / m_samples, m_startMegabytes, residentMegabytes());

    if (m_fillOnly)
        return;
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

void bench_History::init()
{
    if (m_fillOnly)
        QSKIP("--fill-only");
}

void bench_History::chartRedraw_data()
{
    QTest::addColumn<double>("seconds");
    QTest::newRow("newest minute in view") << 60.0;
    QTest::newRow("whole history in view") << m_samples * IntervalMs / 1000.0;
}

// One plot, as the window shows it, its canvas about 1000 pixels wide.
void bench_History::chartRedraw()
{
    QFETCH(double, seconds);
    QMainWindow window;
    GenericChart chart(1, nullptr, &window);
    chart.setData(0, m_pressure);
    window.setCentralWidget(new QWidget);
    window.resize(1660, 500);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    chart.jumpToPlottingArea();
    QwtPlot *plot = chart.poPlot(0);
    QImage image(plot->size(), QImage::Format_ARGB32_Premultiplied);
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int run = 0; run < 21; ++run) {
        // A view a millisecond wider each time, so that nothing drawn before is reused.
        chart.setTimelineScale(0.0, seconds + run / 1000.0);
        const Stopwatch clock;
        chart.updateChart(true);
        plot->render(&image);
        wall.push_back(clock.wallMs());
        cpu.push_back(clock.cpuMs());
    }
    qInfo("redraw and render of a %d-pixel plot: median %.2f ms wall, %.2f ms CPU",
          plot->canvas()->contentsRect().width(), median(wall), median(cpu));
}

void bench_History::followingCurve_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<double>("viewMs");
    QTest::addColumn<int>("before"); // samples in the history before the first replot
    const int minute = int(60000.0 / IntervalMs);
    QTest::newRow("eight tiled windows, newest minute") << 200 << 60000.0 << minute;
    QTest::newRow("one window, newest minute") << 1000 << 60000.0 << minute;
    QTest::newRow("one window, whole history") << 1000 << 200000 * IntervalMs << 200000;
}

// The curve of a view that follows the newest samples, replotted five times a second as they
// arrive; measure with callgrind around SampleSeries::setRectOfInterest.
void bench_History::followingCurve()
{
    QFETCH(int, columns);
    QFETCH(double, viewMs);
    QFETCH(int, before);
    constexpr int replots = 1000;
    constexpr double replotMs = 200.0;
    ValueOverTime history;
    Utils::Charts::SampleSeries series(&history);
    series.setColumns(columns);
    int next = 0;
    const auto pollUntil = [&](double timeMs) {
        for (; timeOf(next) <= timeMs; ++next)
            history.append(timeOf(next), pressureOf(next), 0.0);
    };
    pollUntil(timeOf(before - 1));
    size_t points = 0;
    const Stopwatch clock;
    for (int replot = 0; replot < replots; ++replot) {
        pollUntil(timeOf(before - 1) + replotMs * replot);
        const double newest = history.sample(history.size() - 1).time;
        series.setRectOfInterest(QRectF(QPointF(newest - viewMs, 0.0), QPointF(newest, 10.0)));
        points += series.size();
    }
    qInfo("following curve, %d columns: %.1f points and %.1f us CPU per replot", columns,
          double(points) / replots, clock.cpuMs() * 1000.0 / replots);
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
    Stopwatch clock;
    const std::string text = m_chart->dataToString(plot);
    const double savedWall = clock.wallMs();
    const double savedCpu = clock.cpuMs();
    clock.restart();
    QVERIFY(m_chart->setDataFromString(plot, text, ';'));
    qInfo("history text: %.2f B per sample; save %.0f ms wall, %.0f ms CPU; open %.0f ms wall, "
          "%.0f ms CPU",
          double(text.size()) / m_samples, savedWall, savedCpu, clock.wallMs(), clock.cpuMs());
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
    const Stopwatch clock;
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
    qInfo("to_chars baseline: %.0f ms wall, %.0f ms CPU, without filling its arrays",
          clock.wallMs(), clock.cpuMs());
    return text;
}

// With `cancelAtHalf` the progress says stop half way, as Cancel in the progress dialog does.
QByteArray bench_History::exportText(bool cancelAtHalf) const
{
    const QList<QString> names{QStringLiteral("Time"), QStringLiteral("Signal"),
                               QStringLiteral("Temperature")};
    const Stopwatch clock;
    int progressCalls = 0;
    double lastCallMs = 0.0;
    double longestGapMs = 0.0; // how long the progress dialog may wait for a repaint
    double cancelledAtMs = 0.0;
    const QByteArray text = Utils::csvText(
        {&m_pressure, &m_temperature}, names, QStringLiteral(";"), Precision, -1,
        [&](int done, int total) {
            ++progressCalls;
            const double now = clock.cpuMs();
            longestGapMs = std::max(longestGapMs, now - lastCallMs);
            lastCallMs = now;
            if (cancelAtHalf && done >= total / 2) {
                cancelledAtMs = now;
                return false;
            }
            return true;
        });
    if (cancelAtHalf) {
        qInfo("csv export cancelled half way: %.0f ms CPU to get there, %.3f ms from the cancel to "
              "the end, %d progress calls, longest %.1f ms CPU between two; %d bytes returned",
              cancelledAtMs, clock.cpuMs() - cancelledAtMs, progressCalls, longestGapMs,
              int(text.size()));
    } else {
        qInfo("csv export: %.0f ms wall, %.0f ms CPU, %d progress calls, longest %.1f ms CPU "
              "between two",
              clock.wallMs(), clock.cpuMs(), progressCalls, longestGapMs);
    }
    return text;
}

void bench_History::csvExportAgainstBaseline_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("to_chars baseline") << 0;
    QTest::newRow("csv export") << 1;
    QTest::newRow("csv export, cancelled half way") << 2;
}

void bench_History::csvExportAgainstBaseline()
{
    QFETCH(int, kind);
    const QByteArray text = kind == 0 ? baselineText() : exportText(kind == 2);
    QCOMPARE(text.isEmpty(), kind == 2);
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
    const bool fillOnly = arguments.removeAll(QStringLiteral("--fill-only")) > 0;
    int samples = month ? MonthSamples : WeekSamples;
    // A smaller history while looking at one figure: --samples N.
    const int samplesAt = arguments.indexOf(QStringLiteral("--samples"));
    if (samplesAt > 0 && samplesAt + 1 < arguments.size()) {
        samples = arguments.at(samplesAt + 1).toInt();
        arguments.erase(arguments.begin() + samplesAt, arguments.begin() + samplesAt + 2);
    }
    bench_History bench(samples, fillOnly);
    return QTest::qExec(&bench, arguments);
}

#include "bench_history.moc"
