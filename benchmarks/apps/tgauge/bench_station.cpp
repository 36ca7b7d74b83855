#include <app/batchanswerer.h>
#include <app/languageswitcher.h>
#include <app/mainwindow.h>
#include <app/pluginloader.h>
#include <app/portlist.h>
#include <app/startuprun.h>
#include <app/tiler.h>

#include <extensionsystem/frametrace.h>
#include <utils/fiberrunner.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

#include <signal.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

namespace {

// Seconds each station polls once all its sensors are connected; BENCH_STATION_SECONDS overrides.
int steadySeconds()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("BENCH_STATION_SECONDS", &ok);
    return ok && seconds > 0 ? seconds : 60;
}

// In a virtual machine a wake-up costs about as much kernel time as the work it wakes for, so
// the station's CPU is told apart by user and kernel time, with the wake-ups behind the latter.
struct CpuUse
{
    double userMs = 0.0;
    double systemMs = 0.0;
    long wakeUps = 0; // voluntary context switches: the process slept and was woken

    static CpuUse now()
    {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const auto ms = [](const timeval &time) {
            return double(time.tv_sec) * 1e3 + double(time.tv_usec) / 1e3;
        };
        return {ms(usage.ru_utime), ms(usage.ru_stime), usage.ru_nvcsw};
    }
    CpuUse operator-(const CpuUse &before) const
    {
        return {userMs - before.userMs, systemMs - before.systemMs, wakeUps - before.wakeUps};
    }
};

// A simulated master on a pseudo-terminal behind `link`, started apart from the bench: a child
// with pipes would add three descriptors a master to every wake-up of the event loop, and that
// cost would count as the station's, which no master on a real port causes.
class DetachedMaster
{
public:
    DetachedMaster() = default;
    DetachedMaster(const DetachedMaster &) = delete;
    DetachedMaster &operator=(const DetachedMaster &) = delete;
    ~DetachedMaster()
    {
        if (m_pid <= 0)
            return;
        ::kill(pid_t(m_pid), SIGTERM);
        // The master removes its link as it exits.
        waitForLink(false);
    }

    // True once the master's link names its port.
    bool start(const QStringList &arguments, const QString &link)
    {
        m_link = link;
        QProcess process;
        process.setProgram(QStringLiteral(KR7D_APP_DIR "/iolink-master-sim"));
        process.setArguments(arguments + QStringList{QStringLiteral("--link"), link});
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        return process.startDetached(&m_pid) && waitForLink(true);
    }

private:
    // Up to five seconds; the master is another process, with no signal to wait on.
    bool waitForLink(bool exists) const
    {
        QElapsedTimer waited;
        waited.start();
        while (QFileInfo::exists(m_link) != exists && waited.elapsed() < 5000)
            QThread::msleep(10);
        return QFileInfo::exists(m_link) == exists;
    }

    qint64 m_pid = 0;
    QString m_link;
};

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t rank = size_t(std::ceil(fraction * double(values.size())));
    return values[std::min(values.size() - 1, rank > 0 ? rank - 1 : 0)];
}

// What one port's trace shows: a poll sent, a result fetch answered, any other request sent.
struct PortEvent
{
    enum Kind { Poll, FetchAnswer, OtherRequest };
    Kind kind;
    double atMs;
};

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The longest time the GUI thread left a 5 ms timer waiting beyond its interval, and the longest
// part of such a wait the thread itself spent working. On a loaded machine the first also holds
// the time the thread waited for a core; the second is what the station's own code costs.
class StallProbe
{
public:
    StallProbe()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(intervalMs);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const double now = double(m_clock.nsecsElapsed()) / 1e6;
            const double cpu = threadCpuMs();
            const double late = now - m_lastMs - intervalMs;
            m_longestMs = std::max(m_longestMs, late);
            m_longestWorkingMs = std::max(m_longestWorkingMs, std::min(late, cpu - m_lastCpuMs));
            m_lastMs = now;
            m_lastCpuMs = cpu;
        });
    }
    void restart()
    {
        m_clock.start();
        m_lastMs = 0.0;
        m_lastCpuMs = threadCpuMs();
        m_longestMs = 0.0;
        m_longestWorkingMs = 0.0;
        m_timer.start();
    }
    void stop() { m_timer.stop(); }
    // "<wall> ms (<working> ms working)"
    QByteArray longest() const
    {
        return QByteArray::number(m_longestMs, 'f', 1) + " ms ("
               + QByteArray::number(m_longestWorkingMs, 'f', 1) + " ms working)";
    }

