#pragma once

#include "extremes.h"
#include "utils_global.h"

#include <qwt_interval.h>

namespace Utils {
namespace Charts {

// What a plot that follows the newest samples shows, so that no sample in view is ever off it.

// The value range: the home range, widened to the measuring range and to the samples in view
// (`inView` as Extremes gives them; none when its indexes are -1). Samples beyond both get a
// small margin, so a peak is never drawn on the frame.
UTILS_EXPORT QwtInterval followedValueRange(const QwtInterval &home, const QwtInterval &measuring,
                                            const Extremes &inView);

// The time range: the last `windowMs` up to the newest sample, starting at the first sample
// until there is a window's worth of them (and never narrower than a second).
UTILS_EXPORT QwtInterval followedTimeRange(double firstMs, double newestMs, double windowMs);

} // namespace Charts
} // namespace Utils
