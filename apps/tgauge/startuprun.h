#pragma once

#include "commandline.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <vector>

class QMdiSubWindow;

namespace ExtensionSystem {
class PluginInterface;
}

namespace TGauge {

class MainWindow;

// Carries out what the command line asks of a session: opening sensors,
// connecting them, loading settings, and just before quitting the
// comparison, the settings file, the CSV export and the screenshot. Each
// sensor takes its steps on its own: one that fails leaves the others going,
// and sensors with ports of their own connect all at once.
class StartupRun final : public QObject
{
    Q_OBJECT
public:
    static constexpr int screenshotDelayMs = 1500; // without --quit-after
    static constexpr int paintWaitMs = 250;        // at most, for a window's first paint
    static constexpr int laneStartMs = 1; // a timer: a zero one would be a posted call

    StartupRun(CommandLine options, MainWindow &window, QObject *parent = nullptr);

    // Checks the files and opens the trace at once; the rest follows on the event loop once the
    // host has painted: the sensors one by one, connect, open settings, run for --quit-after ms,
    // the last steps, quit.
    void start();
    // The worst of the sensors': 0; 1 when a sensor, port or file failed; else 3 when a
    // comparison found differences; 128 + the signal number after an interruption.
    int exitCode() const;

public slots:
    // Ends the session as closing the main window does; a batch run says which step it
    // interrupted.
    void interrupt(int signalNumber);

signals:
    // Every sensor has its window, or failed to open; nothing has connected yet.
    void sensorsOpened();
    void screenshotSaved(const QString &fileName);
    // A result for standard output: a difference or a summary.
    void reported(const QString &line);
    // A failed step, one line for standard error.
    void failed(const QString &line);
    // The run is over; the application should exit with the code.
    void quitRequested(int exitCode);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // One opened sensor and how far it got.
    struct Lane
    {
        QPointer<ExtensionSystem::PluginInterface> object;
        QString sensor; // as the command line names it
        QString port;   // empty: stays offline
        bool failed = false;
    };

    void checkFiles();
    // One sensor a turn of the event loop, the next once its window has been painted: windows
    // opened all at once hold the host for all their layouts and paints in one piece.
    void openNextSensor();
    void waitForPaint(QWidget *widget);
    void painted();
    void sensorsAreOpen();
    void connectAndLoad();
    // Connects the lane's sensor and opens its settings; with a port per sensor each lane runs on
    // a fiber of its own.
    void connectAndLoad(int lane);
    // Starts the lane's fiber on a turn of its own, the next lane's on a later one.
    void startLane(int lane);
    void startRunTime();
    void timeIsUp();
    void dismissMessageBoxes();
    void saveScreenshot();
    void finish();
    void finish(Lane &lane);
    void compare(Lane &lane, const QString &file);
    QString fileOf(const QString &pattern, const Lane &lane, const QString &suffix) const;
    // False, and the lane failed, when its connected sensor left values unconfirmed.
    bool sensorConfirmedAll(Lane &lane);
    void fail(const QString &line);
    void fail(Lane &lane, const QString &line);

    CommandLine m_options;
    MainWindow &m_window;
    std::vector<Lane> m_lanes; // never resized once connecting started
    int m_opened = 0;          // sensors of the command line tried so far
    QPointer<QWidget> m_painting; // the host, then the last opened window, until painted
    QTimer m_paintTimeout;             // a window that never paints holds up no other
    QTimer m_nextSensor;
    int m_connecting = 0;      // lanes not yet connected and loaded
    QString m_step; // what the run does now, for the interruption line
    bool m_failed = false;
    bool m_differences = false;
    bool m_abandoned = false;  // a batch run stopped at a failure: no last steps
    bool m_due = false;        // --quit-after ran out while connecting
    bool m_screenshotTaken = false;
    bool m_done = false;
    int m_interruptedBy = 0; // the signal number
};

} // namespace TGauge
