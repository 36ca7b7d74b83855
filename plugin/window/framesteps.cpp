#include "framesteps.h"

#include "sensorwindow.h"
#include "sensorwindowdata.h"
#include "sequenceguard.h"

#include <utility>

namespace BravoSensorPlugin {
namespace Core {

namespace {

// An answer that arrived in the wait that stopped the sequence is nothing the window may take.
template<typename Answer, typename Send>
void takeAnswer(const SequenceGuard &sequence, Answer *answer, const Send &send)
{
    *answer = Answer();
    if (sequence.stopped())
        return;
    Answer received = send();
    if (!sequence.stopped())
        *answer = std::move(received);
}

} // namespace

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

FrameSteps &FrameSteps::answer(const QByteArray &query, QByteArray *answer, bool showUi)
{
    takeAnswer(m_sequence, answer, [&] { return m_window.answerTo(query, showUi); });
    return *this;
}

FrameSteps &FrameSteps::request(const QByteArray &query, QByteArray *answer)
{
    takeAnswer(m_sequence, answer, [&] { return m_window.requestAnswer(query); });
    return *this;
}

FrameSteps &FrameSteps::transfer(const QByteArray &query, const std::string &pattern,
                                 double timeoutMs, bool showUi, Record *record)
{
    takeAnswer(m_sequence, record,
               [&] { return m_window.transferOne(query, pattern, timeoutMs, showUi); });
    return *this;
}

// A stopped sequence's pause returns at once.
FrameSteps &FrameSteps::pause(unsigned int ms)
{
    m_sequence.pause(ms);
    return *this;
}

FrameSteps &FrameSteps::then(const std::function<void()> &step)
{
    if (!stopped())
        step();
    return *this;
}

bool FrameSteps::repeat(int times, const std::function<bool()> &attempt)
{
    for (int done = 0; done < times && !stopped() && m_window.windowData()->connection; ++done) {
        if (attempt())
            return true;
    }
    return false;
}

bool FrameSteps::stopped() const
{
    return m_sequence.stopped();
}

} // namespace Core
} // namespace BravoSensorPlugin
