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

// Carries out what the command line asks of an interactive session: opening
// sensors, connecting them, loading settings, a screenshot and the quit.
class StartupRun final : public QObject
{
    Q_OBJECT
public:
    static constexpr int ScreenshotDelayMs = 1500;  // without --quit-after

    StartupRun(CommandLine options, MainWindow &window, QObject *parent = nullptr);

    // Opens the sensors at once; the rest follows on the event loop.
    void start();
    // 0, or 1 when a step failed (unknown sensor, screenshot not saved).
    int exitCode() const;

signals:
    void screenshotSaved(const QString &fileName);
    // --quit-after has run out; the application should exit with the code.
    void quitRequested(int exitCode);

private:
    void connectAndLoad();
    void saveScreenshot();
    void quit();

    CommandLine m_options;
    MainWindow &m_window;
    QList<QPointer<ExtensionSystem::PluginInterface>> m_opened;
    int m_exitCode = 0;
    bool m_quitting = false;
};

} // namespace TGauge
