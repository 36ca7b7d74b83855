#include "sampleseries.h"

#include "columnreduction.h"
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
    m_begin = m_end = 0;
    m_reduced = false;
    m_points.clear();
    m_bounds = QRectF();
}

size_t SampleSeries::size() const
{
    return m_reduced ? m_points.size() : size_t(m_end - m_begin);
}

QPointF SampleSeries::sample(size_t i) const
{
    if (m_reduced)
        return m_points[i];
    const int index = m_begin + int(i);
    return QPointF(m_history->pxData()[index], m_history->pyData()[index]);
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
    // One neighbour on each side, so the line runs on to the canvas edges.
    const int first = m_history->indexAtOrAfter(from);
    const int afterLast = m_history->indexAtOrAfter(std::nextafter(to, to + 1.0));
    m_begin = std::max(first - 1, 0);
    m_end = std::min(afterLast + 1, count);
    m_reduced = afterLast - first > pointsPerColumn * m_columns;
    m_points.clear();
    if (m_reduced) {
        m_points.reserve(size_t(pointsPerColumn * m_columns + 2));
        if (m_begin < first)
            addPoint(m_begin);
        reduceToColumns(m_history->pxData(), m_history->pyData(), first, afterLast, from, to,
                        m_columns, m_points);
        if (afterLast < m_end)
            addPoint(afterLast);
    }
    updateBounds();
}

void SampleSeries::addPoint(int index)
{
    m_points.emplace_back(m_history->pxData()[index], m_history->pyData()[index]);
}

void SampleSeries::updateBounds()
{
    const size_t count = size();
    if (count == 0) {
        m_bounds = QRectF();
        return;
    }
    double low = sample(0).y();
    double high = low;
    for (size_t i = 1; i < count; ++i) {
        const double y = sample(i).y();
        low = std::min(low, y);
        high = std::max(high, y);
    }
    const double left = sample(0).x();
    m_bounds = QRectF(left, low, sample(count - 1).x() - left, high - low);
}

} // namespace Charts
} // namespace Utils
