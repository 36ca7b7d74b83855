#pragma once

#include "utils_global.h"

#include <QtGlobal>

namespace Utils {
namespace Charts {

// New samples alone are worth a replot once the newest one lies a pixel column past the newest
// one shown, or once the value shown has lagged long enough for a reader to notice.
UTILS_EXPORT bool newSamplesWorthReplot(double newestMs, double newestShownMs, double viewMs,
                                        int columns, qint64 sinceReplotMs);

constexpr qint64 longestValueLagMs = 500;

} // namespace Charts
} // namespace Utils
