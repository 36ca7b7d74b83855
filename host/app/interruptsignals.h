#pragma once

#include <QObject>

class QSocketNotifier;

namespace TGauge {

// Turns SIGINT, SIGTERM and SIGHUP into a Qt signal through a self-pipe, so that
// the host ends on its event loop like a closed main window. One instance per process;
// the default actions come back when it is destroyed.
class InterruptSignals final : public QObject
{
    Q_OBJECT
public:
    explicit InterruptSignals(QObject *parent = nullptr);
    ~InterruptSignals() override;

    // "SIGTERM" for SIGTERM; the number as text for a signal not handled here.
    static QString name(int signalNumber);

signals:
    void received(int signalNumber);

private:
    QSocketNotifier *m_notifier = nullptr; // owned (Qt parent)
};

} // namespace TGauge
