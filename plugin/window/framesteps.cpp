#include "framesteps.h"

#include "sensorwindow.h"
#include "sequenceguard.h"

namespace BravoSensorPlugin {
namespace Core {

FrameSteps::FrameSteps(SensorWindow &window, const SequenceGuard &sequence)
    : m_window(window)
    , m_sequence(sequence)
{
}

FrameSteps &FrameSteps::frame(const QByteArray &query, bool showUi)
{
    if (!stopped())
        m_window.bSendFrame(query, showUi);
    return *this;
}

// A stopped sequence's pause returns at once.
FrameSteps &FrameSteps::pause(unsigned int ms)
{
    m_sequence.pause(ms);
    return *this;
}

bool FrameSteps::stopped() const
{
    return m_sequence.stopped();
}

} // namespace Core
} // namespace BravoSensorPlugin
