#pragma once

#include "viewrequest.h"

#include <qwt_plot_panner.h>

namespace Utils {
namespace Charts {

// Drags the time and left axes with the mouse; the chart decides the view.
class ChartPanner final : public QwtPlotPanner
{
    Q_OBJECT
public:
    ChartPanner(QWidget *canvas, ViewRequest request);

protected slots:
    void moveCanvas(int dx, int dy) override;

private:
    ViewRequest m_request;
};

} // namespace Charts
} // namespace Utils
