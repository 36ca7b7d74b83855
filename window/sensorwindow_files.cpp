#include "sensorwindow.h"

namespace BravoSensorPlugin {
namespace Core {

void SensorWindow::updateChart()
{
}

void SensorWindow::actionEnableLiveData()
{
}

void SensorWindow::signalWriteModeIcon(bool)
{
}

} // namespace Core
} // namespace BravoSensorPlugin
