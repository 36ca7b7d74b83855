#pragma once

#include "extensionsystem_global.h"

#include <QSerialPort>
#include <QString>

namespace ExtensionSystem {

// Settings of one serial port as a plug-in asks for it.
class EXTENSIONSYSTEM_EXPORT PortSettings
{
public:
    PortSettings();

    // Back to the defaults: no port, 38400 baud 8N1, no delays.
    void vInit();
    // Selects a baud rate from the table 9600, 19200, 38400, 57600, 115200;
    // an index outside it keeps the current rate.
    void vSetBaudrateDefault(int index);

    // 0 for an index outside the table.
    static qint32 baudRateForIndex(int index);

    QString portName;
    int characterDelay = 0; // ms between two bytes of a frame
    int lineDelay = 0;      // ms of quiet line before each frame
    int responseDelay = 0;  // ms the master is given before it answers; plug-ins write 0
    qint32 baudRate = 38400;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
};

} // namespace ExtensionSystem
