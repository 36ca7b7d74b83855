#pragma once

#include "utils_global.h"

#include <QtGlobal>

namespace Utils {

// The system time zone's offset from UTC, looked up once for every stretch of time between two
// of its transitions: converting each axis label to local time on its own makes the C library
// read the zone's file again for every label.
class UTILS_EXPORT LocalOffset
{
public:
    // Seconds east of UTC at the instant.
    int secondsAt(qint64 msecsSinceEpoch) const;

private:
    void lookUp(qint64 msecsSinceEpoch) const;

    mutable qint64 m_validFrom = 0;  // the stretch the offset holds for: [from, until)
    mutable qint64 m_validUntil = 0; // empty until the first look-up
    mutable int m_seconds = 0;
};

} // namespace Utils
