#include "networkconnection.h"

#include "portsettings.h"

#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>

namespace ExtensionSystem {

namespace {

enum ComPortCommand : quint8 { SetBaudRate = 1, SetDataSize = 2, SetParity = 3, SetStopSize = 4 };

quint8 parityCode(QSerialPort::Parity parity)
{
    switch (parity) {
    case QSerialPort::OddParity:
        return 2;
    case QSerialPort::EvenParity:
        return 3;
    case QSerialPort::MarkParity:
        return 4;
    case QSerialPort::SpaceParity:
        return 5;
    default:
        return 1;
    }
}

quint8 stopSizeCode(QSerialPort::StopBits stopBits)
{
    switch (stopBits) {
    case QSerialPort::TwoStop:
        return 2;
    case QSerialPort::OneAndHalfStop:
        return 3;
    default:
        return 1;
    }
}

QByteArray comPortCommand(quint8 command, const QByteArray &value)
{
    return TelnetCodec::subnegotiation(Telnet::ComPort, char(command) + value);
}

QByteArray comPortSettings(const PortSettings &settings)
{
    const quint32 baud = quint32(settings.baudRate);
    const char baudBytes[] = {char(baud >> 24), char(baud >> 16), char(baud >> 8), char(baud)};
    return comPortCommand(SetBaudRate, QByteArray(baudBytes, sizeof baudBytes))
           + comPortCommand(SetDataSize, QByteArray(1, char(settings.dataBits)))
           + comPortCommand(SetParity, QByteArray(1, char(parityCode(settings.parity))))
           + comPortCommand(SetStopSize, QByteArray(1, char(stopSizeCode(settings.stopBits))));
}

} // namespace

NetworkConnection::NetworkConnection(const NetworkPort &address, const PortSettings &settings,
                                     QObject *parent)
    : TransferEngine(settings, parent)
    , m_address(address)
    , m_socket(new QTcpSocket(this))
    , m_telnet({Telnet::Binary, Telnet::SuppressGoAhead, Telnet::ComPort})
{
    connect(m_socket, &QAbstractSocket::errorOccurred, this,
            [this] { linkLost(m_socket->errorString()); });
    connect(m_socket, &QAbstractSocket::disconnected, this,
            [this] { linkLost(m_socket->errorString()); });
}

NetworkConnection::~NetworkConnection() = default;

bool NetworkConnection::open(int timeoutMs)
{
    if (bIsOpen())
        return true;
    QEventLoop wait;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &wait, &QEventLoop::quit);
    connect(m_socket, &QAbstractSocket::connected, &wait, &QEventLoop::quit);
    connect(m_socket, &QAbstractSocket::errorOccurred, &wait, &QEventLoop::quit);
    m_socket->connectToHost(m_address.host, m_address.port);
    timer.start(timeoutMs);
    if (m_socket->state() != QAbstractSocket::UnconnectedState)
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    if (m_socket->state() != QAbstractSocket::ConnectedState) {
        setErrorString(timer.isActive() ? m_socket->errorString()
                                        : QStringLiteral("Connection timed out"));
        m_socket->abort();
        return false;
    }
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    attach(m_socket);
    if (isTelnet()) {
        m_socket->write(m_telnet.offer());
        applyLineSettings(settings());
    }
    return true;
}

void NetworkConnection::applyLineSettings(const PortSettings &settings)
{
    if (isTelnet() && m_socket->state() == QAbstractSocket::ConnectedState)
        m_socket->write(comPortSettings(settings));
}

QByteArray NetworkConnection::readBytes()
{
    const QByteArray bytes = m_socket->readAll();
    if (!isTelnet())
        return bytes;
    QByteArray reply;
    const QByteArray data = m_telnet.decode(bytes, &reply, nullptr);
    if (!reply.isEmpty())
        m_socket->write(reply);
    return data;
}

void NetworkConnection::writeBytes(const QByteArray &bytes)
{
    m_socket->write(isTelnet() ? TelnetCodec::escape(bytes) : bytes);
}

} // namespace ExtensionSystem
