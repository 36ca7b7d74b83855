#include "localoffset.h"

#include <QDateTime>
#include <QTimeZone>

#include <limits>

namespace Utils {

int LocalOffset::secondsAt(qint64 msecsSinceEpoch) const
{
    if (msecsSinceEpoch < m_validFrom || msecsSinceEpoch >= m_validUntil)
        lookUp(msecsSinceEpoch);
    return m_seconds;
}

void LocalOffset::lookUp(qint64 msecsSinceEpoch) const
{
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch, Qt::UTC);
    m_seconds = zone.offsetFromUtc(at);
    // A transition at the instant itself starts the stretch.
    const QTimeZone::OffsetData before = zone.previousTransition(at.addMSecs(1));
    const QTimeZone::OffsetData after = zone.nextTransition(at);
    m_validFrom = before.atUtc.isValid() ? before.atUtc.toMSecsSinceEpoch()
                                         : std::numeric_limits<qint64>::min();
    m_validUntil = after.atUtc.isValid() ? after.atUtc.toMSecsSinceEpoch()
                                         : std::numeric_limits<qint64>::max();
}

} // namespace Utils
