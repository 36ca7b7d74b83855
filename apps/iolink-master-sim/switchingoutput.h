#pragma once

#include <QtGlobal>

#include <optional>

namespace Kr7dSim {

struct SwitchingSettings
{
    double setPoint = 0.0;   // SP: switches on above it
    double resetPoint = 0.0; // RP: switches off below it
    int onDelayMs = 0;
    int offDelayMs = 0;
    bool normallyClosed = false;
};

// One switching output: hysteresis between SP and RP, on/off delays, NO/NC.
class SwitchingOutput
{
public:
    // Feeds the value measured at nowMs; returns the output's electrical state.
    bool update(double value, const SwitchingSettings &settings, qint64 nowMs);
    // Forgets the switching history (after a change of the measured quantity).
    void reset();

private:
    bool m_condition = false; // the hysteresis result, undelayed
    bool m_active = false;    // the condition after the delays
    std::optional<qint64> m_changeSeenMs;
};

} // namespace Kr7dSim
