#include "valuescaledraw.h"

#include "axislabelengine.h"

namespace Utils {
namespace Charts {

QwtText ValueScaleDraw::label(double value) const
{
    return QwtText(QwtScaleDraw::label(value).text(), AxisLabelEngine::format());
}

} // namespace Charts
} // namespace Utils