private:
    static constexpr int intervalMs = 5;
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_lastMs = 0.0;
    double m_lastCpuMs = 0.0;
    double m_longestMs = 0.0;
    double m_longestWorkingMs = 0.0;
};

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until done() or the time-out. Unlike QTRY_VERIFY, it never sleeps between
// event passes, so the probe sees the station's stalls and not the wait's own.
bool runUntil(const std::function<bool()> &done, int timeoutMs)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    check.start(20);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

// The sensor windows of the station, in the order they were opened.
QList<QMainWindow *> sensorWindows(const QMdiArea &area)
{
    QList<QMainWindow *> windows;
    for (QMdiSubWindow *sub : area.subWindowList(QMdiArea::CreationOrder)) {
        if (auto *window = qobject_cast<QMainWindow *>(sub->widget()))
            windows << window;
        else if (auto *inner = sub->widget()->findChild<QMainWindow *>())
            windows << inner;
    }
    return windows;
}

// Sizes the host, as a station's user does once, so that the area holds every sensor window at
// its smallest in the grid Qt tiles in: tiled in too small an area, the windows past the
// viewport would not be painted.
void giveRoomForTiles(QMainWindow &host, const QMdiArea &area, int windows)
{
    const QSize tile(860, 530); // a sensor window's smallest, with its frame and title
    const int columns = int(std::ceil(std::sqrt(double(windows))));
    const int rows = (windows + columns - 1) / columns;
    const QSize viewport = area.viewport()->size();
    const QSize needed = QSize(columns * tile.width(), rows * tile.height()).expandedTo(viewport);
    host.resize(host.size() + needed - viewport);
}

} // namespace

// A commissioning station: N sensor windows tiled in tgauge's main window, each connected to an
// iolink-master-sim of its own on a pseudo-terminal, all connected at once from the command
// line's options, then polling. Prints what the station costs; it never fails on a time.
class bench_Station : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void station_data();
    void station();

private:
    // A box a window shows (a sensor that stopped answering) is answered and printed, as in a
    // batch run, so that the station goes on and the box is seen.
    TGauge::BatchAnswerer m_answerer;
};

void bench_Station::initTestCase()
{
    qApp->installEventFilter(&m_answerer);
    connect(&m_answerer, &TGauge::BatchAnswerer::answered, this,
            [](const QString &line) { qInfo("%s", qUtf8Printable(line)); });
}

void bench_Station::station_data()
{
    QTest::addColumn<int>("windows");
    for (int windows : {1, 4, 8})
        QTest::addRow("%d windows", windows) << windows;
}

