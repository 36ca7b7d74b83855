#include "timescaledraw.h"

#include "axislabelengine.h"

#include <QPainter>
#include <QTime>

#include <cmath>

namespace Utils {
namespace Charts {

namespace {

constexpr qint64 secondsPerDay = 24 * 60 * 60;
// An axis shows a dozen labels; each new one a second or more from the last.
constexpr int mostTextsKept = 256;

qint64 floorDiv(qint64 value, qint64 divisor)
{
    return value / divisor - (value % divisor < 0 ? 1 : 0);
}

} // namespace

TimeScaleDraw::TimeScaleDraw()
    : QwtDateScaleDraw(Qt::OffsetFromUTC)
{
}

// The text is the local time of day; the local second since 1970 names it whatever the offset.
QwtText TimeScaleDraw::label(double value) const
{
    const qint64 localSecond = floorDiv(qint64(std::floor(value)), 1000) + offsetAt(value);
    auto text = m_texts.constFind(localSecond);
    if (text == m_texts.constEnd()) {
        if (m_texts.size() >= mostTextsKept)
            m_texts.clear();
        const qint64 secondOfDay
            = localSecond - floorDiv(localSecond, secondsPerDay) * secondsPerDay;
        text = m_texts.insert(localSecond, QTime::fromMSecsSinceStartOfDay(int(secondOfDay) * 1000)
                                               .toString(QStringLiteral("hh:mm:ss")));
    }
    return QwtText(*text, AxisLabelEngine::format());
}

void TimeScaleDraw::drawLabel(QPainter *painter, double value) const
{
    const QwtText text = tickLabel(painter->font(), value);
    if (text.isEmpty())
        return;
    const QSizeF size = text.textSize(painter->font());
    QTransform place = labelTransformation(labelPosition(value), size);
    if (place.type() <= QTransform::TxTranslate)
        place = QTransform::fromTranslate(std::round(place.dx()), std::round(place.dy()));
    painter->save();
    painter->setWorldTransform(place, true);
    text.draw(painter, QRect(QPoint(0, 0), size.toSize()));
    painter->restore();
}

int TimeScaleDraw::offsetAt(double value) const
{
    return m_offset.secondsAt(qint64(std::floor(value)));
}

} // namespace Charts
} // namespace Utils
