#include "startuprun.h"

#include "mainwindow.h"
#include "pathchecks.h"
#include "sensorfiles.h"
#include "windowpicture.h"

#include <extensionsystem/connectionregistry.h>
#include <extensionsystem/frametrace.h>
#include <extensionsystem/plugininterface.h>
#include <simulator/stopsignals.h>
#include <utils/fiberrunner.h>

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace TGauge {

namespace {

const char readSettingsFailure[]
    = QT_TRANSLATE_NOOP("TGauge::StartupRun", "tgauge: cannot read the settings file %1");
const char writeSettingsFailure[]
    = QT_TRANSLATE_NOOP("TGauge::StartupRun", "tgauge: cannot write the settings file %1");
const char writeChartFailure[]
    = QT_TRANSLATE_NOOP("TGauge::StartupRun", "tgauge: cannot write the chart data %1");
const char screenshotFailure[]
    = QT_TRANSLATE_NOOP("TGauge::StartupRun", "tgauge: cannot save the screenshot %1");

struct FileCheck
{
    QString CommandLine::*file;
    bool output;
    const char *failure;
    const char *suffix; // of a sensor's own file; null for a file of the whole run
};

// Every file the run reads or writes, checked before the sensors connect.
const FileCheck fileChecks[] = {
    {&CommandLine::settingsFile, false, readSettingsFailure, "tgs"},
    {&CommandLine::compareSettingsFile, false, readSettingsFailure, "tgs"},
    {&CommandLine::saveSettingsFile, true, writeSettingsFailure, "tgs"},
    {&CommandLine::exportCsvFile, true, writeChartFailure, "csv"},
    {&CommandLine::screenshotFile, true, screenshotFailure, nullptr},
};

QString failureLine(const char *failure, const QString &file, const QString &reason = {})
{
    const QString line = StartupRun::tr(failure).arg(file);
    return reason.isEmpty() ? line : StartupRun::tr("%1: %2").arg(line, reason);
}

QString catalogueNames(const std::vector<PluginLibrary> &plugins)
{
    QStringList names;
    for (const PluginLibrary &plugin : plugins) {
        for (const auto &sensor : plugin.sensors)
            names << QString::fromStdString(sensor.name());
    }
    return names.isEmpty() ? StartupRun::tr("none") : names.join(QStringLiteral(", "));
}

} // namespace

StartupRun::StartupRun(CommandLine options, MainWindow &window, QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_window(window)
{
    m_paintTimeout.setSingleShot(true);
    m_paintTimeout.setInterval(paintWaitMs);
    connect(&m_paintTimeout, &QTimer::timeout, this, &StartupRun::painted);
    // A timer, not a posted call: calls posted while the event loop delivers posted events, as
    // its paints are, run in the same pass, and the host would wait for both in one piece.
    m_nextSensor.setSingleShot(true);
    m_nextSensor.setInterval(0);
    connect(&m_nextSensor, &QTimer::timeout, this, &StartupRun::openNextSensor);
}

void StartupRun::start()
{
    checkFiles();
    if (!m_options.traceFile.isEmpty()
        && !ExtensionSystem::FrameTrace::instance().appendTo(m_options.traceFile))
        fail(tr("tgauge: cannot write the trace %1").arg(m_options.traceFile));
    if (m_options.presentation)
        m_window.setPresentationMode(true);
    m_step = tr("opening the sensors");
    m_connecting = int(m_options.openSensors.size()); // until each has connected and loaded
    // Someone may watch a window run: its time counts from the window, not from the
    // end of a connection that may never come.
    if (!m_options.batch && m_options.quitAfterMs)
        QTimer::singleShot(*m_options.quitAfterMs, this, &StartupRun::timeIsUp);
    // The host paints itself first; built at once, the first window would add to that piece.
    waitForPaint(&m_window);
}

int StartupRun::exitCode() const
{
    if (m_interruptedBy)
        return 128 + m_interruptedBy;
    return m_failed ? 1 : m_differences ? 3 : 0;
}

void StartupRun::interrupt(int signalNumber)
{
    if (m_interruptedBy)
        return;
    m_interruptedBy = signalNumber;
    m_done = true;
    if (m_options.batch) {
        emit failed(tr("tgauge: interrupted (%1) during %2")
                        .arg(Kr7dSim::StopSignals::name(signalNumber), m_step));
    }
    m_window.close();
    emit quitRequested(exitCode());
}

// A file the run cannot use is reported now rather than after a connection of many
// seconds; its step is then left out. Each sensor's own file is checked.
void StartupRun::checkFiles()
{
    const int sensors = std::max(1, int(m_options.openSensors.size()));
    for (const FileCheck &check : fileChecks) {
        QString &pattern = m_options.*check.file;
        for (int i = 0; i < sensors && !pattern.isEmpty(); ++i) {
            const QString file = check.suffix
                                     ? sensorFile(pattern, m_options.openSensors.value(i),
                                                  m_options.connectPortFor(i),
                                                  QString::fromLatin1(check.suffix))
                                     : pattern;
            const QString problem
                = check.output ? outputFileProblem(file) : inputFileProblem(file);
            if (!problem.isEmpty()) {
                fail(failureLine(check.failure, file, problem));
                pattern.clear();
            }
        }
    }
}

void StartupRun::openNextSensor()
{
    if (m_interruptedBy)
        return;
    if (m_opened == m_options.openSensors.size()) {
        sensorsAreOpen();
        return;
    }
    const int index = m_opened++;
    const QString &name = m_options.openSensors.at(index);
    if (ExtensionSystem::PluginInterface *object = m_window.openSensor(name)) {
        m_lanes.push_back({object, name, m_options.connectPortFor(index)});
        waitForPaint(m_window.subWindowOf(object));
        return;
    }
    fail(tr("tgauge: cannot open the sensor %1; the catalogue has: %2")
             .arg(name, catalogueNames(m_window.plugins())));
    m_nextSensor.start();
}

// A sub-window shows on a later turn; in a host out of sight nothing gets a paint.
void StartupRun::waitForPaint(QWidget *widget)
{
    if (!widget || !m_window.isVisible()) {
        m_nextSensor.start();
        return;
    }
    m_painting = widget;
    widget->installEventFilter(this);
    m_paintTimeout.start();
}

void StartupRun::painted()
{
    if (m_painting)
        m_painting->removeEventFilter(this);
    m_painting = nullptr;
    m_paintTimeout.stop();
    m_nextSensor.start();
}

void StartupRun::sensorsAreOpen()
{
    emit sensorsOpened();
    QTimer::singleShot(0, this, qOverload<>(&StartupRun::connectAndLoad));
}

// Sensors that share a port take turns on it; each one's waits let the others' run meanwhile.
void StartupRun::connectAndLoad()
{
    // A batch run stops at its first failure: nothing is connected after a bad start.
    if (m_options.batch && m_failed)
        m_abandoned = true;
    m_connecting = int(m_lanes.size());
    if (m_abandoned || m_interruptedBy || m_lanes.empty()) {
        m_connecting = 0;
        startRunTime();
        return;
    }
    if (!m_options.portPerSensor()) {
        connectAndLoad(0);
        return;
    }
    startLane(0);
}

// Each lane on a stack of its own: its waits never hold up another lane's. Started by timers, so
// that a plug-in that waits in nested loops still lets the next lane start: a nested loop runs due
// timers, but not the calls posted before the call it was entered from. One lane a turn: timers
// due together run in one pass, and every lane's start would hold the host in one piece.
void StartupRun::startLane(int lane)
{
    QTimer::singleShot(laneStartMs, this, [this, lane] {
        // Armed first: due on a later turn, also inside this lane's nested waits.
        if (lane + 1 < int(m_lanes.size()))
            startLane(lane + 1);
        Utils::FiberRunner::instance()->start([this, lane] { connectAndLoad(lane); });
    });
}

void StartupRun::connectAndLoad(int index)
{
    Lane &lane = m_lanes[size_t(index)];
    if (lane.object && !lane.port.isEmpty() && !m_interruptedBy) {
        m_step = tr("connecting %1 through %2").arg(lane.sensor, lane.port);
        lane.object->vAutoConnect(lane.port);
        if (!lane.object || lane.object->bConnectionFailed()) {
            const QString reason
                = ExtensionSystem::ConnectionRegistry::instance().failureReason(lane.port);
            fail(lane, tr("tgauge: cannot connect %1 through %2").arg(lane.sensor, lane.port)
                           + (reason.isEmpty() ? QString() : QStringLiteral(": ") + reason));
        }
    }
    const QString settings = fileOf(m_options.settingsFile, lane, QStringLiteral("tgs"));
    if (!lane.failed && lane.object && !settings.isEmpty() && !m_interruptedBy) {
        m_step = tr("applying the settings file %1 to %2").arg(settings, lane.sensor);
        if (!lane.object->bOpenSettingsFrom(settings)) {
            fail(lane,
                 tr("tgauge: cannot apply the settings file %1 to %2").arg(settings, lane.sensor));
        }
    }
    if (!lane.failed)
        sensorConfirmedAll(lane);
    if (--m_connecting == 0)
        startRunTime();
    else if (!m_options.portPerSensor())
        connectAndLoad(index + 1);
}

// A batch run's time counts from here: connecting and writing settings take as
// long as the sensors need. Nobody watches a batch run, so it ends by itself.
void StartupRun::startRunTime()
{
    if (m_interruptedBy)
        return;
    m_step = tr("the run");
    const bool anyLeft = std::any_of(m_lanes.cbegin(), m_lanes.cend(),
                                     [](const Lane &lane) { return lane.object && !lane.failed; });
    if (m_options.batch && (m_abandoned || (m_failed && !anyLeft))) {
        // What follows would only work on a broken state.
        m_abandoned = true;
        finish();
        return;
    }
    if (m_due)
        finish();
    else if (m_options.batch)
        QTimer::singleShot(m_options.quitAfterMs.value_or(0), this, qOverload<>(&StartupRun::finish));
    else if (!m_options.quitAfterMs && !m_options.screenshotFile.isEmpty())
        QTimer::singleShot(screenshotDelayMs, this, &StartupRun::saveScreenshot);
}

// While the sensors still connect, a message box would hold the run forever: each
// one that is or comes up is pictured, when a screenshot is wanted, and dismissed.
// The connection's own progress dialog goes away by itself.
void StartupRun::timeIsUp()
{
    if (m_connecting == 0) {
        finish();
        return;
    }
    m_due = true;
    qApp->installEventFilter(this);
    dismissMessageBoxes();
}

bool StartupRun::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_painting && event->type() == QEvent::Paint)
        painted();
    if (m_connecting > 0 && event->type() == QEvent::Show && qobject_cast<QMessageBox *>(watched))
        QTimer::singleShot(0, this, &StartupRun::dismissMessageBoxes);
    return QObject::eventFilter(watched, event);
}

