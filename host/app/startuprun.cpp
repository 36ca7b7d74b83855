#include "startuprun.h"

#include "mainwindow.h"

#include <extensionsystem/frametrace.h>
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
    if (!m_options.traceFile.isEmpty()
        && !ExtensionSystem::FrameTrace::instance().appendTo(m_options.traceFile))
        fail(QStringLiteral("tgauge: cannot write the trace %1").arg(m_options.traceFile));
    if (m_options.presentation)
        m_window.setPresentationMode(true);
    for (const QString &name : std::as_const(m_options.openSensors)) {
        if (ExtensionSystem::PluginInterface *object = m_window.openSensor(name))
            m_opened << object;
        else
            fail(QStringLiteral("tgauge: cannot open the sensor %1").arg(name));
    }
    QTimer::singleShot(0, this, qOverload<>(&StartupRun::connectAndLoad));
}

int StartupRun::exitCode() const
{
    return m_failed ? 1 : m_differences ? 3 : 0;
}

// The run's time counts from here: connecting and writing settings take as
// long as the sensor needs. Nobody watches a batch run, so it ends by itself.
void StartupRun::connectAndLoad()
{
    for (const QPointer<ExtensionSystem::PluginInterface> &object : std::as_const(m_opened)) {
        if (object && !(m_failed && m_options.batch))
            connectAndLoad(object);
    }
    if (m_failed && m_options.batch) {
        // What follows would only work on a broken state.
        m_abandoned = true;
        finish();
        return;
    }
    const std::optional<int> runMs
        = m_options.batch ? m_options.quitAfterMs.value_or(0) : m_options.quitAfterMs;
    if (runMs)
        QTimer::singleShot(*runMs, this, &StartupRun::finish);
    else if (!m_options.screenshotFile.isEmpty())
        QTimer::singleShot(screenshotDelayMs, this, &StartupRun::saveScreenshot);
}

void StartupRun::connectAndLoad(ExtensionSystem::PluginInterface *object)
{
    const QPointer<ExtensionSystem::PluginInterface> guard(object);
    if (!m_options.connectPort.isEmpty()) {
        object->vAutoConnect(m_options.connectPort);
        if (!guard || object->bConnectionFailed()) {
            fail(QStringLiteral("tgauge: cannot connect %1 through %2")
                     .arg(guard ? object->getSensorName() : QString(), m_options.connectPort));
            return;
        }
    }
    if (!m_options.settingsFile.isEmpty() && !object->bOpenSettingsFrom(m_options.settingsFile)) {
        fail(QStringLiteral("tgauge: cannot apply the settings file %1 to %2")
                 .arg(m_options.settingsFile, guard ? object->getSensorName() : QString()));
        return;
    }
    if (guard)
        sensorConfirmedAll(object);
}

void StartupRun::saveScreenshot()
{
    if (m_window.grab().save(m_options.screenshotFile)) {
        emit screenshotSaved(m_options.screenshotFile);
        return;
    }
    fail(QStringLiteral("tgauge: cannot save the screenshot %1").arg(m_options.screenshotFile));
}

void StartupRun::finish()
{
    if (m_done)
        return;
    m_done = true;
    if (!m_abandoned) {
        for (const QPointer<ExtensionSystem::PluginInterface> &object : std::as_const(m_opened)) {
            if (object && !m_options.compareSettingsFile.isEmpty())
                compare(object);
            // Files of a connected sensor hold nothing that it did not confirm.
            if (!object || !sensorConfirmedAll(object))
                continue;
            if (!m_options.saveSettingsFile.isEmpty()
                && !object->bSaveSettingsTo(m_options.saveSettingsFile))
                fail(QStringLiteral("tgauge: cannot write the settings file %1")
                         .arg(m_options.saveSettingsFile));
            if (!m_options.exportCsvFile.isEmpty()
                && !object->bExportChartDataTo(m_options.exportCsvFile, m_options.csvDelimiter)) {
                fail(QStringLiteral("tgauge: cannot write the chart data %1")
                         .arg(m_options.exportCsvFile));
            }
        }
        if (!m_options.screenshotFile.isEmpty())
            saveScreenshot();
    }
    emit quitRequested(exitCode());
}

void StartupRun::compare(ExtensionSystem::PluginInterface *object)
{
    const QString &file = m_options.compareSettingsFile;
    const QString sensor = object->getSensorName(); // the comparison may run the event loop
    QStringList differences;
    const int count = object->iCompareSettingsWith(file, &differences);
    if (count < 0) {
        fail(QStringLiteral("tgauge: cannot compare %1 with the settings file %2")
                 .arg(sensor, file));
        return;
    }
    for (const QString &line : std::as_const(differences))
        emit reported(line);
    emit reported(
        count == 0
            ? QStringLiteral("%1: no differences from %2").arg(sensor, file)
            : QStringLiteral("%1: %2 difference(s) from %3").arg(sensor).arg(count).arg(file));
    m_differences = m_differences || count > 0;
}

// A run without a sensor connection needs nothing from a sensor.
bool StartupRun::sensorConfirmedAll(ExtensionSystem::PluginInterface *object)
{
    if (m_options.connectPort.isEmpty())
        return true;
    const QString sensor = object->getSensorName();
    const QStringList unconfirmed = object->unconfirmedValues();
    if (unconfirmed.isEmpty())
        return true;
    fail(QStringLiteral("tgauge: %1 did not confirm %2")
             .arg(sensor, unconfirmed.join(QLatin1String(", "))));
    return false;
}

void StartupRun::fail(const QString &line)
{
    m_failed = true;
    emit failed(line);
}

} // namespace TGauge
