#pragma once

#include "extensionsystem_global.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QObject>

#include <optional>

namespace ExtensionSystem {

enum class FrameDirection { Sent, Answer, Failed };

// "<ms> <port> <dir> <hex bytes>[ <round trip> ms]"; dir is ">" sent, "<" answer, "!" time-out or
// error.
EXTENSIONSYSTEM_EXPORT QString frameTraceLine(qint64 elapsedMs, const QString &port,
                                              FrameDirection direction, const QByteArray &bytes,
                                              std::optional<qint64> roundTripMs);

// Sees every frame the host's connections exchange with a master, whichever plug-in
// sent it. Connections report; the trace file and the live view listen.
class EXTENSIONSYSTEM_EXPORT FrameTrace final : public QObject
{
    Q_OBJECT
public:
    static FrameTrace &instance();

    // Appends every line to the file from now on; false when it cannot be opened.
    bool appendTo(const QString &fileName);

    // For the connections. Cheap while nobody listens.
    void frameSent(const QString &port, const QByteArray &frame);
    void frameCompleted(const QString &port, const QByteArray &answer, bool answered);

signals:
    void lineAdded(const QString &line);

private:
    FrameTrace();
    bool isObserved() const;
    void add(const QString &port, FrameDirection direction, const QByteArray &bytes,
             std::optional<qint64> roundTripMs);

    QElapsedTimer m_clock;
    QFile m_file;
    QHash<QString, qint64> m_sentAt; // port -> ms of its last frame sent
};

} // namespace ExtensionSystem
