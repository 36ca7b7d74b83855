#include "valueconfirmations.h"

#include <algorithm>

namespace BravoSensorPlugin {
namespace Core {

void ValueConfirmations::track(const QStringList &ids)
{
    m_entries.clear();
    for (const QString &id : ids)
        m_entries.insert(id, Entry());
}

void ValueConfirmations::confirm(const QString &id)
{
    const auto entry = m_entries.find(id);
    if (entry != m_entries.end())
        *entry = {State::Confirmed, QTime()};
}

void ValueConfirmations::markPending(const QString &id)
{
    const auto entry = m_entries.find(id);
    if (entry != m_entries.end())
        *entry = {State::Pending, QTime()};
}

void ValueConfirmations::markRefused(const QString &id)
{
    const auto entry = m_entries.find(id);
    if (entry != m_entries.end())
        *entry = {State::Refused, QTime()};
}

// Edits and refusals keep their own reason: going offline does not make them any truer.
void ValueConfirmations::sensorLost(const QTime &lostAt)
{
    for (Entry &entry : m_entries) {
        if (entry.state == State::Confirmed)
            entry = {State::Offline, lostAt};
    }
}

void ValueConfirmations::sensorFound()
{
    for (Entry &entry : m_entries) {
        if (entry.state == State::Confirmed || entry.state == State::Offline)
            entry = {State::NotRead, QTime()};
    }
}

ValueConfirmations::State ValueConfirmations::state(const QString &id) const
{
    return m_entries.value(id, Entry{State::Confirmed, QTime()}).state;
}

QStringList ValueConfirmations::unconfirmedIds() const
{
    QStringList ids;
    for (auto entry = m_entries.cbegin(); entry != m_entries.cend(); ++entry) {
        if (entry->state != State::Confirmed)
            ids << entry.key();
    }
    return ids;
}

int ValueConfirmations::pendingCount() const
{
    return int(std::count_if(m_entries.cbegin(), m_entries.cend(),
                             [](const Entry &entry) { return entry.state == State::Pending; }));
}

QString ValueConfirmations::reason(const QString &id) const
{
    const Entry entry = m_entries.value(id, Entry{State::Confirmed, QTime()});
    switch (entry.state) {
    case State::Confirmed:
        break;
    case State::NotRead:
        return tr("not read from the sensor yet");
    case State::Pending:
        return tr("not yet written");
    case State::Refused:
        return tr("refused by the sensor");
    case State::Offline:
        return tr("sensor offline since %1").arg(entry.since.toString(QStringLiteral("hh:mm:ss")));
    }
    return QString();
}

} // namespace Core
} // namespace BravoSensorPlugin
