#pragma once

#include "utils_global.h"

#include <qwt_plot_textlabel.h>
#include <qwt_text.h>

#include <QPixmap>

namespace Utils {
namespace Charts {

// A text label in the canvas corner, drawn as QwtPlotTextLabel draws it, whose background and
// border are painted once per size and style: the value it shows changes on nearly every replot.
class UTILS_EXPORT BoxedTextLabel final : public QwtPlotTextLabel
{
public:
    void draw(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
              const QRectF &canvasRect) const override;

private:
    mutable QwtText m_boxStyle; // the text last boxed, without its characters
    mutable QPixmap m_box;
    mutable QwtText m_shownText;
    mutable QPixmap m_shown;
};

} // namespace Charts
} // namespace Utils
