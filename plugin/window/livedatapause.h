#pragma once

#include <QPointer>

namespace BravoSensorPlugin {
namespace Core {

class SensorWindow;

// Live data off for the life of the object, around a sequence that talks to the sensor; the
// switch and the flag then return to what they were. Polling itself goes on meanwhile.
class LiveDataPause final
{
public:
    explicit LiveDataPause(SensorWindow &window);
    ~LiveDataPause();
    LiveDataPause(const LiveDataPause &) = delete;
    LiveDataPause &operator=(const LiveDataPause &) = delete;

private:
    QPointer<SensorWindow> m_window; // a window closed during the sequence is left alone
    bool m_wasLive;
};

} // namespace Core
} // namespace BravoSensorPlugin
