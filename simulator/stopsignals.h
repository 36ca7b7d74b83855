#pragma once

#include <QObject>

class QSocketNotifier;

namespace Kr7dSim {

// Turns SIGTERM and SIGINT into a Qt signal (self-pipe), so the event loop
// ends normally and every destructor runs. One instance per process.
class StopSignals final : public QObject
{
    Q_OBJECT
public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

signals:
    void received();

private:
    QSocketNotifier *m_notifier = nullptr; // owned (Qt parent)
};

} // namespace Kr7dSim
