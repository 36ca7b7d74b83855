#include "networkserver.h"

#include <QTcpServer>
#include <QTcpSocket>

namespace Kr7dSim {

namespace {

using namespace ExtensionSystem;

// A COM-port command from the client gets the same command plus 100 back.
constexpr quint8 serverReplyOffset = 100;

ExtensionSystem::TelnetCodec telnetCodec()
{
    return TelnetCodec({Telnet::Binary, Telnet::SuppressGoAhead, Telnet::ComPort});
}

} // namespace

NetworkServer::NetworkServer(MasterSimulator *simulator, Protocol protocol, QObject *parent)
    : QObject(parent)
    , m_endpoint(simulator)
    , m_protocol(protocol)
    , m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &NetworkServer::acceptClient);
    connect(&m_endpoint, &MasterEndpoint::answerReady, this, &NetworkServer::writeToClient);
    connect(&m_endpoint, &MasterEndpoint::unplugged, this, &NetworkServer::unplug);
}

NetworkServer::~NetworkServer() = default;

bool NetworkServer::listen(quint16 port, QString *error)
{
    if (!m_server->listen(QHostAddress::LocalHost, port)) {
        *error = QStringLiteral("cannot listen on port %1: %2")
                     .arg(QString::number(port), m_server->errorString());
        return false;
    }
    m_endpoint.start();
    return true;
}

QString NetworkServer::address() const
{
    return QStringLiteral("%1://127.0.0.1:%2")
        .arg(m_protocol == Protocol::Raw ? QStringLiteral("tcp") : QStringLiteral("rfc2217"),
             QString::number(m_server->serverPort()));
}

void NetworkServer::acceptClient()
{
    while (QTcpSocket *next = m_server->nextPendingConnection()) {
        if (m_client)
            m_client->deleteLater();
        m_client = next;
        next->setParent(this);
        next->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(next, &QTcpSocket::readyRead, this, &NetworkServer::readRequests);
        connect(next, &QTcpSocket::disconnected, next, &QObject::deleteLater);
        if (m_protocol == Protocol::Rfc2217) {
            m_telnet = telnetCodec();
            next->write(m_telnet->offer());
        }
    }
}

void NetworkServer::readRequests()
{
    auto *client = qobject_cast<QTcpSocket *>(sender());
    if (!client || client != m_client)
        return;
    QByteArray bytes = client->readAll();
    if (m_telnet) {
        QByteArray reply;
        QList<QByteArray> commands;
        bytes = m_telnet->decode(bytes, &reply, &commands);
        for (QByteArray command : qAsConst(commands)) {
            if (quint8(command.at(0)) != Telnet::ComPort || command.size() < 2)
                continue;
            command[1] = char(quint8(command.at(1)) + serverReplyOffset);
            reply += TelnetCodec::subnegotiation(Telnet::ComPort, command.mid(1));
        }
        client->write(reply);
    }
    if (!bytes.isEmpty())
        m_endpoint.receive(bytes);
}

void NetworkServer::writeToClient(const QByteArray &bytes)
{
    if (m_client)
        m_client->write(m_telnet ? TelnetCodec::escape(bytes) : bytes);
}

void NetworkServer::unplug()
{
    if (!m_server->isListening())
        return;
    m_endpoint.stop();
    m_server->close();
    if (m_client)
        m_client->abort();
    emit unplugged();
}

} // namespace Kr7dSim
