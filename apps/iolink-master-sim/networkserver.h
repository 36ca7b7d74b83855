#pragma once

#include "masterendpoint.h"

#include <extensionsystem/telnetcodec.h>

#include <QObject>
#include <QPointer>

#include <optional>

class QIODevice;
class QTcpServer;
class QTcpSocket;

namespace Kr7dSim {

class MasterSimulator;

// Serves a MasterSimulator on a loopback TCP port as a serial device server
// does, one client at a time (a new one replaces the old): the raw byte
// stream, or Telnet with RFC 2217 COM-port control, whose settings are
// acknowledged and otherwise ignored.
class NetworkServer final : public QObject
{
    Q_OBJECT
public:
    enum class Protocol { Raw, Rfc2217 };

    NetworkServer(MasterSimulator *simulator, Protocol protocol, QObject *parent = nullptr);
    ~NetworkServer() override;

    // Port 0 takes a free one. False, with *error set, when the port is taken.
    bool listen(quint16 port, QString *error);
    // The name a client connects to, e.g. "tcp://127.0.0.1:7000".
    QString address() const;
    void setLog(QIODevice *log) { m_endpoint.setLog(log); }

signals:
    // The simulator unplugged itself; the client and the port are closed.
    void unplugged();

private:
    void acceptClient();
    void readRequests();
    void writeToClient(const QByteArray &bytes);
    void unplug();

    MasterEndpoint m_endpoint;
    Protocol m_protocol;
    QTcpServer *m_server; // owned (Qt parent)
    QPointer<QTcpSocket> m_client;
    std::optional<ExtensionSystem::TelnetCodec> m_telnet; // of the client, on RFC 2217
};

} // namespace Kr7dSim
