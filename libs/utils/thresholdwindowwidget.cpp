#include "thresholdwindowwidget.h"

#include "guardedplotitem.h"

#include <qwt_plot.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_zoneitem.h>
#include <qwt_text.h>

#include <QLocale>
#include <QMouseEvent>
#include <QPointer>

#include <algorithm>
#include <array>
#include <cmath>

namespace Utils {

namespace {

// How close, in pixels, a press must come to a mark to grab it.
constexpr double grabDistance = 6.0;
constexpr int noMark = -1;

const std::array<QColor, 2> markColors{QColor(230, 126, 34), QColor(192, 57, 43)};

} // namespace

class ThresholdWindowWidget::Private
{
public:
    void place(int mark, double value)
    {
        values[size_t(mark)] = value;
        if (QwtPlotMarker *marker = marks[size_t(mark)]) {
            marker->setYValue(value);
            QwtText label(QLocale().toString(value, 'g', 6));
            label.setColor(markColors[size_t(mark)]);
            marker->setLabel(label);
        }
        alignLabels();
        updateBand();
    }

    // On the left, away from the current value and the analog tag at the right edge; the higher
    // mark's label above its line, the other one's below, so that they never face each other.
    void alignLabels()
    {
        for (size_t mark = 0; mark < marks.size(); ++mark) {
            if (!marks[mark])
                continue;
            const double other = values[1 - mark];
            const bool higher = values[mark] > other || (values[mark] == other && mark == 1);
            marks[mark]->setLabelAlignment(Qt::AlignLeft
                                           | (higher ? Qt::AlignTop : Qt::AlignBottom));
        }
    }

    void updateVisibility()
    {
        for (size_t mark = 0; mark < marks.size(); ++mark) {
            if (marks[mark])
                marks[mark]->setVisible(enabled[mark]);
        }
        updateBand();
    }

    void updateBand()
    {
        if (!band)
            return;
        band->setVisible(bandVisible && enabled[0] && enabled[1]);
        band->setInterval(std::min(values[0], values[1]), std::max(values[0], values[1]));
    }

    int markNear(double pixelY) const
    {
        int nearest = noMark;
        double nearestDistance = grabDistance;
        for (size_t mark = 0; mark < marks.size(); ++mark) {
            if (!enabled[mark] || !marks[mark])
                continue;
            const double distance
                = std::abs(plot->transform(QwtPlot::yLeft, values[mark]) - pixelY);
            if (distance <= nearestDistance) {
                nearest = int(mark);
                nearestDistance = distance;
            }
        }
        return nearest;
    }

    // The value under the pointer, kept on the canvas and, without
    // overlapping, on its own side of the other mark.
    double dragValue(double pixelY) const
    {
        const double top = 0.0;
        const double bottom = canvas ? double(canvas->height() - 1) : pixelY;
        double value = plot->invTransform(QwtPlot::yLeft, std::clamp(pixelY, top, bottom));
        const int other = 1 - dragging;
        if (!overlapping && enabled[size_t(other)]) {
            value = dragging == LowerMark ? std::min(value, values[size_t(other)])
                                          : std::max(value, values[size_t(other)]);
        }
        return value;
    }

    void replot() const
    {
        if (plot)
            plot->replot();
    }

