#include "columnreduction.h"

#include "historycursor.h"
#include "samplerun.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace Utils {
namespace Charts {

namespace {

// Samples: a HistoryCursor or a SampleRun, whose reads give the same numbers.
template<typename Samples>
void reduce(Samples &samples, int begin, int end, double from, double to, int columns,
            std::vector<QPointF> &out)
{
    const int columnCount = std::max(columns, 1);
    const double width = (to - from) / columnCount;
    const bool single = !(width > 0.0);
    int first = begin;
    while (first < end) {
        const double firstTime = samples.time(first);
        const double firstValue = samples.value(first);
        const double column = single ? 0.0
                                     : std::clamp(std::floor((firstTime - from) / width), 0.0,
                                                  double(columnCount - 1));
        const double columnEnd = single || column + 1 >= columnCount
                                     ? std::numeric_limits<double>::infinity()
                                     : from + (column + 1) * width;
        // Rounding may put a column's end at its own first sample; never stall.
        const int next = std::max(first + 1, samples.indexAtOrAfter(columnEnd, first, end));
        // A scan starting at a NaN keeps it as both extremes: nothing compares below or above it.
        Extremes extremes;
        if (std::isnan(firstValue)) {
            extremes = {first, first, firstTime, firstValue, firstTime, firstValue};
        } else {
            extremes = samples.extremes(first, next);
        }
        const int last = next - 1;
        const QPointF lastPoint(samples.time(last), samples.value(last));
        std::pair lowest{extremes.minIndex, QPointF(extremes.minTime, extremes.minValue)};
        std::pair highest{extremes.maxIndex, QPointF(extremes.maxTime, extremes.maxValue)};
        if (highest.first < lowest.first)
            std::swap(lowest, highest);
        // Both extremes lie between the first and the last sample: in index order already,
        // each sample once.
        out.emplace_back(firstTime, firstValue);
        int shown = first;
        for (const auto &[index, point] : {lowest, highest, std::pair{last, lastPoint}}) {
            if (index != shown)
                out.push_back(point);
            shown = index;
        }
        first = next;
    }
}

} // namespace

void reduceToColumns(HistoryCursor &history, int begin, int end, double from, double to,
                     int columns, std::vector<QPointF> &out)
{
    reduce(history, begin, end, from, to, columns, out);
}

void reduceToColumns(const SampleRun &samples, int begin, int end, double from, double to,
                     int columns, std::vector<QPointF> &out)
{
    reduce(samples, begin, end, from, to, columns, out);
}

} // namespace Charts
} // namespace Utils
