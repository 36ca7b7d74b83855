#include "switchingoutput.h"

namespace Kr7dSim {

bool SwitchingOutput::update(double value, const SwitchingSettings &settings, qint64 nowMs)
{
    if (value > settings.setPoint)
        m_condition = true;
    else if (value < settings.resetPoint)
        m_condition = false;

    if (m_condition == m_active) {
        m_changeSeenMs.reset();
    } else {
        if (!m_changeSeenMs)
            m_changeSeenMs = nowMs;
        const int delay = m_condition ? settings.onDelayMs : settings.offDelayMs;
        if (nowMs - *m_changeSeenMs >= delay) {
            m_active = m_condition;
            m_changeSeenMs.reset();
        }
    }
    return m_active != settings.normallyClosed;
}

void SwitchingOutput::reset()
{
    m_condition = false;
    m_active = false;
    m_changeSeenMs.reset();
}

} // namespace Kr7dSim
