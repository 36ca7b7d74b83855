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

// Pauses of the command sequences before their next frame, in ms at sleep scale 1: the time the
// master and the sensor take over the frame before.
constexpr unsigned int identityPauseMs = 50;       // after the product id's read, and its frames
constexpr unsigned int readRequestPauseMs = 50;    // after a parameter's read request
constexpr unsigned int processDataPauseMs = 70;    // after each process-data frame of a read
constexpr unsigned int betweenReadsPauseMs = 120;  // before each parameter of a read-all
constexpr unsigned int writeStepPauseMs = 100;     // before and after the fetch ahead of a write
constexpr unsigned int betweenWritesPauseMs = 250; // before and after each write of a write-all
constexpr unsigned int resetStepPauseMs = 100;     // between the frames of a factory reset
constexpr unsigned int readBackPauseMs = 250;      // from a write-all to the read that checks it

} // namespace Core
} // namespace BravoSensorPlugin
