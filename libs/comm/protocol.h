#pragma once

#include <QtGlobal>

// The words of the master protocol, shared by the frame builders and the simulated master.
namespace BravoSensorPlugin {
namespace Core {
namespace Protocol {

enum Command : quint8 {
    ConfigureMaster = 0x11, // first command of the identity check
    Probe = 0x12,           // is a master there?
    StartPort = 0x21,       // second command of the identity check
    ProcessData = 0x22,     // process data; also ends reads and writes
    Write = 0x24,
    ReadRequest = 0x26,
    ResultFetch = 0x27, // the value of the preceding read
};

// A write of this value to this index is the system command "restore factory settings".
constexpr int systemCommandIndex = 0x02;
constexpr quint8 restoreFactorySettings = 0x82;

// The product id text: the sensor id followed by the variant code.
constexpr int productIdIndex = 0x13;

} // namespace Protocol
} // namespace Core
} // namespace BravoSensorPlugin