    QPointer<QwtPlot> plot;
    QPointer<QWidget> canvas;
    int componentIndex = 0;
    std::array<QwtPlotMarker *, 2> marks{}; // owned by the plot, cleared when it deletes them
    QwtPlotZoneItem *band = nullptr;        // owned by the plot, cleared when it deletes it
    std::array<double, 2> values{};
    std::array<bool, 2> enabled{true, true};
    bool bandVisible = false;
    bool overlapping = false;
    bool readOnly = false;
    bool hoverCursor = false;
    int dragging = noMark;
    double dragStart = 0.0;
};

ThresholdWindowWidget::ThresholdWindowWidget(QwtPlot *plot, int componentIndex)
    : QObject(plot)
    , d(std::make_unique<Private>())
{
    d->plot = plot;
    d->componentIndex = componentIndex;
    if (!plot)
        return;
    d->canvas = plot->canvas();
    d->canvas->installEventFilter(this);
    d->canvas->setMouseTracking(true);

    auto *band = new GuardedPlotItem<QwtPlotZoneItem>(&d->band);
    band->setOrientation(Qt::Horizontal);
    band->setBrush(QColor(230, 126, 34, 35));
    band->setPen(QPen(Qt::NoPen));
    band->setZ(5.0);
    band->attach(plot);

    for (size_t mark = 0; mark < d->marks.size(); ++mark) {
        auto *marker = new GuardedPlotItem<QwtPlotMarker>(&d->marks[mark]);
        marker->setLineStyle(QwtPlotMarker::HLine);
        marker->setLinePen(markColors[mark], 2.0);
        marker->setZ(50.0);
        marker->attach(plot);
    }
    d->place(LowerMark, 0.0);
    d->place(UpperMark, 0.0);
    d->updateVisibility();
}

ThresholdWindowWidget::~ThresholdWindowWidget()
{
    // Items already gone mean the plot is being destroyed: leave it alone.
    const bool plotAlive = d->band != nullptr;
    delete d->band;
    for (QwtPlotMarker *marker : d->marks)
        delete marker;
    if (plotAlive)
        d->replot();
}

int ThresholdWindowWidget::getComponentIndex() const
{
    return d->componentIndex;
}

void ThresholdWindowWidget::setLowerMark(double value)
{
    d->place(LowerMark, value);
    d->replot();
}

void ThresholdWindowWidget::setUpperMark(double value)
{
    d->place(UpperMark, value);
    d->replot();
}

double ThresholdWindowWidget::lowerMark() const
{
    return d->values[LowerMark];
}

double ThresholdWindowWidget::upperMark() const
{
    return d->values[UpperMark];
}

void ThresholdWindowWidget::enableLowerMark(bool enable)
{
    d->enabled[LowerMark] = enable;
    d->updateVisibility();
    d->replot();
}

void ThresholdWindowWidget::enableUpperMark(bool enable)
{
    d->enabled[UpperMark] = enable;
    d->updateVisibility();
    d->replot();
}

bool ThresholdWindowWidget::isLowerMarkEnabled() const
{
    return d->enabled[LowerMark];
}

bool ThresholdWindowWidget::isUpperMarkEnabled() const
{
    return d->enabled[UpperMark];
}

void ThresholdWindowWidget::setWindowSizeVisible(bool visible)
{
    d->bandVisible = visible;
    d->updateBand();
    d->replot();
}

void ThresholdWindowWidget::allowOverlapping(bool allow)
{
    d->overlapping = allow;
}

void ThresholdWindowWidget::setReadOnly(bool readOnly)
{
    d->readOnly = readOnly;
}

bool ThresholdWindowWidget::eventFilter(QObject *watched, QEvent *event)
{
    // isNull(), not a cast: the canvas also gets events while the plot is being destroyed.
    if (watched != d->canvas || d->plot.isNull())
        return false;
    // Only mouse events are cast: the canvas sees every other kind of event too.
    const auto *mouse = dynamic_cast<const QMouseEvent *>(event);
    if (!mouse)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (d->readOnly || mouse->button() != Qt::LeftButton)
            return false;
        d->dragging = d->markNear(mouse->localPos().y());
        if (d->dragging == noMark)
            return false;
        d->dragStart = d->values[size_t(d->dragging)];
        return true;
    case QEvent::MouseMove:
        if (d->dragging != noMark) {
            d->place(d->dragging, d->dragValue(mouse->localPos().y()));
            d->replot();
            return true;
        }
        if (mouse->buttons() == Qt::NoButton) {
            const bool near = !d->readOnly && d->markNear(mouse->localPos().y()) != noMark;
            if (near != d->hoverCursor) {
                d->hoverCursor = near;
                if (near)
                    d->canvas->setCursor(Qt::SizeVerCursor);
                else
                    d->canvas->unsetCursor();
            }
        }
        return false;
    case QEvent::MouseButtonRelease: {
        if (d->dragging == noMark || mouse->button() != Qt::LeftButton)
            return false;
        const unsigned int mark = unsigned(d->dragging);
        const double value = d->dragValue(mouse->localPos().y());
        d->dragging = noMark;
        d->place(int(mark), value);
        d->replot();
        if (value != d->dragStart)
            emit emitValueChanged(mark, value);
        return true;
    }
    default:
        return false;
    }
}

} // namespace Utils
