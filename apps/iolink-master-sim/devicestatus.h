#pragma once

#include <QtGlobal>

namespace Kr7dSim {

// Status byte of an answer, after the IO-Link ISDU error codes.
enum class DeviceStatus : quint8 {
    Ok = 0x00,
    IndexNotAvailable = 0x11,
    SubIndexNotAvailable = 0x12,
    AccessDenied = 0x23,
    ValueOutOfRange = 0x30,
    LengthMismatch = 0x33,
};

} // namespace Kr7dSim
