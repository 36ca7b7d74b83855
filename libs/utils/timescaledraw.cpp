#include "timescaledraw.h"

#include <QDateTime>

#include <cmath>

namespace Utils {
namespace Charts {

TimeScaleDraw::TimeScaleDraw()
    : QwtDateScaleDraw(Qt::OffsetFromUTC)
{
    for (int unit = QwtDate::Millisecond; unit <= QwtDate::Year; ++unit)
        setDateFormat(QwtDate::IntervalType(unit), QStringLiteral("hh:mm:ss"));
}

QwtText TimeScaleDraw::label(double value) const
{
    const QDateTime local
        = QDateTime::fromMSecsSinceEpoch(qint64(std::floor(value)), Qt::OffsetFromUTC,
                                         offsetAt(value));
    return QwtDate::toString(local, dateFormatOfDate(local, intervalType(scaleDiv())),
                             week0Type());
}

int TimeScaleDraw::offsetAt(double value) const
{
    return m_offset.secondsAt(qint64(std::floor(value)));
}

} // namespace Charts
} // namespace Utils
