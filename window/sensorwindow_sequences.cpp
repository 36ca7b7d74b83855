#include "sensorwindow.h"

namespace BravoSensorPlugin {
namespace Core {

void SensorWindow::sendDelayValue()
{
}

void SensorWindow::vUpdateProgressBar()
{
}

void SensorWindow::vWriteAllSettings(bool)
{
}

void SensorWindow::writeAllSettings()
{
}

void SensorWindow::vRadAllSettings(bool)
{
}

} // namespace Core
} // namespace BravoSensorPlugin
