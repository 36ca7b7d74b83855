#pragma once

#include <QByteArray>
#include <QList>

namespace Kr7dSim {

// Cuts a serial byte stream into frames (byte 0 counts the bytes that follow).
// A frame left incomplete for longer than the gap is dropped, so one lost or
// stray byte cannot shift every later frame.
class FrameAssembler
{
public:
    explicit FrameAssembler(int gapMs = 200);

    // The frames that the bytes received at nowMs complete, in order.
    QList<QByteArray> feed(const QByteArray &bytes, qint64 nowMs);
    int pendingBytes() const { return m_buffer.size(); }

private:
    QByteArray m_buffer;
    qint64 m_lastByteMs = 0;
    int m_gapMs;
};

} // namespace Kr7dSim
