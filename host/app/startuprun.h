#pragma once

#include "commandline.h"

#include <QList>
#include <QObject>
#include <QPointer>

namespace ExtensionSystem {
class PluginInterface;
}

namespace TGauge {

class MainWindow;

// Carries out what the command line asks of a session: opening sensors,
// connecting them, loading settings, and just before quitting the
// comparison, the settings file, the CSV export and the screenshot.
class StartupRun final : public QObject
{
    Q_OBJECT
public:
    static constexpr int screenshotDelayMs = 1500; // without --quit-after

    StartupRun(CommandLine options, MainWindow &window, QObject *parent = nullptr);

    // Checks the files, opens the trace and the sensors at once; the rest follows on the
    // event loop: connect, open settings, run for --quit-after ms, the last steps, quit.
    void start();
    // 0; 1 when a sensor, port or file failed; else 3 when the comparison found differences;
    // 128 + the signal number after an interruption.
    int exitCode() const;

public slots:
    // Ends the session as closing the main window does; a batch run says which step it
    // interrupted.
    void interrupt(int signalNumber);

signals:
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
    void checkFiles();
    void openSensors();
    void connectAndLoad();
    void connectAndLoad(ExtensionSystem::PluginInterface *object);
    void timeIsUp();
    void dismissMessageBoxes();
    void saveScreenshot();
    void finish();
    void compare(ExtensionSystem::PluginInterface *object);
    void fail(const QString &line);

    CommandLine m_options;
    MainWindow &m_window;
    QList<QPointer<ExtensionSystem::PluginInterface>> m_opened;
    QString m_step; // what the run does now, for the interruption line
    bool m_failed = false;
    bool m_differences = false;
    bool m_abandoned = false;  // a batch run stopped at a failure: no last steps
    bool m_connecting = false; // inside the (blocking) connection of the sensors
    bool m_due = false;        // --quit-after ran out while connecting
    bool m_screenshotTaken = false;
    bool m_done = false;
    int m_interruptedBy = 0; // the signal number
};

} // namespace TGauge
