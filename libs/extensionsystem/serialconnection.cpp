#include "serialconnection.h"

#include "portsettings.h"

#include <QSerialPort>

#include <poll.h>

namespace ExtensionSystem {

namespace {

// Qt takes a read that finds nothing for a read error. The bytes that woke it can be gone by
// then (a master clears what its client has not read when a request comes): a line that is
// really lost has hung up.
bool hasHungUp(qintptr descriptor)
{
    pollfd line{int(descriptor), POLLIN, 0};
    return ::poll(&line, 1, 0) < 0 || (line.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

} // namespace

SerialConnection::SerialConnection(const PortSettings &settings, QObject *parent)
    : TransferEngine(settings, parent)
    , m_port(new QSerialPort(this))
{
    m_port->setPortName(settings.portName);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    applyLineSettings(settings);
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError
            && error != QSerialPort::WriteError)
            return;
        if (bPortLost())
            return;
        if (error == QSerialPort::ReadError && !hasHungUp(m_port->handle())) {
            m_port->clearError();
            return;
        }
        linkLost(m_port->errorString());
        // Closing inside the port's own error signal would pull its buffer away
        // under it; until the queued close runs, further errors are ignored.
        QMetaObject::invokeMethod(m_port, &QSerialPort::close, Qt::QueuedConnection);
    });
}

SerialConnection::~SerialConnection() = default;

bool SerialConnection::open()
{
    if (m_port->isOpen())
        return true;
    if (!m_port->open(QIODevice::ReadWrite)) {
        setErrorString(m_port->errorString());
        return false;
    }
    attach(m_port);
    return true;
}

void SerialConnection::applyLineSettings(const PortSettings &settings)
{
    m_port->setBaudRate(settings.baudRate);
    m_port->setDataBits(settings.dataBits);
    m_port->setParity(settings.parity);
    m_port->setStopBits(settings.stopBits);
}

} // namespace ExtensionSystem
