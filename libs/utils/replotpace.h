#pragma once

#include "utils_global.h"

#include <QtGlobal>

namespace Utils {
namespace Charts {

// Five pictures a second carry a following trend along evenly; the rows of process data show
// every poll's value as it comes.
constexpr qint64 replotPaceMs = 200;
constexpr qint64 longestValueLagMs = 500;

// New samples alone are worth a replot once the last one is a pace ago and either the newest
// sample lies a pixel column past the newest one shown or the oldest one not shown has waited
// so long that the sample after it could come too late.
UTILS_EXPORT bool newSamplesWorthReplot(double newestMs, double newestShownMs, double viewMs,
                                        int columns, qint64 sinceReplotMs, qint64 unshownForMs);

} // namespace Charts
} // namespace Utils
