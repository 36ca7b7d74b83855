#pragma once

#include "utils_global.h"

namespace Utils {

// The lowest and highest sample of a run of samples: the first of equal ones,
// NaN values left out (an index of -1 when every value was NaN).
struct UTILS_EXPORT Extremes
{
    int minIndex = -1;
    int maxIndex = -1;
    double minTime = 0.0;
    double minValue = 0.0;
    double maxTime = 0.0;
    double maxValue = 0.0;

    // The samples [0, count) of the arrays, numbered from firstIndex.
    static Extremes of(const double *times, const double *values, int count, int firstIndex);
    // Joins the extremes of the run that directly follows.
    void add(const Extremes &later);
};

} // namespace Utils
