#include "chartpanner.h"

#include <qwt_plot.h>
#include <qwt_scale_map.h>

namespace Utils {
namespace Charts {

namespace {

QwtInterval shifted(const QwtPlot *plot, int axis, int pixels)
{
    const QwtScaleMap map = plot->canvasMap(axis);
    return QwtInterval(map.invTransform(map.transform(map.s1()) - pixels),
                       map.invTransform(map.transform(map.s2()) - pixels));
}

} // namespace

ChartPanner::ChartPanner(QWidget *canvas, ViewRequest request)
    : QwtPlotPanner(canvas)
    , m_request(std::move(request))
{
    setMouseButton(Qt::LeftButton);
}

void ChartPanner::moveCanvas(int dx, int dy)
{
    if ((dx == 0 && dy == 0) || !plot())
        return;
    plot()->updateAxes();
    m_request(shifted(plot(), QwtPlot::xBottom, dx), shifted(plot(), QwtPlot::yLeft, dy));
}

} // namespace Charts
} // namespace Utils
