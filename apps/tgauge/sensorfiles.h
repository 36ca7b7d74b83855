#pragma once

#include <QString>

// File names of a run with several sensors: each sensor reads and writes files of its own.
namespace TGauge {

// The name gives every sensor a file of its own: it holds {sensor} or {port}, or it is a folder
// (an existing one, or any name ending in '/').
bool namesEachSensorApart(const QString &pattern);

// The file of one sensor: {sensor} and {port} replaced, or in a folder "<sensor>-<port>.<suffix>"
// ("<sensor>.<suffix>" without a port); any other name stays as it is.
QString sensorFile(const QString &pattern, const QString &sensor, const QString &port,
                   const QString &suffix);

// A port as a piece of a file name: its last path element, with ':' as '_'
// ("/dev/ttyUSB0" -> "ttyUSB0", "tcp://10.0.0.5:4001" -> "10.0.0.5_4001").
QString portFileNamePart(const QString &port);

} // namespace TGauge
