#include "sensorwindow.h"

namespace BravoSensorPlugin {
namespace Core {

void SensorWindow::updateChart()
{
}

void SensorWindow::vRestoreFactorySettings()
{
}

void SensorWindow::vExportChartData()
{
}

void SensorWindow::vClearHistory()
{
}

void SensorWindow::vPrintDocument()
{
}

void SensorWindow::vSaveSettings()
{
}

bool SensorWindow::bOpenSettings(QString)
{
    return false;
}

void SensorWindow::vLoadSettings()
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
