#include "chartmagnifier.h"

#include <qwt_plot.h>
#include <qwt_scale_div.h>

#include <cmath>

namespace Utils {
namespace Charts {

namespace {

QwtInterval scaled(const QwtPlot *plot, int axis, double factor)
{
    const QwtInterval current = plot->axisScaleDiv(axis).interval().normalized();
    const double centre = 0.5 * (current.minValue() + current.maxValue());
    const double halfWidth = 0.5 * current.width() * factor;
    return QwtInterval(centre - halfWidth, centre + halfWidth);
}

} // namespace

ChartMagnifier::ChartMagnifier(QWidget *canvas, ViewRequest request)
    : QwtPlotMagnifier(canvas)
    , m_request(std::move(request))
{
    // Qwt zooms out on a forward turn; viewers zoom in.
    setWheelFactor(1.0 / wheelFactor());
}

void ChartMagnifier::rescale(double factor)
{
    factor = std::abs(factor);
    if (factor == 1.0 || factor == 0.0 || !plot())
        return;
    plot()->updateAxes();
    m_request(scaled(plot(), QwtPlot::xBottom, factor), scaled(plot(), QwtPlot::yLeft, factor));
}

} // namespace Charts
} // namespace Utils
