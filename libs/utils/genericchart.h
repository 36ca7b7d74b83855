#pragma once

#include "utils_global.h"

#include <QWidget>

#include <memory>
#include <string>

class QColor;
class QDockWidget;
class QMainWindow;
class QwtPlot;

namespace Utils {

class ValueOverTime;

namespace Charts {

// A set of live plots, each a QwtPlot in its own dock of a main window,
// addressed by index from 0. Samples are time-stamped when appended and kept
// for as long as the chart lives; the plots redraw as new samples come, at the
// pace they show at, and follow the newest samples until the user pans or
// zooms. The widget itself holds no plot: it goes into the host window's
// layout and enabling or disabling it enables or disables every plot.
class UTILS_EXPORT GenericChart : public QWidget
{
    Q_OBJECT
public:
    // panning: the left mouse button drags the view; zooming: the wheel zooms.
    GenericChart(int count, QWidget *parent, QMainWindow *mainWindow, bool panning = true,
                 bool zooming = true);
    ~GenericChart() override;

    int count() const;

    // Layout: rows of docks, each row holding `columns` plots side by side.
    void AddLayoutRow(int columns);
    void UpdateLayout();
    // Shares `windowHeight` among the rows as the docks' minimum heights.
    void UpdateMinimumHeights(int windowHeight);
    // Fixed docks can be neither moved, floated nor closed.
    void setDockFixedSize(bool fixed);
    QDockWidget *getDockChartItem(int plot) const;
    QwtPlot *poPlot(const int &plot) const;

    // Per plot. `title` goes above the canvas when `showAbove`, and on the
    // left axis when `showOnAxis` (unless a custom left label is visible);
    // `subtitle` is set in small type under the title above the canvas.
    void setPlotTitle(int plot, const QString &title, const QString &subtitle, bool showAbove,
                      bool showOnAxis);
    void setPlotColor(int plot, const QColor &lineColor, bool fillBelow, const QColor &fillColor,
                      int lineWidth);
    // The measuring range: shown at once, returned to by jumpToPlottingArea,
    // and the reference of the pan offsets.
    void setScale(int plot, double min, double max);
    // The left axis range shown and returned to, measuring range unchanged.
    void vSetYScale(int plot, double min, double max);
    // The right axis maps the left axis range onto min..max, ticks every step.
    void setYRightAxisScale(int plot, double min, double max, double step);
    void vEnableYRightAxis(int plot, bool enable);
    // A guide line at the newest sample's height, drawn across the canvas.
    void setRightMarkerVisible(int plot, bool visible);
    // A tag on the right axis with the newest analog value.
    void vSetMarkerRightVisible(int plot, bool visible);
    // Axis captions that replace the title on the left and right axis.
    void setCustomLabelsText(int plot, const QString &left, const QString &right);
    void setCustomLabelsVisible(int plot, bool left, bool right);
    // Without negative values the view is never panned below zero.
    void setAllowNegativeValues(int plot, bool allow);
    void setCurrentValuePrecision(int plot, int decimals);
    // How far, in percent of the measuring range, the view may be panned
    // below its minimum and above its maximum.
    void setMinPanOffset(int plot, double percent);
    void setMaxPanOffset(int plot, double percent);
    // The fill below the curve reaches down to the bottom of the left axis
    // range instead of zero.
    void setBaselineTo(int plot);

    // Every plot.
    // The current-value label in each plot's corner.
    void vSetLabels(bool visible);
    // The time axis shows `to - from` seconds.
    void setTimelineScale(double from, double to);

    // Data. `showValue` puts the value on the current-value label; with
    // `noiseBand` the band noiseLow..noiseHigh is shaded, otherwise it is
    // hidden.
    void vAppendData(int plot, double value, bool showValue, double analogValue, bool noiseBand,
                     double noiseLow, double noiseHigh);
    const ValueOverTime *getData(const int &plot) const;
    // Replaces a plot's history.
    void setData(const int &plot, ValueOverTime history);
    // The history as text of letters, digits, '+', '/', '=' and ';'.
    std::string dataToString(const int &plot) const;
    // Reads what dataToString wrote, with its ';' given as `separator`.
    // A malformed text or a separator that the text uses otherwise returns
    // false and leaves the plot as it was.
    bool setDataFromString(const int &plot, const std::string &text, char separator);
    void clear();
    void clear(const int &plot);

signals:
    // The user reset the view (double click); a noise band needs re-deriving.
    void vSignalZommResetForNoiseLine();

public slots:
    // Back to the newest samples and the left axis range, following new ones.
    void jumpToPlottingArea();
    // Redraws what changed now, or at the pace new samples show at (`now` false).
    void updateChart(bool now);

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace Charts
} // namespace Utils
