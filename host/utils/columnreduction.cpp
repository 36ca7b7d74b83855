#include "columnreduction.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace Utils {
namespace Charts {

void reduceToColumns(const double *times, const double *values, int begin, int end, double from,
                     double to, int columns, std::vector<QPointF> &out)
{
    const int columnCount = std::max(columns, 1);
    const double width = (to - from) / columnCount;
    const bool single = !(width > 0.0);
    int first = begin;
    while (first < end) {
        const double column = single ? 0.0
                                     : std::clamp(std::floor((times[first] - from) / width), 0.0,
                                                  double(columnCount - 1));
        const double columnEnd = single || column + 1 >= columnCount
                                     ? std::numeric_limits<double>::infinity()
                                     : from + (column + 1) * width;
        // Rounding may put a column's end at its own first sample; never stall.
        const int next = std::max(
            first + 1, int(std::lower_bound(times + first, times + end, columnEnd) - times));
        int lowest = first;
        int highest = first;
        for (int i = first + 1; i < next; ++i) {
            if (values[i] < values[lowest])
                lowest = i;
            if (values[i] > values[highest])
                highest = i;
        }
        std::array<int, 4> picked{first, lowest, highest, next - 1};
        std::sort(picked.begin(), picked.end());
        const auto last = std::unique(picked.begin(), picked.end());
        for (auto it = picked.begin(); it != last; ++it)
            out.emplace_back(times[*it], values[*it]);
        first = next;
    }
}

} // namespace Charts
} // namespace Utils
