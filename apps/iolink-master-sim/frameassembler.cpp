#include "frameassembler.h"

namespace Kr7dSim {

FrameAssembler::FrameAssembler(int gapMs)
    : m_gapMs(gapMs)
{
}

QList<QByteArray> FrameAssembler::feed(const QByteArray &bytes, qint64 nowMs)
{
    if (!m_buffer.isEmpty() && nowMs - m_lastByteMs > m_gapMs)
        m_buffer.clear();
    m_lastByteMs = nowMs;
    m_buffer.append(bytes);

    QList<QByteArray> frames;
    while (!m_buffer.isEmpty()) {
        const int length = 1 + quint8(m_buffer.at(0));
        if (m_buffer.size() < length)
            break;
        frames.append(m_buffer.left(length));
        m_buffer.remove(0, length);
    }
    return frames;
}

} // namespace Kr7dSim
