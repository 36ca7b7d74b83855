#include "editsmuted.h"

#include "sensorwindow.h"
#include "sensorwindowdata.h"

namespace BravoSensorPlugin {
namespace Core {

EditsMuted::EditsMuted(SensorWindow &window)
    : m_window(&window)
    , m_wasHandling(window.windowData()->treeDataHandling)
{
    window.enableTreeDataHandling(false);
}

EditsMuted::~EditsMuted()
{
    if (m_window && m_wasHandling)
        m_window->enableTreeDataHandling(true);
}

} // namespace Core
} // namespace BravoSensorPlugin
