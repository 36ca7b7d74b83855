#include "devicetestkit.h"

#include <support/simulatorprocess.h>

#include <comm/frame.h>
#include <comm/platformsleep.h>
#include <plugin/sensorcatalogue.h>

#include <utils/genericchart.h>
#include <utils/valueovertime.h>

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QProgressBar>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <vector>

using BravoSensorPlugin::Core::SensorWindowData;

Q_LOGGING_CATEGORY(lcBench, "kr7d.bench")

namespace {

constexpr int cadenceMs = 30000;
constexpr int samplesPerPlot = 1300000; // about a day at the poll interval
constexpr int completions = 2000;

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const auto rank = std::size_t(std::ceil(fraction * double(values.size())));
    return values[std::max<std::size_t>(rank, 1) - 1];
}

} // namespace

// Live process data: the poll cadence over a real pseudo-terminal and what one completed poll
// costs the GUI thread once the plots hold a day of samples; and what a user waits for after
// "Read", less the serial line.
class bench_Polling : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cadenceOnAPseudoTerminal();
    void completedPollWithFullPlots();
    void readAllWithRealPauses();

private:
    SensorWindowData &data() { return *m_session->window().windowData(); }

    ExtensionSystem::SensorBasic m_sensor;
    SimulatorProcess m_simulator;
    QPointer<Kr7dSim::SimulatedConnection> m_noMaster; // the master is another process here
    std::unique_ptr<WindowSession> m_session;
};

void bench_Polling::initTestCase()
{
    BravoSensorPlugin::Core::setPlatformSleepScale(0);
    m_sensor = BravoSensorPlugin::Core::buildSensorCatalogue().front();
    QVERIFY(
        m_simulator.start({QStringLiteral("--sensor"), QString::fromStdString(m_sensor.name())}));
    const QString port = m_simulator.portPath();
    m_session = std::make_unique<WindowSession>(m_sensor, QStringList{port}, m_noMaster);
    m_session->object().vAutoConnect(port);
    QVERIFY(data().connection);
    // Polling starts once the update dialog has run out.
    data().progressBar->setValue(data().progressBar->maximum());
    QTRY_VERIFY(data().pendingPollId != 0);
}

void bench_Polling::cleanupTestCase()
{
    m_session.reset();
}

void bench_Polling::cadenceOnAPseudoTerminal()
{
    QElapsedTimer clock;
    clock.start();
    std::vector<double> starts;
    std::vector<double> roundTrips;
    unsigned int watched = 0;
    // After the window's own slot, which has just sent the poll.
    connect(&data().pollTimer, &QTimer::timeout, this, [&] {
        if (data().pendingPollId == 0 || data().pendingPollId == watched)
            return;
        watched = data().pendingPollId;
        starts.push_back(clock.nsecsElapsed() / 1e6);
    });
    connect(data().connection, &ExtensionSystem::CommunicationInterface::emitFinished, this,
            [&](unsigned int id) {
                if (id == watched && !starts.empty())
                    roundTrips.push_back(clock.nsecsElapsed() / 1e6 - starts.back());
            });
    // Not QTest::qWait: it sleeps 10 ms between its rounds of events, which would hold the polls
    // back.
    QEventLoop loop;
    QTimer::singleShot(cadenceMs, &loop, &QEventLoop::quit);
    loop.exec();
    QVERIFY(starts.size() > 2);

    std::vector<double> intervals;
    for (std::size_t poll = 1; poll < starts.size(); ++poll)
        intervals.push_back(starts[poll] - starts[poll - 1]);
    const double roundTrip = percentile(roundTrips, 0.5);
    qCInfo(lcBench,
           "%zu polls in %.1f s: interval median %.2f ms, p95 %.2f ms; round trip median %.2f ms; "
           "goal: median interval <= %.2f ms",
           starts.size(), cadenceMs / 1000.0, percentile(intervals, 0.5),
           percentile(intervals, 0.95), roundTrip, 1.05 * (65.0 + roundTrip));
}

void bench_Polling::completedPollWithFullPlots()
{
    QTRY_COMPARE(data().pendingPollId, 0u);
    data().pollTimer.stop();
    // The answer is written into the pending list by hand: only the window's work is timed.
    ScriptedConnection instant([](const QByteArray &query) { return query; });
    instant.holdTransfers();
    data().connection = &instant;
    Utils::ValueOverTime history;
    history.reserve(samplesPerPlot);
    for (int i = 0; i < samplesPerPlot; ++i)
        history.append(1.7e12 + 65.0 * i, 5.0 + std::sin(i / 5000.0), 12.0);
    for (int plot = 0; plot < 2; ++plot)
        data().chart->setData(plot, history);
    const std::string answer
        = BravoSensorPlugin::Core::buildFrame(0x22, QByteArray::fromHex("00ff380195"))
              .toStdString();

    std::vector<double> costs;
    QElapsedTimer clock;
    for (int poll = 0; poll < completions; ++poll) {
        QMetaObject::invokeMethod(&m_session->window(), "queryStatusData", Q_ARG(unsigned int, 0));
        const unsigned int id = data().pendingPollId;
        ExtensionSystem::CommunicationInterface::DataFrameRecord &record
            = data().pendingPolls.at(id)->front();
        record.answer = answer;
        record.status = 1;
        clock.start();
        QMetaObject::invokeMethod(&m_session->window(), "queryStatusData", Q_ARG(unsigned int, id));
        costs.push_back(clock.nsecsElapsed() / 1e6);
        data().pollTimer.stop();
    }
    QCOMPARE(data().chart->getData(0)->size(), samplesPerPlot + completions);
    qCInfo(lcBench, "completed poll with %d samples per plot: median %.4f ms, p95 %.4f ms",
           samplesPerPlot, percentile(costs, 0.5), percentile(costs, 0.95));
    data().connection = nullptr;
}

void bench_Polling::readAllWithRealPauses()
{
    BravoSensorPlugin::Core::setPlatformSleepScale(1.0);
    const auto master = simulatedMaster(QString::fromStdString(m_sensor.name()));
    data().connection = master.get();
    QBENCHMARK_ONCE
    {
        m_session->window().readAllParameters();
    }
    QVERIFY(!master->queryLog().isEmpty());
    data().connection = nullptr;
}

QTEST_MAIN(bench_Polling)
#include "bench_polling.moc"
