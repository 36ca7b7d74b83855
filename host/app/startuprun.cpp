#include "startuprun.h"

#include "mainwindow.h"
#include "sensorfiles.h"

#include <extensionsystem/frametrace.h>
#include <extensionsystem/plugininterface.h>

#include <QPixmap>
#include <QTimer>

#include <algorithm>
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
        && !ExtensionSystem::FrameTrace::instance().appendTo(m_options.traceFile)) {
        fail(QStringLiteral("tgauge: cannot write the trace %1").arg(m_options.traceFile));
        m_abandoned = m_options.batch;
    }
    if (m_options.presentation)
        m_window.setPresentationMode(true);
    for (int i = 0; i < m_options.openSensors.size(); ++i) {
        const QString &name = m_options.openSensors.at(i);
        if (ExtensionSystem::PluginInterface *object = m_window.openSensor(name))
            m_lanes.push_back({object, name, m_options.connectPortFor(i)});
        else
            fail(QStringLiteral("tgauge: cannot open the sensor %1").arg(name));
    }
    QTimer::singleShot(0, this, qOverload<>(&StartupRun::connectAndLoad));
}

int StartupRun::exitCode() const
{
    return m_failed ? 1 : m_differences ? 3 : 0;
}

// Sensors that share a port take turns on it; each one's waits let the others' run meanwhile.
void StartupRun::connectAndLoad()
{
    m_connecting = int(m_lanes.size());
    if (m_abandoned || m_lanes.empty()) {
        startRunTime();
        return;
    }
    if (!m_options.portPerSensor()) {
        connectAndLoad(0);
        return;
    }
    for (int lane = 0; lane < int(m_lanes.size()); ++lane)
        QTimer::singleShot(0, this, [this, lane] { connectAndLoad(lane); });
}

void StartupRun::connectAndLoad(int index)
{
    Lane &lane = m_lanes[size_t(index)];
    if (lane.object && !lane.port.isEmpty()) {
        lane.object->vAutoConnect(lane.port);
        if (!lane.object || lane.object->bConnectionFailed())
            fail(lane, QStringLiteral("tgauge: cannot connect %1 through %2")
                           .arg(lane.sensor, lane.port));
    }
    const QString settings = fileOf(m_options.settingsFile, lane, QStringLiteral("tgs"));
    if (!lane.failed && lane.object && !settings.isEmpty()
        && !lane.object->bOpenSettingsFrom(settings)) {
        fail(lane, QStringLiteral("tgauge: cannot apply the settings file %1 to %2")
                       .arg(settings, lane.sensor));
    }
    if (!lane.failed)
        sensorConfirmedAll(lane);
    if (--m_connecting == 0)
        startRunTime();
    else if (!m_options.portPerSensor())
        connectAndLoad(index + 1);
}

// The run's time counts from here: connecting and writing settings take as
// long as the sensors need. Nobody watches a batch run, so it ends by itself.
void StartupRun::startRunTime()
{
    const bool anyLeft = std::any_of(m_lanes.cbegin(), m_lanes.cend(),
                                     [](const Lane &lane) { return lane.object && !lane.failed; });
    if (m_options.batch && (m_abandoned || (m_failed && !anyLeft))) {
        // What follows would only work on a broken state.
        m_abandoned = true;
        finish();
        return;
    }
    const std::optional<int> runMs
        = m_options.batch ? m_options.quitAfterMs.value_or(0) : m_options.quitAfterMs;
    if (runMs)
        QTimer::singleShot(*runMs, this, qOverload<>(&StartupRun::finish));
    else if (!m_options.screenshotFile.isEmpty())
        QTimer::singleShot(screenshotDelayMs, this, &StartupRun::saveScreenshot);
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
        for (Lane &lane : m_lanes) {
            if (lane.object && !lane.failed)
                finish(lane);
        }
        if (!m_options.screenshotFile.isEmpty())
            saveScreenshot();
    }
    emit quitRequested(exitCode());
}

void StartupRun::finish(Lane &lane)
{
    const QString compared = fileOf(m_options.compareSettingsFile, lane, QStringLiteral("tgs"));
    if (!compared.isEmpty())
        compare(lane, compared);
    // Files of a connected sensor hold nothing that it did not confirm.
    if (!sensorConfirmedAll(lane))
        return;
    const QString saved = fileOf(m_options.saveSettingsFile, lane, QStringLiteral("tgs"));
    if (lane.object && !saved.isEmpty() && !lane.object->bSaveSettingsTo(saved))
        fail(lane, QStringLiteral("tgauge: cannot write the settings file %1").arg(saved));
    const QString exported = fileOf(m_options.exportCsvFile, lane, QStringLiteral("csv"));
    if (lane.object && !exported.isEmpty()
        && !lane.object->bExportChartDataTo(exported, m_options.csvDelimiter)) {
        fail(lane, QStringLiteral("tgauge: cannot write the chart data %1").arg(exported));
    }
}

void StartupRun::compare(Lane &lane, const QString &file)
{
    ExtensionSystem::PluginInterface *object = lane.object;
    if (!object)
        return;
    const QString sensor = object->getSensorName(); // the comparison may run the event loop
    QStringList differences;
    const int count = object->iCompareSettingsWith(file, &differences);
    if (count < 0) {
        fail(lane, QStringLiteral("tgauge: cannot compare %1 with the settings file %2")
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

QString StartupRun::fileOf(const QString &pattern, const Lane &lane, const QString &suffix) const
{
    return pattern.isEmpty() ? QString() : sensorFile(pattern, lane.sensor, lane.port, suffix);
}

// A run without a sensor connection needs nothing from a sensor.
bool StartupRun::sensorConfirmedAll(Lane &lane)
{
    if (lane.port.isEmpty() || !lane.object)
        return true;
    const QStringList unconfirmed = lane.object->unconfirmedValues();
    if (unconfirmed.isEmpty())
        return true;
    fail(lane, QStringLiteral("tgauge: %1 did not confirm %2")
                   .arg(lane.sensor, unconfirmed.join(QLatin1String(", "))));
    return false;
}

void StartupRun::fail(const QString &line)
{
    m_failed = true;
    emit failed(line);
}

void StartupRun::fail(Lane &lane, const QString &line)
{
    lane.failed = true;
    fail(line);
}

} // namespace TGauge
