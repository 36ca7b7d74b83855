#include "sequenceguard.h"

#include <comm/platformsleep.h>

namespace BravoSensorPlugin {
namespace Core {

SequenceGuard::SequenceGuard(QObject *window, SequenceState &state)
    : m_window(window)
    , m_state(&state)
    , m_refused(state.waiting > 0)
    , m_outermost(state.running == 0)
{
    if (!m_refused)
        ++state.running;
}

// The pauses of a sequence that was stopped run no more until it has left the stack.
SequenceGuard::~SequenceGuard()
{
    if (m_refused)
        return;
    if (m_outermost)
        setPlatformSleepInterrupted(false);
    if (!m_window)
        return;
    if (--m_state->running > 0)
        return;
    m_state->abandoned = false;
    if (m_state->ended)
        m_state->ended();
}

bool SequenceGuard::stopped() const
{
    return !m_window || m_state->abandoned;
}

} // namespace Core
} // namespace BravoSensorPlugin
