#pragma once

#include <QtGlobal>

namespace Kr7dSim {

// Faults a simulated master shows on purpose. Counts of 0 and negative times
// switch a fault off.
struct FaultSettings
{
    int latencyMs = 0;         // every answer leaves this late (the front ends wait)
    int dropEvery = 0;         // every Nth request gets no answer
    int corruptEvery = 0;      // every Nth answer has one bit flipped
    qint64 unplugAfterMs = -1; // the master disappears this long after the faults were set
};

struct FaultCounters
{
    int requestsSeen = 0;
    int answersDropped = 0;
    int answersCorrupted = 0;
};

} // namespace Kr7dSim
