#include "sensorwindow.h"

namespace BravoSensorPlugin {
namespace Core {

void SensorWindow::enableStatusChecking(bool)
{
}

void SensorWindow::queryStatusData(unsigned int)
{
}

void SensorWindow::queryChartData()
{
}

} // namespace Core
} // namespace BravoSensorPlugin
