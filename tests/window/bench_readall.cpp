#include "devicetestkit.h"

#include <comm/platformsleep.h>
#include <plugin/sensorcatalogue.h>
#include <window/sensorwindow.h>
#include <window/sensorwindowdata.h>

#include <QtTest>

using BravoSensorPlugin::Core::SensorWindow;

// Reading every parameter from the in-process simulated master with the real pauses between
// frames: what a user waits for after "Read", less the serial line.
class bench_ReadAll : public QObject
{
    Q_OBJECT

private slots:
    void readAllWithRealPauses();
};

void bench_ReadAll::readAllWithRealPauses()
{
    BravoSensorPlugin::Core::setPlatformSleepScale(1.0);
    const ExtensionSystem::SensorBasic sensor
        = BravoSensorPlugin::Core::buildSensorCatalogue().front();
    SensorWindow window(sensor);
    std::unique_ptr<Kr7dSim::SimulatedConnection> master
        = simulatedMaster(QString::fromStdString(sensor.name()));
    window.windowData()->connection = master.get();
    QBENCHMARK_ONCE
    {
        window.readAllParameters();
    }
    QVERIFY(!master->queryLog().isEmpty());
}

QTEST_MAIN(bench_ReadAll)
#include "bench_readall.moc"
