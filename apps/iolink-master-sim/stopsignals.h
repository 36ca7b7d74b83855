#pragma once

#include <QObject>

class QSocketNotifier;

namespace Kr7dSim {

// Turns SIGINT, SIGTERM and SIGHUP into a Qt signal (self-pipe), so the event loop
// ends normally and every destructor runs. One instance per process; the default
// actions come back when it is destroyed.
class StopSignals final : public QObject
{
    Q_OBJECT
public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

    // "SIGTERM" for SIGTERM; the number as text for a signal not handled here.
    static QString name(int signalNumber);

signals:
    void received(int signalNumber);

private:
    QSocketNotifier *m_notifier = nullptr; // owned (Qt parent)
};

} // namespace Kr7dSim
