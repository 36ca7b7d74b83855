#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

namespace BravoSensorPlugin {
namespace Core {

// What a window knows about the command sequence on its stack.
struct SequenceState
{
    int running = 0;        // sequences on the stack, a sequence may call others
    int waiting = 0;        // waits for an answer in progress
    bool abandoned = false; // a wait ended without its answer: the application quits
    // Called when the outermost sequence has left the stack.
    std::function<void()> ended;
};

// Marks one command sequence of a window for as long as it is on the stack.
// A sequence that an event would start from inside another one's wait is
// refused, so the frames of two sequences never interleave. A sequence that touches
// its window after a wait asks stopped() first: the window may be gone by then.
class SequenceGuard
{
public:
    SequenceGuard(QObject *window, SequenceState &state);
    ~SequenceGuard();
    SequenceGuard(const SequenceGuard &) = delete;
    SequenceGuard &operator=(const SequenceGuard &) = delete;

    bool refused() const { return m_refused; }
    // The window is gone or its waits were abandoned: end the sequence at once.
    bool stopped() const;
    // The pause between two frames: ms scaled by the platform sleep scale, waited for as
    // Utils::FiberWait waits, so the host and the other windows keep running. It counts as a wait. False
    // when the sequence was stopped before or meanwhile; then touch nothing of the window.
    bool pause(unsigned int ms) const;

private:
    QPointer<QObject> m_window;
    SequenceState *m_state; // not owned; valid while m_window lives
    bool m_refused;
    bool m_outermost;
};

} // namespace Core
} // namespace BravoSensorPlugin
