#include "sequenceguard.h"

#include <comm/platformsleep.h>

#include <utils/fiberwait.h>

#include <QTimer>

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

bool SequenceGuard::pause(unsigned int ms) const
{
    const unsigned int scaled = platformSleepMs(ms);
    if (stopped() || scaled == 0)
        return !stopped();
    Utils::FiberWait wait;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&wait] { wait.quit(); });
    QObject::connect(m_window, &QObject::destroyed, &timer, [&wait] { wait.quit(); });
    ++m_state->waiting;
    timer.start(int(scaled));
    wait.exec();
    if (!m_window)
        return false;
    --m_state->waiting;
    // Only a quitting application ends the loop before its time.
    if (timer.isActive()) {
        m_state->abandoned = true;
        setPlatformSleepInterrupted(true);
    }
    return !stopped();
}

} // namespace Core
} // namespace BravoSensorPlugin
