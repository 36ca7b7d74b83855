#pragma once

#include "communicationinterface.h"

#include <memory>

namespace ExtensionSystem {

// A connection over a serial port, driven by the GUI thread's event loop.
// Lists are served in the order they came, one record at a time; an answer
// is byte 0 = N followed by N bytes, with a right check octet and the
// request's command in byte 2 (or the "ERROR" frame).
class EXTENSIONSYSTEM_EXPORT SerialConnection final : public CommunicationInterface
{
    Q_OBJECT
public:
    explicit SerialConnection(const PortSettings &settings, QObject *parent = nullptr);
    ~SerialConnection() override;

    // Opens the port named in the settings; false when it is missing, busy or refused.
    bool open();
    QString errorString() const;

    bool bIsOpen() const override;
    void vSendRawData(std::string data) override;
    QString portName() const override;
    unsigned int uiSendDataFrames(DataFrame *frames) override;
    int iPendingTransfers() const override;
    // Closes the port; every pending record keeps status 0 and its list still finishes.
    void vClose() override;
    bool bPortLost() const override;
    // Applies baud rate and framing to the open port; the port name stays.
    void vSetPortSettings(const PortSettings *settings) override;
    PortSettings *poGetPortSettings() override;

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace ExtensionSystem
