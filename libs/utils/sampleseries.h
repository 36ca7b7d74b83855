#pragma once

#include "samplerun.h"
#include "utils_global.h"

#include <qwt_series_data.h>

#include <vector>

namespace Utils {

class ValueOverTime;

namespace Charts {

// Lets a curve draw a ValueOverTime: the samples in view as they are, or,
// when there are more than a few per pixel column, reduced to the column
// extremes. Either way only the points in view are decoded, and of a view
// that moved on with the newest samples only the new ones.
class UTILS_EXPORT SampleSeries final : public QwtSeriesData<QPointF>
{
public:
    explicit SampleSeries(const ValueOverTime *history); // not owned

    // Pixel columns of the canvas the curve is drawn on.
    void setColumns(int columns);
    // Forgets what was derived from the store; call when it shrank.
    void reset();

    size_t size() const override;
    QPointF sample(size_t i) const override;
    QRectF boundingRect() const override;
    // Called by the curve before each redraw with the visible area.
    void setRectOfInterest(const QRectF &rect) override;

private:
    static constexpr int pointsPerColumn = 4;
    // Up to this many samples per column in view stay decoded in m_run.
    static constexpr int keptPerColumn = 16;

    void updateBounds();

    const ValueOverTime *m_history; // not owned
    int m_columns = 1;
    // What m_points were made for: a replot and a render ask the same again.
    double m_pointsFrom = 0.0;
    double m_pointsTo = 0.0;
    int m_pointsColumns = 0;
    int m_pointsSize = -1;
    SampleRun m_run;
    std::vector<QPointF> m_points;
    QRectF m_bounds;
};

} // namespace Charts
} // namespace Utils
