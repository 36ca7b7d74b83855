#pragma once

class QByteArray;

// The window's frames without variable parameters.
namespace BravoSensorPlugin {
namespace Core {

QByteArray probeFrame();         // 03 51 12 01: is a master there?
QByteArray identitySetupFrame(); // 04 73 11 09 03: first master command of the identity check
QByteArray identityStartFrame(); // 03 70 21 03: second master command of the identity check
QByteArray productIdReadFrame(); // 05 46 26 13 00 00: read request of the product id
QByteArray processDataFrame();   // 02 70 22: process data; also ends reads and writes
QByteArray resultFetchFrame();   // 02 73 27: the value of the preceding read
QByteArray factoryResetFrame();  // 06 6B 24 02 00 00 82: system command "restore factory settings"

} // namespace Core
} // namespace BravoSensorPlugin
