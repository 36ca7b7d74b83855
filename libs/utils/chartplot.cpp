#include "chartplot.h"

#include "axislabelengine.h"
#include "boxedtextlabel.h"
#include "chartmagnifier.h"
#include "chartpanner.h"
#include "followview.h"
#include "historycursor.h"
#include "replotlayout.h"
#include "replotpace.h"
#include "sampleseries.h"
#include "timescaledraw.h"
#include "valuescaledraw.h"

#include <qwt_date_scale_engine.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_textlabel.h>
#include <qwt_plot_zoneitem.h>
#include <qwt_scale_widget.h>
#include <qwt_text.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDockWidget>
#include <QFontMetrics>
#include <QLocale>
#include <QMainWindow>
#include <QTextDocument>

#include <algorithm>
#include <limits>

namespace Utils {
namespace Charts {

namespace {

// Plain titles are drawn from kept layouts, as the labels are: the time axis draws its title on
// every replot.
QwtText axisText(const QString &text)
{
    QwtText result(text, Qt::mightBeRichText(text) ? QwtText::AutoText : AxisLabelEngine::format());
    QFont font = result.font();
    font.setPointSizeF(9.0);
    result.setFont(font);
    return result;
}

int timeLabelWidth(const QwtPlot *plot)
{
    return QFontMetrics(plot->axisWidget(QwtPlot::xBottom)->font())
        .horizontalAdvance(QStringLiteral("00:00:00"));
}

// Intervals between major ticks along `length` pixels for labels `labelLength` long each: as many
// as Qwt divides an axis into by default, fewer where they would not fit.
int labelsThatFit(int length, int labelLength)
{
    constexpr int qwtMaxMajor = 8;
    return std::clamp(2 * length / (3 * std::max(1, labelLength)), 1, qwtMaxMajor);
}

// Ticks fall on local seconds and minutes through an offset the view keeps up to date. Room for
// half a label at each end, whether a label stands there or not: the canvas keeps its width
// while the labels move along, and the plot need not be laid out again.
void setupTimeAxis(QwtPlot *plot)
{
    plot->setAxisScaleDraw(QwtPlot::xBottom, new TimeScaleDraw);
    plot->setAxisScaleEngine(QwtPlot::xBottom, new QwtDateScaleEngine(Qt::OffsetFromUTC));
    QwtScaleWidget *axis = plot->axisWidget(QwtPlot::xBottom);
    const int halfLabel = timeLabelWidth(plot) / 2 + 2;
    axis->setMinBorderDist(halfLabel, halfLabel);
    // Opaque in the plot's own colour: the labels move on with every replot, and the plot behind
    // them would be painted again with them.
    axis->setAutoFillBackground(true);
}

void addGrid(QwtPlot *plot)
{
    auto *grid = new QwtPlotGrid;
    grid->setMajorPen(QColor(0, 0, 0, 40), 0.0, Qt::DotLine);
    grid->attach(plot);
}

} // namespace

ChartPlot::ChartPlot(int index, QMainWindow *mainWindow, bool panning, bool zooming)
    : m_dock(new QDockWidget(
        QCoreApplication::translate("Utils::Charts::GenericChart", "Chart %1").arg(index + 1),
        mainWindow))
    , m_plot(new SteadyLayoutPlot(m_dock))
    , m_curve(new QwtPlotCurve)
    , m_series(new SampleSeries(&m_history))
    , m_valueLabel(new BoxedTextLabel)
    , m_analogTag(new QwtPlotMarker)
    , m_guideLine(new QwtPlotMarker)
    , m_noiseBand(new QwtPlotZoneItem)
{
    m_dock->setObjectName(QStringLiteral("chartDock%1").arg(index));
    m_dock->setWidget(m_plot);
    // Qwt's own hint (axes, titles) is taller than a dock in a 500-pixel window may be.
    m_plot->setMinimumSize(160, 80);
    // Opaque, so that a replot repaints the plot only and not the dock and window behind it.
    m_plot->setAutoFillBackground(true);

    auto *canvas = new QwtPlotCanvas;
    canvas->setFrameStyle(QFrame::NoFrame);
    // A replot paints into the window's own backing store: a canvas cache of its own would be a
    // new image, filled page by page, on every replot.
    canvas->setPaintAttribute(QwtPlotCanvas::BackingStore, false);
    m_plot->setCanvas(canvas);
    m_plot->setCanvasBackground(Qt::white);
    m_plot->setAutoReplot(false);
    setupTimeAxis(m_plot);
    m_plot->setAxisScaleDraw(QwtPlot::yLeft, new ValueScaleDraw);
    m_plot->setAxisScaleDraw(QwtPlot::yRight, new ValueScaleDraw);
    retranslate();
    m_plot->enableAxis(QwtPlot::yRight, false);
    addGrid(m_plot);
    m_timeLabelWidth = timeLabelWidth(m_plot);
    m_valueLabelHeight = QFontMetrics(m_plot->axisWidget(QwtPlot::yLeft)->font()).height();

    const ViewRequest request
        = [this](const QwtInterval &time, const QwtInterval &value) { requestView(time, value); };
    if (panning) {
        auto *panner = new ChartPanner(canvas, request);
        panner->setAxisEnabled(QwtPlot::yRight, false);
    }
    if (zooming) {
        auto *magnifier = new ChartMagnifier(canvas, request);
        magnifier->setAxisEnabled(QwtPlot::yRight, false);
    }

    m_curve->setData(m_series);
    m_curve->setItemAttribute(QwtPlotItem::AutoScale, false);
    m_curve->setPaintAttribute(QwtPlotCurve::ClipPolygons, true);
    m_curve->setRenderHint(QwtPlotItem::RenderAntialiased, true);
    m_curve->attach(m_plot);

    m_noiseBand->setOrientation(Qt::Horizontal);
    m_noiseBand->setVisible(false);
    m_noiseBand->attach(m_plot);

    m_guideLine->setLineStyle(QwtPlotMarker::HLine);
    m_guideLine->attach(m_plot);

    m_analogTag->setAxes(QwtPlot::xBottom, QwtPlot::yRight);
    m_analogTag->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_analogTag->attach(m_plot);

    m_valueLabel->setMargin(8);
    m_valueLabel->setZ(100.0);
    m_valueLabel->attach(m_plot);

    styleItems();
    applyValue(m_home);
    updateDecorations();

    for (QTimer *timer : {&m_changeTimer, &m_lagTimer}) {
        timer->setSingleShot(true);
        // The main window may have destroyed the dock, and the plot with it, meanwhile.
        QObject::connect(timer, &QTimer::timeout, [this] {
            if (isAlive())
                refresh(false);
        });
    }
    // A coarse timer may fire a twentieth late.
    m_lagTimer.setTimerType(Qt::PreciseTimer);
}

ChartPlot::~ChartPlot()
{
    delete m_dock.data();
}

bool ChartPlot::isAlive() const
{
    return !m_dock.isNull();
}

QDockWidget *ChartPlot::dock() const
{
    return m_dock;
}

QwtPlot *ChartPlot::plot() const
{
    return m_plot;
}

const ValueOverTime &ChartPlot::history() const
{
    return m_history;
}

void ChartPlot::setHistory(ValueOverTime history)
{
    m_history.clear();
    m_history = std::move(history);
    m_series->reset();
    markDirty();
}

void ChartPlot::append(double timeMs, double value, bool showValue, double analogValue,
                       bool noiseBand, double noiseLow, double noiseHigh)
{
    m_history.append(timeMs, value, analogValue);
    if (showValue) {
        m_hasLabelValue = true;
        m_labelValue = value;
    }
    m_noiseBand->setVisible(noiseBand);
    if (noiseBand)
        m_noiseBand->setInterval(noiseLow, noiseHigh);
    if (!m_newSamples)
        m_unshownFor.start();
    m_newSamples = true;
    refresh(false);
}

void ChartPlot::clear()
{
    m_history.clear();
    m_series->reset();
    m_hasLabelValue = false;
    m_noiseBand->setVisible(false);
    markDirty();
}

void ChartPlot::setTitle(const QString &title, const QString &subtitle, bool showAbove,
                         bool showOnAxis)
{
    m_title = title;
    m_titleOnAxis = showOnAxis;
    if (!showAbove || (title.isEmpty() && subtitle.isEmpty())) {
        m_plot->setTitle(QwtText());
    } else if (subtitle.isEmpty()) {
        m_plot->setTitle(title);
    } else {
        const QString html = title.toHtmlEscaped() + QStringLiteral("<br/><small>")
                             + subtitle.toHtmlEscaped() + QStringLiteral("</small>");
        m_plot->setTitle(QwtText(html, QwtText::RichText));
    }
    updateAxisTitles();
    markDirty();
}

void ChartPlot::setColor(const QColor &line, bool fillBelow, const QColor &fill, int lineWidth)
{
    m_lineColor = line;
    m_curve->setPen(line, std::max(lineWidth, 0));
    m_curve->setBrush(fillBelow ? QBrush(fill) : QBrush());
    styleItems();
    markDirty();
}

void ChartPlot::setMeasuringRange(double min, double max)
{
    m_measuring = QwtInterval(min, max).normalized();
    setHomeRange(min, max);
}

void ChartPlot::setHomeRange(double min, double max)
{
    m_home = QwtInterval(min, max).normalized();
    if (m_baselineAtBottom)
        m_curve->setBaseline(m_home.minValue());
    // The user's own view stays until they jump back to the newest samples.
    if (m_following)
        applyValue(followedValue());
    else
        updateRightAxis();
    markDirty();
}

void ChartPlot::setRightAxisScale(double min, double max, double step)
{
    m_right = QwtInterval(min, max);
    m_rightStep = std::max(step, 0.0);
    updateRightAxis();
    markDirty();
}

void ChartPlot::enableRightAxis(bool enable)
{
    m_rightAxis = enable;
    m_plot->enableAxis(QwtPlot::yRight, enable);
    updateRightAxis();
    updateAxisTitles();
}

void ChartPlot::setGuideLineVisible(bool visible)
{
    m_guideLineVisible = visible;
    markDirty();
}

void ChartPlot::setAnalogTagVisible(bool visible)
{
    m_analogTagVisible = visible;
    markDirty();
}

void ChartPlot::setCustomLabelsText(const QString &left, const QString &right)
{
    m_customLeft = left;
    m_customRight = right;
    updateAxisTitles();
}

void ChartPlot::setCustomLabelsVisible(bool left, bool right)
{
    m_customLeftVisible = left;
    m_customRightVisible = right;
    updateAxisTitles();
}

void ChartPlot::setAllowNegativeValues(bool allow)
{
    m_allowNegative = allow;
}

void ChartPlot::setPrecision(int decimals)
{
    m_precision = std::clamp(decimals, 0, 15);
    markDirty();
}

void ChartPlot::setMinPanOffset(double percent)
{
    m_minPanPercent = std::max(percent, 0.0);
}

void ChartPlot::setMaxPanOffset(double percent)
{
    m_maxPanPercent = std::max(percent, 0.0);
}

void ChartPlot::setBaselineAtBottom()
{
    m_baselineAtBottom = true;
    m_curve->setBaseline(m_home.minValue());
    markDirty();
}

void ChartPlot::setValueLabelVisible(bool visible)
{
    m_valueLabelVisible = visible;
    markDirty();
}

void ChartPlot::setTimeWindow(double seconds)
{
    if (!(seconds > 0.0))
        return;
    m_timeWindowMs = seconds * 1000.0;
    markDirty();
}

void ChartPlot::setFixed(bool fixed)
{
    m_dock->setFeatures(fixed ? QDockWidget::NoDockWidgetFeatures
                              : QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable
                                    | QDockWidget::DockWidgetFloatable);
}

bool ChartPlot::isFollowing() const
{
    return m_following;
}

void ChartPlot::jumpToNewest()
{
    m_following = true;
    refresh(true);
}

void ChartPlot::refresh(bool force)
{
    const int columns = m_plot->canvas()->contentsRect().width();
    const double newest = m_history.isEmpty() ? double(QDateTime::currentMSecsSinceEpoch())
                                              : m_history.sample(m_history.size() - 1).time;
    const bool newSamplesShow
        = m_newSamples
          && (!m_sinceReplot.isValid()
              || newSamplesWorthReplot(newest, m_newestShownMs, m_timeView.width(), columns,
                                       m_sinceReplot.elapsed(), m_unshownFor.elapsed()));
    if (!force) {
        // A plot out of sight (its dock closed, its window minimised) waits until it shows again.
        if (!m_plot->isVisible())
            return;
        if (!m_dirty && !newSamplesShow) {
            // While samples keep coming, one of them shows the value before this fires.
            if (m_newSamples && !m_lagTimer.isActive())
                m_lagTimer.start(
                    int(std::max<qint64>(0, longestValueLagMs - m_unshownFor.elapsed())));
            return;
        }
    }
    if (m_following) {
        applyTime(followedTimeRange(firstTime(), newest, m_timeWindowMs));
        applyValue(followedValue());
    }
    m_series->setColumns(columns);
    // Labels half a label apart at the least: a small plot shows fewer of them.
    const int rows = m_plot->canvas()->contentsRect().height();
    m_plot->setAxisMaxMajor(QwtPlot::xBottom, labelsThatFit(columns, m_timeLabelWidth));
    for (const int axis : {QwtPlot::yLeft, QwtPlot::yRight})
        m_plot->setAxisMaxMajor(axis, labelsThatFit(rows, m_valueLabelHeight));
    updateDecorations();
    m_plot->replot();
    m_dirty = false;
    m_newSamples = false;
    m_newestShownMs = newest;
    m_sinceReplot.start();
    m_changeTimer.stop();
    m_lagTimer.stop();
}

double ChartPlot::firstTime() const
{
    if (!m_history.blocks().empty())
        return m_history.blocks().front().firstTime();
    return m_history.isEmpty() ? std::numeric_limits<double>::lowest()
                               : m_history.openTimes().front();
}

// The extremes come from the history's pyramid: whole blocks cost nothing to ask.
QwtInterval ChartPlot::followedValue() const
{
    HistoryCursor cursor(m_history);
    const int end = m_history.size();
    const int begin = cursor.indexAtOrAfter(m_timeView.minValue(), 0, end);
    return followedValueRange(m_home, m_measuring, cursor.extremes(begin, end));
}

void ChartPlot::markDirty()
{
    m_dirty = true;
    if (!m_changeTimer.isActive())
        m_changeTimer.start(0);
}

void ChartPlot::requestView(const QwtInterval &time, const QwtInterval &value)
{
    m_following = false;
    applyTime(time.normalized());
    applyValue(limited(value.normalized()));
    refresh(true);
}

// The view may leave the measuring range by the pan offsets, never further.
QwtInterval ChartPlot::limited(const QwtInterval &value) const
{
    const double span = m_measuring.width();
    double low = m_measuring.minValue() - span * m_minPanPercent / 100.0;
    const double high = m_measuring.maxValue() + span * m_maxPanPercent / 100.0;
    if (!m_allowNegative)
        low = std::min(std::max(low, 0.0), high);
    if (value.width() >= high - low)
        return QwtInterval(low, high);
    if (value.minValue() < low)
        return QwtInterval(low, low + value.width());
    if (value.maxValue() > high)
        return QwtInterval(high - value.width(), high);
    return value;
}

void ChartPlot::applyTime(const QwtInterval &time)
{
    m_timeView = time;
    const auto *draw = static_cast<const TimeScaleDraw *>(m_plot->axisScaleDraw(QwtPlot::xBottom));
    static_cast<QwtDateScaleEngine *>(m_plot->axisScaleEngine(QwtPlot::xBottom))
        ->setUtcOffset(draw->offsetAt(time.maxValue()));
    m_plot->setAxisScale(QwtPlot::xBottom, time.minValue(), time.maxValue());
}

void ChartPlot::applyValue(const QwtInterval &value)
{
    // A range set again as it is would be divided again on the next replot.
    if (value != m_valueView) {
        m_valueView = value;
        m_plot->setAxisScale(QwtPlot::yLeft, value.minValue(), value.maxValue());
    }
    updateRightAxis();
}

// The right axis maps the home range of the left axis onto its own range, so
// it follows the left axis when the user pans or zooms.
void ChartPlot::updateRightAxis()
{
    if (!m_rightAxis || m_home.width() <= 0.0)
        return;
    const QwtInterval &left = m_valueView;
    const auto map = [this](double y) {
        return m_right.minValue() + (y - m_home.minValue()) * m_right.width() / m_home.width();
    };
    const std::array<double, 3> scale{map(left.minValue()), map(left.maxValue()),
                                      m_following ? m_rightStep : 0.0};
    if (scale == m_rightScale)
        return;
    m_rightScale = scale;
    m_plot->setAxisScale(QwtPlot::yRight, scale[0], scale[1], scale[2]);
}

void ChartPlot::updateAxisTitles()
{
    const QString left = m_customLeftVisible ? m_customLeft : (m_titleOnAxis ? m_title : QString());
    m_plot->setAxisTitle(QwtPlot::yLeft, axisText(left));
    m_plot->setAxisTitle(QwtPlot::yRight,
                         axisText(m_customRightVisible ? m_customRight : QString()));
    markDirty();
}

void ChartPlot::updateDecorations()
{
    const bool hasSamples = !m_history.isEmpty();
    const Sample last = hasSamples ? m_history.sample(m_history.size() - 1) : Sample{};

    m_valueLabel->setVisible(m_valueLabelVisible && m_hasLabelValue);
    // A new text drops the label's rendered picture: only a changed value makes one.
    const QString value = QLocale().toString(m_labelValue, 'f', m_precision);
    if (value != m_valueLabel->text().text()) {
        QwtText label(value);
        label.setRenderFlags(Qt::AlignRight | Qt::AlignTop);
        QFont font = label.font();
        font.setPointSizeF(14.0);
        font.setBold(true);
        label.setFont(font);
        label.setColor(m_lineColor);
        label.setBackgroundBrush(QColor(255, 255, 255, 210));
        label.setBorderPen(QPen(m_lineColor.lighter(160), 1.0));
        label.setBorderRadius(3.0);
        m_valueLabel->setText(label);
    }

    m_guideLine->setVisible(m_guideLineVisible && hasSamples);
    if (hasSamples)
        m_guideLine->setYValue(last.value);

    m_analogTag->setVisible(m_analogTagVisible && m_rightAxis && hasSamples);
    if (hasSamples) {
        const double analog = last.analogValue;
        m_analogTag->setValue(m_timeView.maxValue(), analog);
        const QString text = QLocale().toString(analog, 'f', 2);
        if (text != m_analogTag->label().text()) {
            QwtText tag(text);
            tag.setColor(Qt::white);
            tag.setBackgroundBrush(m_lineColor);
            tag.setBorderRadius(2.0);
            m_analogTag->setLabel(tag);
        }
    }
}

void ChartPlot::styleItems()
{
    // The labels take the new colour when next drawn.
    m_valueLabel->setText(QwtText());
    m_analogTag->setLabel(QwtText());

    QColor guide = m_lineColor;
    guide.setAlpha(140);
    m_guideLine->setLinePen(guide, 1.0, Qt::DashLine);

    QColor band = m_lineColor;
    band.setAlpha(30);
    m_noiseBand->setBrush(band);
    m_noiseBand->setPen(QPen(Qt::NoPen));
}

void ChartPlot::retranslate()
{
    m_plot->setAxisTitle(QwtPlot::xBottom, axisText(QCoreApplication::translate(
                                               "Utils::Charts::GenericChart", "Time")));
}

} // namespace Charts
} // namespace Utils
