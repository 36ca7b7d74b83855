#pragma once

#include <QByteArray>
#include <QtGlobal>

// Frames exchanged with the IO-Link master: N, check octet, command, parameters.
// Multi-byte indexes go low byte first, multi-byte values high byte first.
namespace BravoSensorPlugin {
namespace Core {

// The 6-bit IO-Link checksum (seed 0x52) over the command and its parameters;
// byte 1 of a frame is 0x40 | checkOctet(...).
quint8 checkOctet(quint8 command, const quint8 *parameters, int count);

// N, 0x40 | check octet, command, parameters.
QByteArray buildFrame(quint8 command, const QByteArray &parameters = QByteArray());

// True when byte 0 counts the rest of the frame and byte 1 is its check octet.
bool isFrameIntact(const QByteArray &frame);

QByteArray readRequestFrame(int index, int subIndex);
// size 7 carries a two-byte value (high byte first), any other size one byte.
QByteArray writeFrame(int index, int subIndex, int size, int value);

} // namespace Core
} // namespace BravoSensorPlugin
