#pragma once

#include "transferengine.h"

class QSerialPort;

namespace ExtensionSystem {

// A link over a local serial port.
class EXTENSIONSYSTEM_EXPORT SerialConnection final : public TransferEngine
{
    Q_OBJECT
public:
    explicit SerialConnection(const PortSettings &settings, QObject *parent = nullptr);
    ~SerialConnection() override;

    // Opens the port named in the settings; false when it is missing, busy or refused.
    bool open();

protected:
    void applyLineSettings(const PortSettings &settings) override;

private:
    QSerialPort *m_port; // owned (Qt parent)
};

} // namespace ExtensionSystem
