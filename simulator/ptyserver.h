#pragma once

#include "frameassembler.h"

#include <QObject>
#include <QTimer>

#include <deque>
#include <utility>

class QIODevice;
class QSocketNotifier;

namespace Kr7dSim {

class MasterSimulator;

// Serves a MasterSimulator on a pseudo-terminal: requests are read from the
// master side, answers written back after the simulator's latency. The server
// keeps the terminal's other side open itself, so clients may come and go.
class PtyServer final : public QObject
{
    Q_OBJECT
public:
    explicit PtyServer(MasterSimulator *simulator, QObject *parent = nullptr);
    ~PtyServer() override;

    // False, with *error set, when the system gives no pseudo-terminal.
    bool open(QString *error);
    // The device a client opens, e.g. /dev/pts/3.
    QString portPath() const { return m_portPath; }
    // Every frame goes there as one "< hex" (in) or "> hex" (out) line.
    void setLog(QIODevice *log) { m_log = log; }

signals:
    // The simulator unplugged itself; the terminal is closed.
    void unplugged();

private:
    void readRequests();
    void queueAnswer(const QByteArray &answer);
    void sendDueAnswers();
    void writeToClient(const QByteArray &bytes);
    void writeLog(char direction, const QByteArray &frame);
    void unplug();
    void close();

    MasterSimulator *m_simulator; // not owned
    int m_master = -1;
    int m_slave = -1;
    QString m_portPath;
    QSocketNotifier *m_notifier = nullptr; // owned (Qt parent)
    QTimer m_sendTimer;
    QTimer m_unplugTimer;
    FrameAssembler m_assembler;
    std::deque<std::pair<qint64, QByteArray>> m_outbox; // due time, answer
    QIODevice *m_log = nullptr;                         // not owned
};

} // namespace Kr7dSim
