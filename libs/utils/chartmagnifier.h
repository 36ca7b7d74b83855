#pragma once

#include "viewrequest.h"

#include <qwt_plot_magnifier.h>

namespace Utils {
namespace Charts {

// Zooms the time and left axes around their centres with the wheel; the
// chart decides the view.
class ChartMagnifier final : public QwtPlotMagnifier
{
    Q_OBJECT
public:
    ChartMagnifier(QWidget *canvas, ViewRequest request);

protected:
    void rescale(double factor) override;

private:
    ViewRequest m_request;
};

} // namespace Charts
} // namespace Utils
