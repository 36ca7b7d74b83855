#include "extremes.h"

#include <cmath>

namespace Utils {

Extremes Extremes::of(const double *times, const double *values, int count, int firstIndex)
{
    Extremes result;
    int i = 0;
    while (i < count && std::isnan(values[i]))
        ++i;
    if (i == count)
        return result;
    int lowest = i;
    int highest = i;
    for (++i; i < count; ++i) {
        if (values[i] < values[lowest])
            lowest = i;
        if (values[i] > values[highest])
            highest = i;
    }
    result.minIndex = firstIndex + lowest;
    result.minTime = times[lowest];
    result.minValue = values[lowest];
    result.maxIndex = firstIndex + highest;
    result.maxTime = times[highest];
    result.maxValue = values[highest];
    return result;
}

void Extremes::add(const Extremes &later)
{
    if (later.minIndex >= 0 && (minIndex < 0 || later.minValue < minValue)) {
        minIndex = later.minIndex;
        minTime = later.minTime;
        minValue = later.minValue;
    }
    if (later.maxIndex >= 0 && (maxIndex < 0 || later.maxValue > maxValue)) {
        maxIndex = later.maxIndex;
        maxTime = later.maxTime;
        maxValue = later.maxValue;
    }
}

} // namespace Utils
