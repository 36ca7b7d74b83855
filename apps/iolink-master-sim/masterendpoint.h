#pragma once

#include "frameassembler.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <deque>
#include <utility>

class QIODevice;

namespace Kr7dSim {

class MasterSimulator;

// The master's end of one line, whatever carries it: cuts the bytes that
// arrive into requests and hands out each answer after the simulator's
// latency, in order.
class MasterEndpoint final : public QObject
{
    Q_OBJECT
public:
    explicit MasterEndpoint(MasterSimulator *simulator, QObject *parent = nullptr);

    void receive(const QByteArray &bytes);
    // Every frame goes there as one "< hex" (in) or "> hex" (out) line.
    void setLog(QIODevice *log) { m_log = log; }
    // Arms the simulator's unplug time, if it has one.
    void start();
    // Answers not handed out yet are dropped.
    void stop();

signals:
    void requestReceived(const QByteArray &frame);
    void answerReady(const QByteArray &answer);
    // The simulator unplugged itself; nothing more is answered.
    void unplugged();

private:
    void sendDueAnswers();
    void writeLog(char direction, const QByteArray &frame);

    MasterSimulator *m_simulator; // not owned
    QElapsedTimer m_clock;
    QTimer m_sendTimer;
    QTimer m_unplugTimer;
    FrameAssembler m_assembler;
    std::deque<std::pair<qint64, QByteArray>> m_outbox; // due time, answer
    QIODevice *m_log = nullptr;                         // not owned
};

} // namespace Kr7dSim
