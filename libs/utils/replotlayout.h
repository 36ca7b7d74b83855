#pragma once

#include "utils_global.h"

#include <qwt_plot.h>
#include <qwt_scale_div.h>

#include <QFont>
#include <QString>

#include <array>

namespace Utils {
namespace Charts {

// What a plot's layout depends on besides its size: per axis whether it shows, the room its
// labels take beyond the canvas ends, its title and font, and for a value axis its ticks (their
// labels set its width). A time axis that only moved on keeps all of it.
struct UTILS_EXPORT PlotLayoutInputs
{
    struct Axis
    {
        bool enabled = false;
        int startBorder = 0;
        int endBorder = 0;
        QString title;
        QFont font;
        QwtScaleDiv valueTicks; // empty for a time axis

        bool operator==(const Axis &other) const;
    };

    static PlotLayoutInputs of(const QwtPlot &plot);
    bool operator==(const PlotLayoutInputs &other) const;
    bool operator!=(const PlotLayoutInputs &other) const { return !(*this == other); }

    std::array<Axis, QwtPlot::axisCnt> axes;
};

// A QwtPlot that lays itself out again on a replot only when its layout inputs changed: Qwt asks
// for a new layout whenever an axis's division moves, which a time axis does on every replot.
class SteadyLayoutPlot final : public QwtPlot
{
public:
    explicit SteadyLayoutPlot(QWidget *parent);

    void updateLayout() override;

protected:
    bool event(QEvent *event) override;

private:
    PlotLayoutInputs m_laidOutFor;
    bool m_laidOut = false;
};

} // namespace Charts
} // namespace Utils
