#include "sensorwindow.h"

#include "sensorwindowdata.h"

namespace BravoSensorPlugin {
namespace Core {

void SensorWindow::enableStatusChecking(bool enabled)
{
    data->liveDataEnabled = enabled;
    if (data->connection)
        data->pollTimer.start();
}

void SensorWindow::queryStatusData(unsigned int)
{
}

void SensorWindow::queryChartData()
{
}

} // namespace Core
} // namespace BravoSensorPlugin
