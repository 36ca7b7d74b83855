#include "sensorwindow.h"

namespace BravoSensorPlugin {
namespace Core {

void SensorWindow::sendDataFrame(ExtensionSystem::CommunicationInterface::DataFrame *, bool)
{
}

bool SensorWindow::bCheckConnection()
{
    return false;
}

} // namespace Core
} // namespace BravoSensorPlugin
