#include "masterendpoint.h"

#include "mastersimulator.h"

#include <QIODevice>

namespace Kr7dSim {

MasterEndpoint::MasterEndpoint(MasterSimulator *simulator, QObject *parent)
    : QObject(parent)
    , m_simulator(simulator)
{
    m_clock.start();
    m_sendTimer.setSingleShot(true);
    // A coarse timer may fire early; an answer must never beat its latency.
    m_sendTimer.setTimerType(Qt::PreciseTimer);
    m_unplugTimer.setSingleShot(true);
    connect(&m_sendTimer, &QTimer::timeout, this, &MasterEndpoint::sendDueAnswers);
    connect(&m_unplugTimer, &QTimer::timeout, this, &MasterEndpoint::unplugged);
}

void MasterEndpoint::start()
{
    if (const std::optional<qint64> remaining = m_simulator->timeUntilUnplug())
        m_unplugTimer.start(int(qMax<qint64>(0, *remaining)));
}

void MasterEndpoint::stop()
{
    m_sendTimer.stop();
    m_unplugTimer.stop();
    m_outbox.clear();
}

void MasterEndpoint::receive(const QByteArray &bytes)
{
    const QList<QByteArray> frames = m_assembler.feed(bytes, m_clock.elapsed());
    for (const QByteArray &frame : frames) {
        writeLog('<', frame);
        emit requestReceived(frame);
        if (const std::optional<QByteArray> answer = m_simulator->respond(frame))
            m_outbox.emplace_back(m_clock.elapsed() + m_simulator->faults().latencyMs, *answer);
        sendDueAnswers();
    }
    if (m_simulator->isUnplugged())
        emit unplugged();
}

void MasterEndpoint::sendDueAnswers()
{
    const qint64 now = m_clock.elapsed();
    while (!m_outbox.empty() && m_outbox.front().first <= now) {
        const QByteArray answer = m_outbox.front().second;
        m_outbox.pop_front();
        writeLog('>', answer);
        emit answerReady(answer);
    }
    if (!m_outbox.empty())
        m_sendTimer.start(int(m_outbox.front().first - now));
}

void MasterEndpoint::writeLog(char direction, const QByteArray &frame)
{
    if (!m_log)
        return;
    QByteArray line;
    line.append(direction);
    line.append(' ');
    line.append(frame.toHex(' '));
    line.append('\n');
    m_log->write(line);
}

} // namespace Kr7dSim
