#include "sampleseries.h"

#include "columnreduction.h"
#include "historycursor.h"
#include "valueovertime.h"

#include <algorithm>
#include <cmath>

namespace Utils {
namespace Charts {

namespace {

QPointF pointOf(HistoryCursor &history, int index)
{
    return {history.time(index), history.value(index)};
}

} // namespace

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
    m_runBegin = -1;
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
    if (reduced) {
        m_points.clear();
        m_runBegin = -1;
        m_points.reserve(size_t(pointsPerColumn * m_columns + 2));
        if (begin < first)
            m_points.push_back(pointOf(history, begin));
        reduceToColumns(history, first, afterLast, from, to, m_columns, m_points);
        if (afterLast < end)
            m_points.push_back(pointOf(history, afterLast));
    } else {
        takeRun(history, begin, end);
    }
    updateBounds();
}

// A sample never changes once appended, and a history that is replaced or cleared resets the
// series: of a view that moved on with the newest samples only the new ones are decoded.
void SampleSeries::takeRun(HistoryCursor &history, int begin, int end)
{
    const int keptEnd = m_runBegin + int(m_points.size());
    if (m_runBegin < 0 || begin < m_runBegin || begin > keptEnd || end < keptEnd) {
        m_points.clear();
        m_runBegin = begin;
    }
    m_points.erase(m_points.begin(), m_points.begin() + (begin - m_runBegin));
    m_points.reserve(size_t(end - begin));
    for (int index = begin + int(m_points.size()); index < end; ++index)
        m_points.push_back(pointOf(history, index));
    m_runBegin = begin;
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
