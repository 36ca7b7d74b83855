#pragma once

#include "masterendpoint.h"

#include <QObject>

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
    void setLog(QIODevice *log) { m_endpoint.setLog(log); }

signals:
    // The simulator unplugged itself; the terminal is closed.
    void unplugged();

private:
    void readRequests();
    void writeToClient(const QByteArray &bytes);
    void unplug();
    void close();

    MasterEndpoint m_endpoint;
    int m_master = -1;
    int m_slave = -1;
    QString m_portPath;
    QSocketNotifier *m_notifier = nullptr; // owned (Qt parent)
};

} // namespace Kr7dSim
