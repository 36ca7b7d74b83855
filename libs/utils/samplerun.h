#pragma once

#include "extremes.h"
#include "utils_global.h"

#include <QPointF>

#include <vector>

namespace Utils {

class HistoryCursor;

namespace Charts {

// The samples [begin, end) of a history, decoded and kept from one view to the next. Reads
// like a HistoryCursor, so that the column rule can take its samples from either.
class UTILS_EXPORT SampleRun final
{
public:
    // Keeps the samples [begin, end) of history, decoding only those not kept already.
    void take(HistoryCursor &history, int begin, int end);
    // Forgets the samples; call when the history shrank or was replaced.
    void clear();

    int begin() const;
    int end() const;

    // Of the kept samples only.
    double time(int index) const;
    double value(int index) const;
    int indexAtOrAfter(double timeMs, int begin, int end) const;
    Extremes extremes(int begin, int end) const;
    // All kept samples, in order.
    void appendPoints(std::vector<QPointF> &out) const;

private:
    std::vector<double> m_times;
    std::vector<double> m_values;
    int m_begin = 0;
};

} // namespace Charts
} // namespace Utils
