#pragma once

#include "localoffset.h"

#include <qwt_date_scale_draw.h>

namespace Utils {
namespace Charts {

// The chart's time axis: labels "hh:mm:ss" in local time, from a cached offset.
class TimeScaleDraw final : public QwtDateScaleDraw
{
public:
    TimeScaleDraw();

    QwtText label(double value) const override;
    // The local offset at a time on the axis, in seconds east of UTC.
    int offsetAt(double value) const;

private:
    LocalOffset m_offset;
};

} // namespace Charts
} // namespace Utils
