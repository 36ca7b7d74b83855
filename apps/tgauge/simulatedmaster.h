#pragma once

#include <QString>

namespace TGauge {

// From now on a plugin object that registers the port `portName` talks to a
// simulated IO-Link master in this process instead of a serial port. The
// master carries the sensor `sensorName` of the description file (its first
// sensor when the name is empty), so that the identity check passes.
void serveSimulatedMaster(const QString &portName, const QString &sensorName,
                          const QString &descriptionPath);

} // namespace TGauge
