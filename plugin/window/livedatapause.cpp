#include "livedatapause.h"

#include "sensorwindow.h"
#include "sensorwindowdata.h"
#include "ui_sensorwindow.h"

#include <QAction>

namespace BravoSensorPlugin {
namespace Core {

namespace {

void setLiveData(SensorWindow &window, bool live)
{
    window.form()->actionEnable_live_data->setChecked(live);
    window.windowData()->liveDataEnabled = live;
}

} // namespace

LiveDataPause::LiveDataPause(SensorWindow &window)
    : m_window(&window)
    , m_wasLive(window.form()->actionEnable_live_data->isChecked())
{
    setLiveData(window, false);
}

LiveDataPause::~LiveDataPause()
{
    if (m_window)
        setLiveData(*m_window, m_wasLive);
}

} // namespace Core
} // namespace BravoSensorPlugin
