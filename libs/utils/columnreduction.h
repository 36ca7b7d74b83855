#pragma once

#include "utils_global.h"

#include <QPointF>

#include <vector>

namespace Utils {

class HistoryCursor;

namespace Charts {

class SampleRun;

// Reduces the samples [begin, end) of a history to at most four points per
// pixel column of the time span [from, to): the first, lowest, highest and
// last sample of every column, in their original order. The drawn line keeps
// every peak while the point count depends on the width only, and so does
// the cost: the extremes of a column come from the history's pyramid.
UTILS_EXPORT void reduceToColumns(HistoryCursor &history, int begin, int end, double from,
                                  double to, int columns, std::vector<QPointF> &out);
// The same points from samples decoded before; [begin, end) must be among them.
UTILS_EXPORT void reduceToColumns(const SampleRun &samples, int begin, int end, double from,
                                  double to, int columns, std::vector<QPointF> &out);

} // namespace Charts
} // namespace Utils
