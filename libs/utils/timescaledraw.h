#pragma once

#include "localoffset.h"
#include "utils_global.h"

#include <qwt_date_scale_draw.h>

#include <QHash>
#include <QString>

namespace Utils {
namespace Charts {

// The chart's time axis: labels "hh:mm:ss" in local time, from a cached offset, at every zoom.
class UTILS_EXPORT TimeScaleDraw final : public QwtDateScaleDraw
{
public:
    TimeScaleDraw();

    QwtText label(double value) const override;
    // On whole pixels, so that a label drawn again is copied from what was drawn before; the
    // labels move on with the axis a pixel at a time anyway.
    void drawLabel(QPainter *painter, double value) const override;
    // The local offset at a time on the axis, in seconds east of UTC.
    int offsetAt(double value) const;

private:
    LocalOffset m_offset;
    // Qwt forgets its labels whenever the axis moves on, on every replot.
    mutable QHash<qint64, QString> m_texts; // by local seconds since 1970
};

} // namespace Charts
} // namespace Utils
