#include "replotpace.h"

#include <algorithm>

namespace Utils {
namespace Charts {

// A poll comes more often than a pace: the one that finds the oldest sample this late shows
// it in time, and the plot's own timer is left for when no sample follows.
bool newSamplesWorthReplot(double newestMs, double newestShownMs, double viewMs, int columns,
                           qint64 sinceReplotMs, qint64 unshownForMs)
{
    if (sinceReplotMs < replotPaceMs)
        return false;
    const double msPerColumn = viewMs / std::max(1, columns);
    return newestMs - newestShownMs >= msPerColumn
           || unshownForMs >= longestValueLagMs - replotPaceMs;
}

} // namespace Charts
} // namespace Utils
