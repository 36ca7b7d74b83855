#include "sampleseries.h"

#include "columnreduction.h"
#include "historycursor.h"
#include "valueovertime.h"

#include <algorithm>
#include <cmath>

namespace Utils {
namespace Charts {

namespace {

// The first index in [0, count) whose time stamp is not before timeMs. Looked up in the kept
// run when it lies there, so that a view that followed the newest samples decodes no block for
// its start.
int indexAtOrAfter(const SampleRun &run, HistoryCursor &history, double timeMs, int count)
{
    if (run.begin() == run.end() || !(run.time(run.begin()) < timeMs))
        return history.indexAtOrAfter(timeMs, 0, count);
    const int found = run.indexAtOrAfter(timeMs, run.begin(), run.end());
    return found < run.end() ? found : history.indexAtOrAfter(timeMs, run.end(), count);
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
    m_run.clear();
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
    const int first = indexAtOrAfter(m_run, history, from, count);
    const int afterLast = history.indexAtOrAfter(std::nextafter(to, to + 1.0), first, count);
    const int begin = std::max(first - 1, 0);
    const int end = std::min(afterLast + 1, count);
    // Up to keptPerColumn samples a column stay decoded: a column then spans far less than a
    // block, so through the cursor every sample in view would be decoded again on every replot,
    // where a view that moved on with the newest samples needs only those. The kept run takes
    // at most four times the memory of the points drawn; more samples, up to the whole history,
    // are left to the cursor, which takes the extremes of whole blocks from the pyramid.
    const int inView = afterLast - first;
    const auto reduce = [&](auto &samples) {
        m_points.reserve(size_t(pointsPerColumn * m_columns + 2));
        if (begin < first)
            m_points.emplace_back(samples.time(begin), samples.value(begin));
        reduceToColumns(samples, first, afterLast, from, to, m_columns, m_points);
        if (afterLast < end)
            m_points.emplace_back(samples.time(afterLast), samples.value(afterLast));
    };
    m_points.clear();
    if (inView > keptPerColumn * m_columns) {
        m_run.clear();
        reduce(history);
    } else {
        m_run.take(history, begin, end);
        if (inView > pointsPerColumn * m_columns)
            reduce(m_run);
        else
            m_run.appendPoints(m_points);
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