void bench_Station::station()
{
    QFETCH(int, windows);
    const QTemporaryDir dir;
    std::vector<std::unique_ptr<DetachedMaster>> masters;
    TGauge::CommandLine options;
    for (int i = 0; i < windows; ++i) {
        const QString link = dir.filePath(QStringLiteral("master%1").arg(i));
        masters.push_back(std::make_unique<DetachedMaster>());
        QVERIFY(masters.back()->start({QStringLiteral("--sensor"), QStringLiteral("KR7D-P250")},
                                      link));
        options.openSensors << QStringLiteral("KR7D-P250");
        options.connectPorts << link;
    }
    options.quitAfterMs = 0; // the run reports at once when every sensor is connected

    TGauge::PortList ports(options.namedPorts());
    TGauge::LanguageSwitcher languages{QStringList{}};
    TGauge::MainWindow window(
        TGauge::PluginLoader(QStringLiteral(KR7D_APP_DIR "/plugins")).loadAll(), ports, languages);
    window.resize(1600, 1000);
    window.show();
    giveRoomForTiles(window, *window.mdiArea(), windows);
    // The host's own first paint, at a size the bench chose, is no part of opening sensors.
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    runFor(100);

    QElapsedTimer clock;
    QHash<QString, std::vector<PortEvent>> events;
    StallProbe probe;
    const QMetaObject::Connection traced = connect(
        &ExtensionSystem::FrameTrace::instance(), &ExtensionSystem::FrameTrace::lineAdded, this,
        [&](const QString &line) {
            // "<ms> <port> <dir> <byte> <byte> ...[ <round trip> ms]"
            const QStringList parts = line.split(QLatin1Char(' '));
            if (parts.size() < 6)
                return;
            const QString &direction = parts.at(2);
            PortEvent::Kind kind = PortEvent::OtherRequest;
            if (direction == QLatin1String(">"))
                kind = parts.mid(3) == QStringList{"02", "70", "22"} ? PortEvent::Poll
                                                                     : PortEvent::OtherRequest;
            else if (direction == QLatin1String("<") && parts.at(5) == QLatin1String("27"))
                kind = PortEvent::FetchAnswer;
            else
                return;
            events[parts.at(1)].push_back({kind, double(clock.nsecsElapsed()) / 1e6});
        });

    TGauge::StartupRun run(options, window);
    double connectedMs = -1.0;
    connect(&run, &TGauge::StartupRun::quitRequested, this,
            [&] { connectedMs = double(clock.nsecsElapsed()) / 1e6; });
    // Every window has been painted once when the run says they are open: the station is then
    // tiled as the Window menu does, which lays out and paints every window again while the
    // sensors start to connect. Tiling counts until the last window is laid out; its paint
    // counts with connecting.
    QByteArray stallOpening;
    QByteArray stallTiling;
    connect(&run, &TGauge::StartupRun::sensorsOpened, this, [&] {
        stallOpening = probe.longest();
        probe.restart();
        window.tiler()->tile();
    });
    connect(window.tiler(), &TGauge::Tiler::tiled, this, [&] { stallTiling = probe.longest(); });
    clock.start();
    probe.restart();
    run.start();
    QVERIFY(runUntil([&] { return connectedMs >= 0.0; }, 60000 * windows));
    QCOMPARE(run.exitCode(), 0);
    const QByteArray stallWhileConnecting = probe.longest();
    QVERIFY(!stallOpening.isEmpty());
    QVERIFY(!stallTiling.isEmpty());
    // Every window in sight, so every one is painted.
    QVERIFY(!window.mdiArea()->horizontalScrollBar()->isVisible());
    QVERIFY(!window.mdiArea()->verticalScrollBar()->isVisible());

    // The probe's own wake-ups would count as the station's: CPU first, then the stalls.
    probe.stop();
    const CpuUse cpuBefore = CpuUse::now();
    const int steadyMs = steadySeconds() * 1000;
    runFor(steadyMs);
    const CpuUse cpu = CpuUse::now() - cpuBefore;
    const double percentPerMs = 100.0 / steadyMs;
    probe.restart();
    runFor(steadyMs / 4);
    const QByteArray stallSteady = probe.longest();

    // One window reads all its parameters while another checks its sensor's identity, as its
    // watchdog does; the others keep polling.
    const QList<QMainWindow *> sensors = sensorWindows(*window.mdiArea());
    QCOMPARE(sensors.size(), windows);
    const double busySinceMs = double(clock.nsecsElapsed()) / 1e6;
    probe.restart();
    // The watchdog's check runs on a fiber of its own, as its timer starts it; read-all runs as
    // the menu action does, in a nested wait.
    bool watchdogDone = windows < 2;
    if (!watchdogDone) {
        Utils::FiberRunner::instance()->start([&, watched = QPointer<QMainWindow>(sensors.at(1))] {
            if (watched)
                QMetaObject::invokeMethod(watched, "slotContinousDataTimeout");
            watchdogDone = true;
        });
    }
    bool readAllDone = false;
    QTimer::singleShot(0, this, [&] {
        QMetaObject::invokeMethod(sensors.first(), "vRadAllSettings", Q_ARG(bool, true));
        readAllDone = true;
    });
    QVERIFY(runUntil([&] { return readAllDone && watchdogDone; }, 60000));
    const QByteArray stallBusy = probe.longest();
    disconnect(traced);

    // Poll intervals while steady, before the busy phase, where nothing else of the same window
    // went between two polls.
    std::vector<double> medians, p95s, maxima, firstLive;
    for (const std::vector<PortEvent> &port : std::as_const(events)) {
        std::vector<double> intervals;
        for (size_t i = 1; i < port.size(); ++i) {
            if (port[i].atMs > connectedMs && port[i].atMs < busySinceMs
                && port[i].kind == PortEvent::Poll && port[i - 1].kind == PortEvent::Poll
                && port[i - 1].atMs > connectedMs)
                intervals.push_back(port[i].atMs - port[i - 1].atMs);
        }
        medians.push_back(percentile(intervals, 0.5));
        p95s.push_back(percentile(intervals, 0.95));
        maxima.push_back(percentile(intervals, 1.0));
        // Read-all's last answer is the last fetch answer before polls run on their own.
        for (size_t i = 0; i + 4 < port.size(); ++i) {
            if (port[i].kind != PortEvent::FetchAnswer)
                continue;
            if (std::all_of(port.begin() + long(i) + 1, port.begin() + long(i) + 5,
                            [](const PortEvent &event) { return event.kind == PortEvent::Poll; })) {
                firstLive.push_back(port[i + 1].atMs - port[i].atMs);
                break;
            }
        }
    }
    qInfo(
        "%d window(s): connect all %.1f s; CPU %.1f %% of a core over %d s (user %.1f, kernel "
        "%.1f; %.0f wake-ups a second); poll interval "
        "median %.0f ms, p95 %.0f ms (worst window %.0f), max %.0f ms; p95/median worst %.2f; "
        "first live value after read-all %.0f ms (worst); longest GUI stall "
        "%s opening and first paint, %s tiling, %s tiling and connecting, %s polling, %s while "
        "read-all and a watchdog check run",
        windows, connectedMs / 1000.0, (cpu.userMs + cpu.systemMs) * percentPerMs, steadyMs / 1000,
        cpu.userMs * percentPerMs, cpu.systemMs * percentPerMs,
        double(cpu.wakeUps) * 1000.0 / steadyMs, percentile(medians, 0.5),
        percentile(p95s, 0.5), percentile(p95s, 1.0), percentile(maxima, 1.0),
        [&] {
            double worst = 0.0;
            for (size_t i = 0; i < medians.size(); ++i)
                worst = std::max(worst, medians[i] > 0.0 ? p95s[i] / medians[i] : 0.0);
            return worst;
        }(),
        percentile(firstLive, 1.0), stallOpening.constData(), stallTiling.constData(),
        stallWhileConnecting.constData(), stallSteady.constData(), stallBusy.constData());
    QCOMPARE(int(events.size()), windows);
}

