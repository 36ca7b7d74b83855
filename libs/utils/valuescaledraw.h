#pragma once

#include <qwt_scale_draw.h>

namespace Utils {
namespace Charts {

// A value axis: Qwt's labels, measured by the axis label engine.
class ValueScaleDraw final : public QwtScaleDraw
{
public:
    QwtText label(double value) const override;
};

} // namespace Charts
} // namespace Utils
