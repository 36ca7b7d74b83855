#pragma once

#include "utils_global.h"

#include <cstddef>
#include <vector>

namespace Utils {

// The history of one plotted quantity: time stamps (milliseconds since 1970),
// values and the analog-output values that came with them, in three parallel
// arrays sorted by time.
class UTILS_EXPORT ValueOverTime final
{
public:
    // A time stamp older than the newest one is raised to it, so the
    // time stamps stay sorted.
    void append(double timeMs, double value, double analogValue);
    void reserve(std::size_t samples);
    void clear();

    int size() const;
    bool isEmpty() const;
    const double *pxData() const;      // time stamps
    const double *pyData() const;      // values
    const double *pAnalogData() const; // analog-output values

    // The first index whose time stamp is not before timeMs (size() when none).
    int indexAtOrAfter(double timeMs) const;

    // Takes the three arrays as they are; false (and nothing changed) when
    // their lengths differ or the time stamps are not sorted.
    bool assign(std::vector<double> times, std::vector<double> values,
                std::vector<double> analogValues);

private:
    std::vector<double> m_times;
    std::vector<double> m_values;
    std::vector<double> m_analogValues;
};

} // namespace Utils
