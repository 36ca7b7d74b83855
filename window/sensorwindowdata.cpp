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
    makeSingleShot(watchdogTimer, 19000);
    makeSingleShot(writeModeIconTimer, 700);
}

} // namespace Core
} // namespace BravoSensorPlugin
