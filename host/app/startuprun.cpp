#include "startuprun.h"

#include "mainwindow.h"

#include <extensionsystem/plugininterface.h>

#include <QPixmap>
#include <QTimer>

#include <utility>

namespace TGauge {

StartupRun::StartupRun(CommandLine options, MainWindow &window, QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_window(window)
{
}

void StartupRun::start()
{
    if (m_options.presentation)
        m_window.setPresentationMode(true);
    for (const QString &name : std::as_const(m_options.openSensors)) {
        if (ExtensionSystem::PluginInterface *object = m_window.openSensor(name)) {
            m_opened << object;
        } else {
            qWarning("tgauge: cannot open the sensor %s", qUtf8Printable(name));
            m_exitCode = 1;
        }
    }
    QTimer::singleShot(0, this, &StartupRun::connectAndLoad);
    if (m_options.quitAfterMs)
        QTimer::singleShot(*m_options.quitAfterMs, this, &StartupRun::quit);
    else if (!m_options.screenshotFile.isEmpty())
        QTimer::singleShot(ScreenshotDelayMs, this, &StartupRun::saveScreenshot);
}

int StartupRun::exitCode() const
{
    return m_exitCode;
}

// Connecting blocks inside the plug-in's own event loops, so the quit timer
// may fire in the middle; nothing more is started after it.
void StartupRun::connectAndLoad()
{
    for (const QPointer<ExtensionSystem::PluginInterface> &object : std::as_const(m_opened)) {
        if (!m_options.connectPort.isEmpty() && object && !m_quitting)
            object->vAutoConnect(m_options.connectPort);
        if (!m_options.settingsFile.isEmpty() && object && !m_quitting)
            object->vActionOpen(m_options.settingsFile);
    }
}

void StartupRun::saveScreenshot()
{
    if (m_window.grab().save(m_options.screenshotFile)) {
        emit screenshotSaved(m_options.screenshotFile);
        return;
    }
    qWarning("tgauge: cannot save the screenshot %s", qUtf8Printable(m_options.screenshotFile));
    m_exitCode = 1;
}

void StartupRun::quit()
{
    m_quitting = true;
    if (!m_options.screenshotFile.isEmpty())
        saveScreenshot();
    emit quitRequested(m_exitCode);
}

} // namespace TGauge
