#pragma once

#include "networkport.h"
#include "telnetcodec.h"
#include "transferengine.h"

class QTcpSocket;

namespace ExtensionSystem {

// A link to a serial device server over TCP: the raw byte stream, or Telnet
// with RFC 2217 COM-port control, which gives the remote line the port
// settings' baud rate and framing on connect and on every change.
class EXTENSIONSYSTEM_EXPORT NetworkConnection final : public TransferEngine
{
    Q_OBJECT
public:
    NetworkConnection(const NetworkPort &address, const PortSettings &settings,
                      QObject *parent = nullptr);
    ~NetworkConnection() override;

    // Looks the host up and connects, waiting in a local event loop so that
    // the windows keep running; false when the host is unknown, refuses,
    // cannot be reached or does not answer within timeoutMs.
    bool open(int timeoutMs = 5000);

protected:
    void applyLineSettings(const PortSettings &settings) override;
    QByteArray readBytes() override;
    void writeBytes(const QByteArray &bytes) override;

private:
    bool isTelnet() const { return m_address.protocol == NetworkPort::Protocol::Rfc2217; }

    NetworkPort m_address;
    QTcpSocket *m_socket; // owned (Qt parent)
    TelnetCodec m_telnet;
};

} // namespace ExtensionSystem
