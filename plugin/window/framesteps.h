#pragma once

class QByteArray;

namespace BravoSensorPlugin {
namespace Core {

class SensorWindow;
class SequenceGuard;

// The frames of a sequence in their order, each after the pause it needs. Once the sequence is
// stopped (its window gone, its waits abandoned) the remaining steps do nothing, so a sequence
// lists its frames and asks stopped() once, after the last.
class FrameSteps final
{
public:
    FrameSteps(SensorWindow &window, const SequenceGuard &sequence);
    FrameSteps(const FrameSteps &) = delete;
    FrameSteps &operator=(const FrameSteps &) = delete;

    // Sent as bSendFrame sends it; its answer is not looked at.
    FrameSteps &frame(const QByteArray &query, bool showUi = false);
    FrameSteps &pause(unsigned int ms);
    bool stopped() const;

private:
    SensorWindow &m_window; // not touched once stopped
    const SequenceGuard &m_sequence;
};

} // namespace Core
} // namespace BravoSensorPlugin
