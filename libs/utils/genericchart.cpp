#include "genericchart.h"

#include "chartplot.h"
#include "historytext.h"

#include <qwt_plot.h>

#include <QDateTime>
#include <QDockWidget>
#include <QEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPointer>

#include <algorithm>
#include <vector>

namespace Utils {
namespace Charts {

class GenericChart::Private
{
public:
    ChartPlot *plot(int index) const
    {
        if (index < 0 || index >= int(plots.size()) || !plots[size_t(index)]->isAlive())
            return nullptr;
        return plots[size_t(index)].get();
    }

    template <typename Action>
    void forEachPlot(Action action) const
    {
        for (const auto &plot : plots) {
            if (plot->isAlive())
                action(*plot);
        }
    }

    std::vector<std::unique_ptr<ChartPlot>> plots;
    std::vector<int> rows; // plots per layout row
    QPointer<QMainWindow> mainWindow;
};

GenericChart::GenericChart(int count, QWidget *parent, QMainWindow *mainWindow, bool panning,
                           bool zooming)
    : QWidget(parent)
    , d(std::make_unique<Private>())
{
    d->mainWindow = mainWindow;
    for (int i = 0; i < std::max(count, 0); ++i) {
        d->plots.push_back(std::make_unique<ChartPlot>(i, mainWindow, panning, zooming));
        ChartPlot &plot = *d->plots.back();
        plot.plot()->canvas()->installEventFilter(this);
        if (mainWindow)
            mainWindow->addDockWidget(Qt::RightDockWidgetArea, plot.dock(), Qt::Vertical);
    }
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
}

GenericChart::~GenericChart() = default;

int GenericChart::count() const
{
    return int(d->plots.size());
}

void GenericChart::AddLayoutRow(int columns)
{
    d->rows.push_back(std::max(columns, 1));
}

void GenericChart::UpdateLayout()
{
    if (!d->mainWindow)
        return;
    QList<QDockWidget *> rowDocks;
    int next = 0;
    const int count = this->count();
    for (size_t row = 0; next < count; ++row) {
        const int columns = row < d->rows.size() ? d->rows[row] : 1;
        QDockWidget *previous = nullptr;
        for (int column = 0; column < columns && next < count; ++column, ++next) {
            ChartPlot *plot = d->plot(next);
            if (!plot)
                continue;
            if (previous) {
                d->mainWindow->splitDockWidget(previous, plot->dock(), Qt::Horizontal);
            } else {
                d->mainWindow->addDockWidget(Qt::RightDockWidgetArea, plot->dock(), Qt::Vertical);
                rowDocks.append(plot->dock());
            }
            previous = plot->dock();
        }
    }
    // The plots take the width; whatever sits in the centre keeps what it needs.
    QList<int> widths;
    widths.reserve(rowDocks.size());
    for (int i = 0; i < rowDocks.size(); ++i)
        widths.append(d->mainWindow->width());
    d->mainWindow->resizeDocks(rowDocks, widths, Qt::Horizontal);
}

void GenericChart::UpdateMinimumHeights(int windowHeight)
{
    const int rows = std::max<int>(int(d->rows.size()), 1);
    const int minimum = std::max(windowHeight / (2 * rows), 60);
    d->forEachPlot([minimum](ChartPlot &plot) { plot.dock()->setMinimumHeight(minimum); });
}

void GenericChart::setDockFixedSize(bool fixed)
{
    d->forEachPlot([fixed](ChartPlot &plot) { plot.setFixed(fixed); });
}

QDockWidget *GenericChart::getDockChartItem(int plot) const
{
    ChartPlot *chartPlot = d->plot(plot);
    return chartPlot ? chartPlot->dock() : nullptr;
}

QwtPlot *GenericChart::poPlot(const int &plot) const
{
    ChartPlot *chartPlot = d->plot(plot);
    return chartPlot ? chartPlot->plot() : nullptr;
}

void GenericChart::setPlotTitle(int plot, const QString &title, const QString &subtitle,
                                bool showAbove, bool showOnAxis)
{
    if (ChartPlot *chartPlot = d->plot(plot))
        chartPlot->setTitle(title, subtitle, showAbove, showOnAxis);
}

void GenericChart::setPlotColor(int plot, const QColor &lineColor, bool fillBelow,
                                const QColor &fillColor, int lineWidth)
{
    if (ChartPlot *chartPlot = d->plot(plot))
        chartPlot->setColor(lineColor, fillBelow, fillColor, lineWidth);
}

void GenericChart::setScale(int plot, double min, double max)
{
    if (ChartPlot *chartPlot = d->plot(plot))
        chartPlot->setMeasuringRange(min, max);
}

void GenericChart::vSetYScale(int plot, double min, double max)
{
    if (ChartPlot *chartPlot = d->plot(plot))
        chartPlot->setHomeRange(min, max);
}

void GenericChart::setYRightAxisScale(int plot, double min, double max, double step)
{
    if (ChartPlot *chartPlot = d->plot(plot))
        chartPlot->setRightAxisScale(min, max, step);
}

void GenericChart::vEnableYRightAxis(int plot, bool enable)
{
    if (ChartPlot *chartPlot = d->plot(plot))
        chartPlot->enableRightAxis(enable);
}

void GenericChart::setRightMarkerVisible(int plot, bool visible)
{
    if (ChartPlot *chartPlot = d->plot(plot))
        chartPlot->setGuideLineVisible(visible);
}

void GenericChart::vSetMarkerRightVisible(int plot, bool visible)
{
    if (ChartPlot *chartPlot = d->plot(plot))
        chartPlot->setAnalogTagVisible(visible);
}

void GenericChart::setCustomLabelsText(int plot, const QString &left, const QString &right)
{
    if (ChartPlot *chartPlot = d->plot(plot))
        chartPlot->setCustomLabelsText(left, right);
}

void GenericChart::setCustomLabelsVisible(int plot, bool left, bool right)
{
    if (ChartPlot *chartPlot = d->plot(plot))
        chartPlot->setCustomLabelsVisible(left, right);
}

void GenericChart::setAllowNegativeValues(int plot, bool allow)
{
    if (ChartPlot *chartPlot = d->plot(plot))
        chartPlot->setAllowNegativeValues(allow);
}

void GenericChart::setCurrentValuePrecision(int plot, int decimals)
{
    if (ChartPlot *chartPlot = d->plot(plot))
        chartPlot->setPrecision(decimals);
}

void GenericChart::setMinPanOffset(int plot, double percent)
{
    if (ChartPlot *chartPlot = d->plot(plot))
        chartPlot->setMinPanOffset(percent);
}

void GenericChart::setMaxPanOffset(int plot, double percent)
{
    if (ChartPlot *chartPlot = d->plot(plot))
        chartPlot->setMaxPanOffset(percent);
}

void GenericChart::setBaselineTo(int plot)
{
    if (ChartPlot *chartPlot = d->plot(plot))
        chartPlot->setBaselineAtBottom();
}

void GenericChart::vSetLabels(bool visible)
{
    d->forEachPlot([visible](ChartPlot &plot) { plot.setValueLabelVisible(visible); });
}

void GenericChart::setTimelineScale(double from, double to)
{
    d->forEachPlot([seconds = to - from](ChartPlot &plot) { plot.setTimeWindow(seconds); });
}

void GenericChart::vAppendData(int plot, double value, bool showValue, double analogValue,
                               bool noiseBand, double noiseLow, double noiseHigh)
{
    if (ChartPlot *chartPlot = d->plot(plot)) {
        chartPlot->append(double(QDateTime::currentMSecsSinceEpoch()), value, showValue,
                          analogValue, noiseBand, noiseLow, noiseHigh);
    }
}

const ValueOverTime *GenericChart::getData(const int &plot) const
{
    ChartPlot *chartPlot = d->plot(plot);
    return chartPlot ? &chartPlot->history() : nullptr;
}

void GenericChart::setData(const int &plot, ValueOverTime history)
{
    if (ChartPlot *chartPlot = d->plot(plot))
        chartPlot->setHistory(std::move(history));
}

std::string GenericChart::dataToString(const int &plot) const
{
    ChartPlot *chartPlot = d->plot(plot);
    return chartPlot ? historyToText(chartPlot->history()) : std::string();
}

bool GenericChart::setDataFromString(const int &plot, const std::string &text, char separator)
{
    ChartPlot *chartPlot = d->plot(plot);
    ValueOverTime history;
    if (!chartPlot || !historyFromText(text, separator, history))
        return false;
    chartPlot->setHistory(std::move(history));
    return true;
}

void GenericChart::clear()
{
    d->forEachPlot([](ChartPlot &plot) { plot.clear(); });
}

void GenericChart::clear(const int &plot)
{
    if (ChartPlot *chartPlot = d->plot(plot))
        chartPlot->clear();
}

void GenericChart::jumpToPlottingArea()
{
    d->forEachPlot([](ChartPlot &plot) { plot.jumpToNewest(); });
}

void GenericChart::updateChart(bool now)
{
    d->forEachPlot([now](ChartPlot &plot) { plot.refresh(now); });
}

void GenericChart::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        const bool enabled = isEnabled();
        d->forEachPlot([enabled](ChartPlot &plot) { plot.plot()->setEnabled(enabled); });
    } else if (event->type() == QEvent::LanguageChange) {
        d->forEachPlot([](ChartPlot &plot) { plot.retranslate(); });
    }
    QWidget::changeEvent(event);
}

bool GenericChart::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        jumpToPlottingArea();
        emit vSignalZommResetForNoiseLine();
    } else if (event->type() == QEvent::Resize || event->type() == QEvent::Show) {
        // A plot shown again draws what came while it was out of sight, as a resized one its size.
        d->forEachPlot([](ChartPlot &plot) { plot.markDirty(); });
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace Charts
} // namespace Utils
