#pragma once

#include <QCoreApplication>
#include <QMap>
#include <QStringList>
#include <QTime>

namespace BravoSensorPlugin {
namespace Core {

// Whether the sensor holds the value the window shows, parameter by parameter. A value is
// confirmed by a read, or by a write the sensor acknowledged; anything else is unconfirmed.
class ValueConfirmations
{
    Q_DECLARE_TR_FUNCTIONS(ValueConfirmations)
public:
    enum class State {
        Confirmed,
        NotRead, // nothing read from the sensor yet
        Pending, // edited, not yet written
        Refused, // the sensor answered the write with an error
        Offline, // read before the sensor went offline
    };

    // Every id starts as not read; ids not given here are never marked.
    void track(const QStringList &ids);

    void confirm(const QString &id);
    void markPending(const QString &id);
    void markRefused(const QString &id);
    // Confirmed values now only tell what the sensor held at `lostAt`.
    void sensorLost(const QTime &lostAt);
    // A sensor was found and is about to be read: what an earlier one held is not read from it.
    void sensorFound();

    State state(const QString &id) const;
    // In id order.
    QStringList unconfirmedIds() const;
    int pendingCount() const;
    // Why the value is not confirmed, for its tool tip; empty when it is.
    QString reason(const QString &id) const;

private:
    struct Entry
    {
        State state = State::NotRead;
        QTime since; // of Offline
    };
    QMap<QString, Entry> m_entries;
};

} // namespace Core
} // namespace BravoSensorPlugin
