#pragma once

#include "utils_global.h"

#include <QPointF>

#include <vector>

namespace Utils {
namespace Charts {

// Reduces the samples [begin, end) of sorted time stamps to at most four
// points per pixel column of the time span [from, to): the first, lowest,
// highest and last sample of every column, in their original order. The
// drawn line keeps every peak while the point count depends on the width only.
UTILS_EXPORT void reduceToColumns(const double *times, const double *values, int begin, int end,
                                  double from, double to, int columns, std::vector<QPointF> &out);

} // namespace Charts
} // namespace Utils
