#include "followview.h"

#include <algorithm>

namespace Utils {
namespace Charts {

namespace {

constexpr double dataMarginShare = 0.05;
constexpr double narrowestTimeMs = 1000.0;

} // namespace

QwtInterval followedValueRange(const QwtInterval &home, const QwtInterval &measuring,
                               const Extremes &inView)
{
    double low = std::min(home.minValue(), measuring.minValue());
    double high = std::max(home.maxValue(), measuring.maxValue());
    if (inView.minIndex < 0)
        return QwtInterval(low, high);
    const double margin
        = (std::max(high, inView.maxValue) - std::min(low, inView.minValue)) * dataMarginShare;
    if (inView.minValue < low)
        low = inView.minValue - margin;
    if (inView.maxValue > high)
        high = inView.maxValue + margin;
    return QwtInterval(low, high);
}

QwtInterval followedTimeRange(double firstMs, double newestMs, double windowMs)
{
    const double from = std::max(newestMs - windowMs, firstMs);
    return QwtInterval(from, std::max(newestMs, from + std::min(narrowestTimeMs, windowMs)));
}

} // namespace Charts
} // namespace Utils
