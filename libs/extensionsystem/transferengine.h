#pragma once

#include "communicationinterface.h"

#include <memory>

class QIODevice;

namespace ExtensionSystem {

// The transfer rules every link shares: lists are served in the order they
// came, one record at a time, each sent once the line has been quiet for the
// line delay and with the character delay between bytes; an answer is byte 0
// = N followed by N bytes, with a right check octet and the request's command
// in byte 2 (or the "ERROR" frame), taken within the record's time-out. A link
// only opens its byte stream, attaches it and says when it was lost.
class EXTENSIONSYSTEM_EXPORT TransferEngine : public CommunicationInterface
{
    Q_OBJECT
public:
    ~TransferEngine() override;

    // Why the link could not open or was lost; empty while it is fine.
    QString errorString() const;

    bool bIsOpen() const override;
    void vSendRawData(std::string data) override;
    QString portName() const override;
    unsigned int uiSendDataFrames(DataFrame *frames) override;
    int iPendingTransfers() const override;
    // Closes the link; every pending record keeps status 0 and its list still finishes.
    void vClose() override;
    bool bPortLost() const override;
    // Applies baud rate and framing to the open link; the port name stays.
    void vSetPortSettings(const PortSettings *settings) override;
    PortSettings *poGetPortSettings() override;

protected:
    explicit TransferEngine(const PortSettings &settings, QObject *parent = nullptr);

    // The open link's byte stream (not owned); null detaches it.
    void attach(QIODevice *device);
    QIODevice *device() const;
    // The link broke: pending records fail and the port counts as lost.
    void linkLost(const QString &reason);
    void setErrorString(const QString &reason);
    const PortSettings &settings() const;
    // Time-outs last timeoutMs times this factor (in-process links in tests).
    void setTimeoutScale(double scale);

    // Gives the settings' baud rate and framing to the line behind the link.
    virtual void applyLineSettings(const PortSettings &settings);
    // Links with an in-band protocol of their own (Telnet) wrap the bytes here.
    virtual QByteArray readBytes();
    virtual void writeBytes(const QByteArray &bytes);

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace ExtensionSystem
