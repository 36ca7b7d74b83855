// Any byte stream through both frame assemblers: the simulated master's, which cuts requests, and
// the host connection's, which takes the answer to one command and resynchronises.
#include <comm/frame.h>
#include <extensionsystem/answerrules.h>

#include <simulator/frameassembler.h>

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Longer streams only repeat what a few frames show, and each piece rescans what is pending.
    if (size < 2 || size > 300)
        return 0;
    // The first byte picks the pending command, the second how the rest arrives in pieces.
    const char command = char(data[0]);
    const int piece = 1 + data[1] % 7;
    const QByteArray stream(reinterpret_cast<const char *>(data + 2), int(size - 2));

    Kr7dSim::FrameAssembler requests;
    QByteArray pending;
    for (int at = 0; at < stream.size(); at += piece) {
        const QByteArray bytes = stream.mid(at, piece);
        for (const QByteArray &frame : requests.feed(bytes, at)) {
            if (frame.size() != 1 + quint8(frame.at(0)))
                std::abort();
        }
        pending += bytes;
        for (;;) {
            const int before = pending.size();
            const QByteArray answer = ExtensionSystem::takeAnswerFrame(pending, command);
            if (answer.isEmpty())
                break;
            // Only whole, intact frames are taken, and each one leaves the buffer shorter.
            if (!BravoSensorPlugin::Core::isFrameIntact(answer)
                || pending.size() > before - answer.size())
                std::abort();
        }
    }
    return 0;
}