void StartupRun::dismissMessageBoxes()
{
    QList<QMessageBox *> boxes;
    for (QDialog *dialog : openDialogs()) {
        if (auto *box = qobject_cast<QMessageBox *>(dialog))
            boxes << box;
    }
    if (boxes.isEmpty())
        return;
    if (!m_options.screenshotFile.isEmpty())
        saveScreenshot();
    for (QMessageBox *box : std::as_const(boxes))
        box->reject();
}

void StartupRun::saveScreenshot()
{
    if (m_screenshotTaken)
        return;
    m_screenshotTaken = true;
    const QString &file = m_options.screenshotFile;
    m_step = tr("saving the screenshot %1").arg(file);
    if (pictureWithDialogs(m_window).save(file)) {
        emit screenshotSaved(file);
        return;
    }
    fail(failureLine(screenshotFailure, file));
}

void StartupRun::finish()
{
    if (m_done)
        return;
    m_done = true;
    qApp->removeEventFilter(this);
    if (!m_abandoned) {
        for (Lane &lane : m_lanes) {
            if (lane.object && !lane.failed)
                finish(lane);
        }
        if (!m_options.screenshotFile.isEmpty())
            saveScreenshot();
    }
    // An open dialog would keep its own event loop running past the quit.
    for (QDialog *dialog : openDialogs())
        dialog->reject();
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
    m_step = tr("saving the settings file %1").arg(saved);
    if (lane.object && !saved.isEmpty() && !lane.object->bSaveSettingsTo(saved))
        fail(lane, failureLine(writeSettingsFailure, saved));
    const QString exported = fileOf(m_options.exportCsvFile, lane, QStringLiteral("csv"));
    m_step = tr("exporting the chart data %1").arg(exported);
    if (lane.object && !exported.isEmpty()
        && !lane.object->bExportChartDataTo(exported, m_options.csvDelimiter)) {
        fail(lane, failureLine(writeChartFailure, exported));
    }
}

void StartupRun::compare(Lane &lane, const QString &file)
{
    ExtensionSystem::PluginInterface *object = lane.object;
    if (!object)
        return;
    const QString sensor = object->getSensorName(); // the comparison may run the event loop
    m_step = tr("comparing %1 with %2").arg(sensor, file);
    QStringList differences;
    const int count = object->iCompareSettingsWith(file, &differences);
    if (count < 0) {
        fail(lane, tr("tgauge: cannot compare %1 with the settings file %2").arg(sensor, file));
        return;
    }
    for (const QString &line : std::as_const(differences))
        emit reported(line);
    emit reported(count == 0
                      ? tr("%1: no differences from %2").arg(sensor, file)
                      : tr("%1: %n difference(s) from %2", nullptr, count).arg(sensor, file));
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
    fail(lane, tr("tgauge: %1 did not confirm %2")
                   .arg(lane.sensor, unconfirmed.join(QLatin1String(", "))));
    return false;
}

void StartupRun::fail(const QString &line)
{
    if (m_interruptedBy)
        return; // the interruption is the one thing to report
    m_failed = true;
    emit failed(line);
}

void StartupRun::fail(Lane &lane, const QString &line)
{
    lane.failed = true;
    fail(line);
}

} // namespace TGauge
