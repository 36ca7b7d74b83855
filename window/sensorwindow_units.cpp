#include "sensorwindow.h"

namespace BravoSensorPlugin {
namespace Core {

void SensorWindow::slotCurrentOutputChanged(int)
{
}

} // namespace Core
} // namespace BravoSensorPlugin
