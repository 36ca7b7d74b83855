#pragma once

#include "valueovertime.h"

#include <qwt_interval.h>

#include <QColor>
#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <array>

class QDockWidget;
class QMainWindow;
class QwtPlot;
class QwtPlotCurve;
class QwtPlotMarker;
class QwtPlotTextLabel;
class QwtPlotZoneItem;

namespace Utils {
namespace Charts {

class SampleSeries;

// One plot of a GenericChart: its dock, its QwtPlot with curve, labels and
// markers, its history and the view it shows.
class ChartPlot final
{
public:
    ChartPlot(int index, QMainWindow *mainWindow, bool panning, bool zooming);
    ~ChartPlot();
    ChartPlot(const ChartPlot &) = delete;
    ChartPlot &operator=(const ChartPlot &) = delete;

    // False once the main window destroyed the dock.
    bool isAlive() const;
    QDockWidget *dock() const;
    QwtPlot *plot() const;

    const ValueOverTime &history() const;
    void setHistory(ValueOverTime history);
    // Replots at once when the new sample is worth it, otherwise in time for its value to show
    // within longestValueLagMs.
    void append(double timeMs, double value, bool showValue, double analogValue, bool noiseBand,
                double noiseLow, double noiseHigh);
    void clear();

    void setTitle(const QString &title, const QString &subtitle, bool showAbove, bool showOnAxis);
    void setColor(const QColor &line, bool fillBelow, const QColor &fill, int lineWidth);
    void setMeasuringRange(double min, double max);
    void setHomeRange(double min, double max);
    void setRightAxisScale(double min, double max, double step);
    void enableRightAxis(bool enable);
    void setGuideLineVisible(bool visible);
    void setAnalogTagVisible(bool visible);
    void setCustomLabelsText(const QString &left, const QString &right);
    void setCustomLabelsVisible(bool left, bool right);
    void setAllowNegativeValues(bool allow);
    void setPrecision(int decimals);
    void setMinPanOffset(double percent);
    void setMaxPanOffset(double percent);
    void setBaselineAtBottom();
    void setValueLabelVisible(bool visible);
    // The texts of the plot itself (the time axis) in the current language.
    void retranslate();
    void setTimeWindow(double seconds);
    void setFixed(bool fixed);

    bool isFollowing() const;
    void jumpToNewest();
    // Replots when anything changed since the last time, new samples at the pace they show
    // at, or when forced.
    void refresh(bool force);
    // Replots once the event loop comes round, once for any number of changes.
    void markDirty();

private:
    void requestView(const QwtInterval &time, const QwtInterval &value);
    QwtInterval limited(const QwtInterval &value) const;
    double firstTime() const;
    // The value range while following: the home range widened to what must stay in sight.
    QwtInterval followedValue() const;
    void applyTime(const QwtInterval &time);
    void applyValue(const QwtInterval &value);
    void updateRightAxis();
    void updateAxisTitles();
    void updateDecorations();
    void styleItems();

    QPointer<QDockWidget> m_dock;   // owned, unless the main window deletes it first
    QwtPlot *m_plot;                // owned by m_dock
    QwtPlotCurve *m_curve;          // owned by m_plot
    SampleSeries *m_series;         // owned by m_curve
    QwtPlotTextLabel *m_valueLabel; // owned by m_plot
    QwtPlotMarker *m_analogTag;     // owned by m_plot
    QwtPlotMarker *m_guideLine;     // owned by m_plot
    QwtPlotZoneItem *m_noiseBand;   // owned by m_plot

    ValueOverTime m_history;
    QColor m_lineColor{0, 0, 188};
    QString m_title;
    QString m_customLeft;
    QString m_customRight;
    bool m_titleOnAxis = true;
    bool m_customLeftVisible = false;
    bool m_customRightVisible = false;

    QwtInterval m_measuring{0.0, 100.0};
    QwtInterval m_home{0.0, 100.0};
    QwtInterval m_right{0.0, 10.0};
    double m_rightStep = 0.0;
    bool m_rightAxis = false;
    double m_minPanPercent = 50.0;
    double m_maxPanPercent = 50.0;
    bool m_allowNegative = true;
    bool m_baselineAtBottom = false;
    // The view last given to the axes; Qwt applies it at the next replot.
    QwtInterval m_timeView;
    QwtInterval m_valueView;
    // min, max, step; none given yet
    std::array<double, 3> m_rightScale{qQNaN(), qQNaN(), qQNaN()};
    double m_timeWindowMs = 60000.0;
    bool m_following = true;
    // What a time label is long and a value label high, in the axes' fonts.
    int m_timeLabelWidth = 0;
    int m_valueLabelHeight = 0;

    int m_precision = 2;
    bool m_valueLabelVisible = true;
    bool m_hasLabelValue = false;
    double m_labelValue = 0.0;
    bool m_analogTagVisible = false;
    bool m_guideLineVisible = false;
    bool m_dirty = true;
    bool m_newSamples = false;
    double m_newestShownMs = 0.0;
    QElapsedTimer m_sinceReplot;
    QElapsedTimer m_unshownFor; // since the oldest sample not shown yet came
    QTimer m_changeTimer;       // zero delay
    QTimer m_lagTimer;          // for a newest value that no later sample brings into sight
};

} // namespace Charts
} // namespace Utils
