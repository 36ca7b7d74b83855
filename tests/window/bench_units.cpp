#include <plugin/sensorcatalogue.h>
#include <window/sensorwindow.h>

#include <QElapsedTimer>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <vector>

using BravoSensorPlugin::Core::SensorWindow;

namespace {

// Median wall time of `runs` calls, in milliseconds; `after` runs untimed after each call.
double medianMs(int runs, const std::function<void()> &call,
                const std::function<void()> &after = {})
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        call();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (after)
            after();
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[std::size_t(runs / 2)];
}

} // namespace

// What the user waits for: re-deriving charts and groups after every write, and opening a window.
class bench_Units : public QObject
{
    Q_OBJECT

private slots:
    void applyUnitsAndOutputs();
    void openSensorWindow();
};

void bench_Units::applyUnitsAndOutputs()
{
    SensorWindow window(BravoSensorPlugin::Core::buildSensorCatalogue().front());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The outputs combo's slot runs the whole derivation and nothing else.
    const double median = medianMs(201, [&] {
        QMetaObject::invokeMethod(&window, "slotCurrentOutputChanged", Q_ARG(int, 0));
    });
    qInfo("applyUnitsAndOutputs: median %.3f ms over 201 runs", median);
}

void bench_Units::openSensorWindow()
{
    const ExtensionSystem::SensorBasic sensor
        = BravoSensorPlugin::Core::buildSensorCatalogue().front();
    std::unique_ptr<SensorWindow> window;
    const double median = medianMs(
        21, [&] { window = std::make_unique<SensorWindow>(sensor); }, [&] { window.reset(); });
    qInfo("open a sensor window: median %.3f ms over 21 runs", median);
}

QTEST_MAIN(bench_Units)
#include "bench_units.moc"
