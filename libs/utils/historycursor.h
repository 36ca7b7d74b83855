#pragma once

#include "extremes.h"
#include "utils_global.h"
#include "valueovertime.h"

#include <array>

namespace Utils {

// Reads a ValueOverTime by index, keeping the last two blocks it decoded, so
// that reading in order, or around the two places last read (both ends of a
// pixel column), decodes each block once. Valid while the history does not
// change.
class UTILS_EXPORT HistoryCursor final
{
public:
    explicit HistoryCursor(const ValueOverTime &history);

    double time(int index);
    double value(int index);
    double analogValue(int index);

    // The first index in [begin, end) whose time stamp is not before timeMs
    // (end when none).
    int indexAtOrAfter(double timeMs, int begin, int end);
    // The extremes of the samples [begin, end): whole blocks from the
    // pyramid, only the partial ones at the ends decoded.
    Extremes extremes(int begin, int end);

private:
    struct Decoded
    {
        int block = -1;
        bool hasAnalogValues = false;
        std::array<double, ValueOverTime::blockSize> times;
        std::array<double, ValueOverTime::blockSize> values;
        std::array<double, ValueOverTime::blockSize> analogValues;
    };

    // The decoded block of index; null for the open block.
    Decoded *load(int index);
    const double *times(int index);
    const double *values(int index);

    const ValueOverTime &m_history;
    std::array<Decoded, 2> m_decoded;
    int m_newest = 0; // the slot used last
};

} // namespace Utils
