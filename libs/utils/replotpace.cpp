#include "replotpace.h"

#include <algorithm>

namespace Utils {
namespace Charts {

bool newSamplesWorthReplot(double newestMs, double newestShownMs, double viewMs, int columns,
                           qint64 sinceReplotMs)
{
    const double msPerColumn = viewMs / std::max(1, columns);
    return newestMs - newestShownMs >= msPerColumn || sinceReplotMs >= longestValueLagMs;
}

} // namespace Charts
} // namespace Utils
