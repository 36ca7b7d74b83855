#include "devicetestkit.h"

#include <comm/fixedframes.h>
#include <comm/processdata.h>
#include <plugin/sensorcatalogue.h>
#include <utils/genericchart.h>
#include <utils/valueovertime.h>
#include <window/sensorwindow.h>
#include <window/sensorwindowdata.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

using namespace BravoSensorPlugin::Core;

namespace {

// About a day of live data at the 65 ms poll interval.
constexpr int Samples = 1300000;
constexpr qint64 IntervalMs = 65;

// What the window plots from the simulated master's answers, one sample per poll.
std::pair<Utils::ValueOverTime, Utils::ValueOverTime> simulatorDay(Kr7dSim::MasterSimulator &master)
{
    qint64 now = 1764856987000;
    master.setClock([&now] { return now; });
    const double divisor = master.device().variant.divisor;
    const double point0 = 0.0;
    const double point10 = 10.0;
    Utils::ValueOverTime pressure;
    Utils::ValueOverTime temperature;
    pressure.reserve(Samples);
    temperature.reserve(Samples);
    const QByteArray poll = processDataFrame();
    for (int i = 0; i < Samples; ++i, now += IntervalMs) {
        const QByteArray answer = master.respond(poll).value_or(QByteArray());
        const ProcessData decoded = decodeProcessData(QString::fromLatin1(answer.toHex()), divisor);
        const double time = double(now + i % 3); // the poll's own jitter
        pressure.append(time, decoded.pressure,
                        analogOutputValue(decoded.pressure, point0, point10, 0));
        temperature.append(time, decoded.temperature,
                           analogOutputValue(decoded.temperature, point0, point10, 0));
    }
    return {std::move(pressure), std::move(temperature)};
}

} // namespace

// Saving and opening a settings file that holds a day of the simulator's process data in both
// plots.
class bench_SettingsFile : public QObject
{
    Q_OBJECT

private slots:
    void saveAndOpenADayOfHistory();
};

void bench_SettingsFile::saveAndOpenADayOfHistory()
{
    const ExtensionSystem::SensorBasic sensor = buildSensorCatalogue().front();
    std::unique_ptr<Kr7dSim::SimulatedConnection> master
        = simulatedMaster(QString::fromStdString(sensor.name()));
    auto day = simulatorDay(master->simulator());
    SensorWindow window(sensor);
    Utils::Charts::GenericChart *chart = window.windowData()->chart;
    chart->setData(0, day.first);
    chart->setData(1, day.second);
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("day.tgs"));

    QElapsedTimer timer;
    timer.start();
    QVERIFY(window.saveSettingsFile(path));
    const qint64 saveMs = timer.elapsed();
    chart->clear();
    timer.restart();
    QVERIFY(window.bOpenSettings(path));
    const qint64 openMs = timer.elapsed();

    QCOMPARE(chart->getData(0)->size(), Samples);
    QCOMPARE(chart->getData(1)->size(), Samples);
    const double bytes = double(QFileInfo(path).size());
    qInfo("file: %.1f MB, %.2f bytes per sample per plot; save %lld ms, open %lld ms", bytes / 1e6,
          bytes / (2.0 * Samples), saveMs, openMs);
}

QTEST_MAIN(bench_SettingsFile)
#include "bench_settingsfile.moc"
