#include "frametrace.h"

#include <QMetaMethod>

namespace ExtensionSystem {

QString frameTraceLine(qint64 elapsedMs, const QString &port, FrameDirection direction,
                       const QByteArray &bytes, std::optional<qint64> roundTripMs)
{
    static const char directionMarks[] = {'>', '<', '!'};
    QString line = QString::number(elapsedMs) + QLatin1Char(' ') + port + QLatin1Char(' ')
                   + QLatin1Char(directionMarks[int(direction)]);
    if (!bytes.isEmpty())
        line += QLatin1Char(' ') + QString::fromLatin1(bytes.toHex(' '));
    if (roundTripMs)
        line += QLatin1Char(' ') + QString::number(*roundTripMs) + QLatin1String(" ms");
    return line;
}

FrameTrace &FrameTrace::instance()
{
    static FrameTrace trace;
    return trace;
}

FrameTrace::FrameTrace()
{
    m_clock.start();
}

bool FrameTrace::appendTo(const QString &fileName)
{
    m_file.close();
    m_file.setFileName(fileName);
    return m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
}

void FrameTrace::frameSent(const QString &port, const QByteArray &frame)
{
    if (!isObserved())
        return;
    m_sentAt.insert(port, m_clock.elapsed());
    add(port, FrameDirection::Sent, frame, std::nullopt);
}

void FrameTrace::frameCompleted(const QString &port, const QByteArray &answer, bool answered)
{
    if (!isObserved())
        return;
    if (!answered) {
        add(port, FrameDirection::Failed, answer, std::nullopt);
        return;
    }
    const auto sent = m_sentAt.constFind(port);
    add(port, FrameDirection::Answer, answer,
        sent == m_sentAt.constEnd() ? std::nullopt
                                    : std::optional<qint64>(m_clock.elapsed() - *sent));
}

bool FrameTrace::isObserved() const
{
    return m_file.isOpen() || isSignalConnected(QMetaMethod::fromSignal(&FrameTrace::lineAdded));
}

void FrameTrace::add(const QString &port, FrameDirection direction, const QByteArray &bytes,
                     std::optional<qint64> roundTripMs)
{
    const QString line = frameTraceLine(m_clock.elapsed(), port, direction, bytes, roundTripMs);
    if (m_file.isOpen()) {
        // Flushed line by line: a trace is wanted most when the run ends badly.
        m_file.write(line.toUtf8() + '\n');
        m_file.flush();
    }
    emit lineAdded(line);
}

} // namespace ExtensionSystem
