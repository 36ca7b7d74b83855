#include <support/devicetestkit.h>

#include <comm/fixedframes.h>
#include <comm/frame.h>
#include <comm/platformsleep.h>
#include <comm/processdata.h>
#include <plugin/sensorcatalogue.h>
#include <utils/genericchart.h>
#include <utils/valueovertime.h>
#include <window/sensorwindowdata.h>

#include <QElapsedTimer>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

using namespace BravoSensorPlugin::Core;

namespace {

// About a day of live data at the 65 ms poll interval.
constexpr int Samples = 1300000;
constexpr qint64 IntervalMs = 65;

// Median wall time of `runs` calls, in milliseconds.
double medianMs(int runs, const std::function<void()> &call)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        call();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[std::size_t(runs / 2)];
}

// What the window plots from the simulated master's answers, one sample per poll.
std::pair<Utils::ValueOverTime, Utils::ValueOverTime> simulatorDay(Kr7dSim::MasterSimulator &master)
{
    qint64 now = 1764856987000;
    master.setClock([&now] { return now; });
    const double divisor = master.device().variant.divisor;
    Utils::ValueOverTime pressure;
    Utils::ValueOverTime temperature;
    const QByteArray poll = processDataFrame();
    for (int i = 0; i < Samples; ++i, now += IntervalMs) {
        const QByteArray answer = master.respond(poll).value_or(QByteArray());
        const ProcessData decoded = decodeProcessData(QString::fromLatin1(answer.toHex()), divisor);
        const double time = double(now + i % 3); // the poll's own jitter
        pressure.append(time, decoded.pressure, analogOutputValue(decoded.pressure, 0.0, 10.0, 0));
        temperature.append(time, decoded.temperature,
                           analogOutputValue(decoded.temperature, 0.0, 10.0, 0));
    }
    return {std::move(pressure), std::move(temperature)};
}

} // namespace

// What the user waits for: re-deriving charts and groups after every write, opening a window,
// saving and opening a settings file that holds a day of process data in both plots, and what one
// completed poll costs the GUI thread once the plots hold a day of samples.
class bench_Window : public QObject
{
    Q_OBJECT

private slots:
    void applyUnitsAndOutputs();
    void openSensorWindow();
    void saveAndOpenADayOfHistory();
    void completedPollWithFullPlots();
    void repaintAChangedValueCell();
};

void bench_Window::applyUnitsAndOutputs()
{
    SensorWindow window(buildSensorCatalogue().front());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The outputs combo's slot runs the whole derivation and nothing else.
    const double median = medianMs(201, [&] {
        QMetaObject::invokeMethod(&window, "slotCurrentOutputChanged", Q_ARG(int, 0));
    });
    qInfo("applyUnitsAndOutputs: median %.3f ms over 201 runs", median);
}

void bench_Window::openSensorWindow()
{
    const ExtensionSystem::SensorBasic sensor = buildSensorCatalogue().front();
    // Kept open until all are timed, so that no closing is timed.
    std::vector<std::unique_ptr<SensorWindow>> windows;
    const double median
        = medianMs(21, [&] { windows.push_back(std::make_unique<SensorWindow>(sensor)); });
    qInfo("open a sensor window: median %.3f ms over 21 runs", median);
}

void bench_Window::saveAndOpenADayOfHistory()
{
    const ExtensionSystem::SensorBasic sensor = buildSensorCatalogue().front();
    const auto master = simulatedMaster(QString::fromStdString(sensor.name()));
    const auto day = simulatorDay(master->simulator());
    SensorWindow window(sensor);
    Utils::Charts::GenericChart *chart = window.windowData()->chart;
    chart->setData(0, day.first);
    chart->setData(1, day.second);
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("day.tgs"));

    const double saveMs = medianMs(1, [&] { QVERIFY(window.saveSettingsFile(path)); });
    chart->clear();
    const double openMs = medianMs(1, [&] { QVERIFY(window.bOpenSettings(path)); });
    QCOMPARE(chart->getData(0)->size(), Samples);
    QCOMPARE(chart->getData(1)->size(), Samples);
    const double bytes = double(QFileInfo(path).size());
    qInfo("file: %.1f MB, %.2f bytes per sample per plot; save %.0f ms, open %.0f ms", bytes / 1e6,
          bytes / (2.0 * Samples), saveMs, openMs);
}

void bench_Window::completedPollWithFullPlots()
{
    setPlatformSleepScale(0);
    ExtensionSystem::SensorBasic sensor = buildSensorCatalogue().front();
    const QString portName = QString::fromStdString(sensor.name());
    SimulatedPort port{portName, sensor};
    WindowSession session(sensor, {portName}, port.master);
    SensorWindowData &data = *session.window().windowData();
    session.object().vAutoConnect(portName);
    QVERIFY(data.connection);
    // Polling starts once the update dialog has run out.
    data.progressBar->setValue(data.progressBar->maximum());
    QTRY_VERIFY(data.chart->getData(1)->size() > 0);
    QTRY_COMPARE(data.pendingPollId, 0u);
    data.pollTimer.stop();
    // The answer is written into the pending list by hand: only the window's work is timed.
    ScriptedConnection instant([](const QByteArray &query) { return query; });
    instant.holdTransfers();
    data.connection = &instant;
    Utils::ValueOverTime history;
    for (int i = 0; i < Samples; ++i)
        history.append(1.7e12 + double(IntervalMs) * i, 5.0 + std::sin(i / 5000.0), 12.0);
    for (int plot = 0; plot < 2; ++plot)
        data.chart->setData(plot, history);
    const std::string answer = buildFrame(0x22, QByteArray::fromHex("00ff380195")).toStdString();

    // Started, answered by hand, then completed: the start is cheap next to the completion.
    const auto completePoll = [&] {
        QMetaObject::invokeMethod(&session.window(), "queryStatusData", Q_ARG(unsigned int, 0));
        const unsigned int id = data.pendingPollId;
        ExtensionSystem::CommunicationInterface::DataFrameRecord &record
            = data.pendingPolls.at(id)->front();
        record.answer = answer;
        record.status = 1;
        QMetaObject::invokeMethod(&session.window(), "queryStatusData", Q_ARG(unsigned int, id));
        data.pollTimer.stop();
    };
    // The first completion grows the plots' storage once; the day after it is what is measured.
    completePoll();
    QBENCHMARK {
        completePoll();
    }
    QVERIFY(data.chart->getData(0)->size() > Samples);
    data.connection = nullptr;
}

// What each poll costs the screen: the pressure cell shows a new value and only that cell is
// painted again. Meant for -callgrind: the instruction count is the measure.
void bench_Window::repaintAChangedValueCell()
{
    SensorWindow window(buildSensorCatalogue().front());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTreeWidget *tree = window.windowData()->processDataTree;
    QTreeWidgetItem *pressure = tree->topLevelItem(4);
    QVERIFY(pressure && !pressure->isHidden());
    const QRect cell = tree->visualRect(tree->model()->index(4, 1));
    const QString values[] = {QStringLiteral("  12.3457"), QStringLiteral("  -0.98765")};
    int poll = 0;
    QBENCHMARK {
        pressure->setText(1, values[++poll % 2]);
        tree->viewport()->repaint(cell);
    }
}

QTEST_MAIN(bench_Window)
#include "bench_window.moc"
