#include "sensorwindowdata.h"

namespace BravoSensorPlugin {
namespace Core {

namespace {

void makeSingleShot(QTimer &timer, int milliseconds)
{
    timer.setSingleShot(true);
    timer.setInterval(milliseconds);
}

} // namespace

SensorWindowData::SensorWindowData()
{
    makeSingleShot(pollTimer, 65);
    // A coarse timer may fire up to 5 % late, and the poll cycle would pay that every time.
    pollTimer.setTimerType(Qt::PreciseTimer);
    makeSingleShot(watchdogTimer, 19000);
    makeSingleShot(writeModeIconTimer, 700);
}

} // namespace Core
} // namespace BravoSensorPlugin
