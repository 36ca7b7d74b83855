#include "replotlayout.h"

#include <qwt_scale_widget.h>
#include <qwt_text.h>

#include <QEvent>

namespace Utils {
namespace Charts {

bool PlotLayoutInputs::Axis::operator==(const Axis &other) const
{
    return enabled == other.enabled && startBorder == other.startBorder
           && endBorder == other.endBorder && title == other.title && font == other.font
           && valueTicks == other.valueTicks;
}

PlotLayoutInputs PlotLayoutInputs::of(const QwtPlot &plot)
{
    PlotLayoutInputs inputs;
    for (int id = 0; id < QwtPlot::axisCnt; ++id) {
        Axis &axis = inputs.axes[size_t(id)];
        axis.enabled = plot.axisEnabled(id);
        if (!axis.enabled)
            continue;
        const QwtScaleWidget *widget = plot.axisWidget(id);
        axis.startBorder = widget->startBorderDist();
        axis.endBorder = widget->endBorderDist();
        axis.title = widget->title().text();
        axis.font = widget->font();
        if (id == QwtPlot::yLeft || id == QwtPlot::yRight)
            axis.valueTicks = plot.axisScaleDiv(id);
    }
    return inputs;
}

bool PlotLayoutInputs::operator==(const PlotLayoutInputs &other) const
{
    return axes == other.axes;
}

SteadyLayoutPlot::SteadyLayoutPlot(QWidget *parent)
    : QwtPlot(parent)
{
}

void SteadyLayoutPlot::updateLayout()
{
    QwtPlot::updateLayout();
    m_laidOutFor = PlotLayoutInputs::of(*this);
    m_laidOut = true;
}

// A resize, a title or an axis switched on or off lays out directly, not through a request.
bool SteadyLayoutPlot::event(QEvent *event)
{
    if (event->type() == QEvent::LayoutRequest && m_laidOut
        && PlotLayoutInputs::of(*this) == m_laidOutFor)
        return true;
    return QwtPlot::event(event);
}

} // namespace Charts
} // namespace Utils
