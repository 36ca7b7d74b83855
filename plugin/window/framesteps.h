#pragma once

#include <extensionsystem/communicationinterface.h>

#include <functional>
#include <string>

class QByteArray;

namespace BravoSensorPlugin {
namespace Core {

class SensorWindow;
class SequenceGuard;

// The steps of a sequence in their order: frames, the pauses between them, and the window's own
// steps that wait. Once the sequence is stopped (its window gone, its waits abandoned) the
// remaining steps do nothing and an answer that came as it stopped is dropped, so a sequence lists
// its steps and asks stopped() only where it touches the window after them.
class FrameSteps final
{
public:
    using Record = ExtensionSystem::CommunicationInterface::DataFrameRecord;

    FrameSteps(SensorWindow &window, const SequenceGuard &sequence);
    FrameSteps(const FrameSteps &) = delete;
    FrameSteps &operator=(const FrameSteps &) = delete;

    // Sent as bSendFrame sends it; its answer is not looked at.
    FrameSteps &frame(const QByteArray &query, bool showUi = false);
    // Sent as answerTo sends it; *answer is empty when none came or the sequence stopped.
    FrameSteps &answer(const QByteArray &query, QByteArray *answer, bool showUi);
    // Sent as requestAnswer sends it; *answer is empty when none came or the sequence stopped.
    FrameSteps &request(const QByteArray &query, QByteArray *answer);
    // Sent as transferOne sends it; *record is unanswered (status 0) when the sequence stopped.
    FrameSteps &transfer(const QByteArray &query, const std::string &pattern, double timeoutMs,
                         bool showUi, Record *record);
    FrameSteps &pause(unsigned int ms);
    // A step of the window that may wait itself, such as a nested sequence.
    FrameSteps &then(const std::function<void()> &step);
    // Up to `times` attempts while the window has a connection, until one returns true; true
    // when one did. An attempt lists its own steps.
    bool repeat(int times, const std::function<bool()> &attempt);
    bool stopped() const;

private:
    SensorWindow &m_window; // not touched once stopped
    const SequenceGuard &m_sequence;
};

} // namespace Core
} // namespace BravoSensorPlugin