// A timer is told by its interval: station timers have no names.
QByteArray timerInterval(QObject *receiver)
{
    const auto *timer = qobject_cast<QTimer *>(receiver);
    return timer ? " every " + QByteArray::number(timer->interval()) + " ms" : QByteArray();
}

// With BENCH_STATION_SLOW_EVENTS=<ms>, prints each event the GUI thread spent longer on than
// that, with its receiver and the monotonic time it ended at (to find it in a perf recording).
// Work on fibers switches stacks inside an event: their time counts where they ran.
class EventTimingApplication final : public QApplication
{
public:
    EventTimingApplication(int &argc, char **argv)
        : QApplication(argc, argv)
        , m_thresholdMs(qEnvironmentVariable("BENCH_STATION_SLOW_EVENTS").toDouble())
    {}

    bool notify(QObject *receiver, QEvent *event) override
    {
        if (m_thresholdMs <= 0.0)
            return QApplication::notify(receiver, event);
        const double startMs = threadCpuMs();
        const QByteArray what = QByteArray(receiver->metaObject()->className()) + '/'
                                + receiver->objectName().toLatin1() + " type "
                                + QByteArray::number(int(event->type()))
                                + timerInterval(receiver);
        const int depth = m_depth++;
        const bool handled = QApplication::notify(receiver, event);
        --m_depth;
        const double usedMs = threadCpuMs() - startMs;
        if (usedMs > m_thresholdMs) {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            fprintf(stderr, "slow event: depth %d, %.1f ms, %s, ended %ld.%06ld\n", depth, usedMs,
                    what.constData(), long(now.tv_sec), long(now.tv_nsec / 1000));
        }
        return handled;
    }

private:
    const double m_thresholdMs;
    int m_depth = 0;
};

int main(int argc, char **argv)
{
    EventTimingApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    bench_Station test;
    return QTest::qExec(&test, argc, argv);
}
#include "bench_station.moc"
