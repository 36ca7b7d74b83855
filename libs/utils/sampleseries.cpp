#include "sampleseries.h"

#include "columnreduction.h"
#include "historycursor.h"
#include "valueovertime.h"

#include <algorithm>
#include <cmath>

namespace Utils {
namespace Charts {

SampleSeries::SampleSeries(const ValueOverTime *history)
    : m_history(history)
{
}

void SampleSeries::setColumns(int columns)
{
    m_columns = std::max(columns, 1);
}

void SampleSeries::reset()
{
    m_pointsSize = -1;
    m_points.clear();
    m_bounds = QRectF();
}

size_t SampleSeries::size() const
{
    return m_points.size();
}

QPointF SampleSeries::sample(size_t i) const
{
    return m_points[i];
}

QRectF SampleSeries::boundingRect() const
{
    return m_bounds;
}

void SampleSeries::setRectOfInterest(const QRectF &rect)
{
    const int count = m_history->size();
    const double from = rect.left();
    const double to = rect.right();
    if (from == m_pointsFrom && to == m_pointsTo && count == m_pointsSize
        && m_columns == m_pointsColumns)
        return;
    m_pointsFrom = from;
    m_pointsTo = to;
    m_pointsSize = count;
    m_pointsColumns = m_columns;
    HistoryCursor history(*m_history);
    // One neighbour on each side, so the line runs on to the canvas edges.
    const int first = history.indexAtOrAfter(from, 0, count);
    const int afterLast = history.indexAtOrAfter(std::nextafter(to, to + 1.0), first, count);
    const int begin = std::max(first - 1, 0);
    const int end = std::min(afterLast + 1, count);
    const bool reduced = afterLast - first > pointsPerColumn * m_columns;
    const auto addPoint = [this, &history](int index) {
        m_points.emplace_back(history.time(index), history.value(index));
    };
    m_points.clear();
    if (reduced) {
        m_points.reserve(size_t(pointsPerColumn * m_columns + 2));
        if (begin < first)
            addPoint(begin);
        reduceToColumns(history, first, afterLast, from, to, m_columns, m_points);
        if (afterLast < end)
            addPoint(afterLast);
    } else {
        m_points.reserve(size_t(end - begin));
        for (int index = begin; index < end; ++index)
            addPoint(index);
    }
    updateBounds();
}

void SampleSeries::updateBounds()
{
    if (m_points.empty()) {
        m_bounds = QRectF();
        return;
    }
    double low = m_points.front().y();
    double high = low;
    for (const QPointF &point : m_points) {
        low = std::min(low, point.y());
        high = std::max(high, point.y());
    }
    const double left = m_points.front().x();
    m_bounds = QRectF(left, low, m_points.back().x() - left, high - low);
}

} // namespace Charts
} // namespace Utils
