#include "startuprun.h"

#include "mainwindow.h"
#include "pathchecks.h"
#include "windowpicture.h"

#include <extensionsystem/connectionregistry.h>
#include <extensionsystem/frametrace.h>
#include <extensionsystem/plugininterface.h>
#include <simulator/stopsignals.h>

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>

#include <utility>

namespace TGauge {

namespace {

const char readSettingsFailure[] = "tgauge: cannot read the settings file %1";
const char writeSettingsFailure[] = "tgauge: cannot write the settings file %1";
const char writeChartFailure[] = "tgauge: cannot write the chart data %1";
const char screenshotFailure[] = "tgauge: cannot save the screenshot %1";

struct FileCheck
{
    QString CommandLine::*file;
    bool output;
    const char *failure;
};

// Every file the run reads or writes, checked before the sensors connect.
const FileCheck fileChecks[] = {
    {&CommandLine::settingsFile, false, readSettingsFailure},
    {&CommandLine::compareSettingsFile, false, readSettingsFailure},
    {&CommandLine::saveSettingsFile, true, writeSettingsFailure},
    {&CommandLine::exportCsvFile, true, writeChartFailure},
    {&CommandLine::screenshotFile, true, screenshotFailure},
};

QString failureLine(const char *failure, const QString &file, const QString &reason = {})
{
    const QString line = QString::fromLatin1(failure).arg(file);
    return reason.isEmpty() ? line : line + QStringLiteral(": ") + reason;
}

QString catalogueNames(const std::vector<PluginLibrary> &plugins)
{
    QStringList names;
    for (const PluginLibrary &plugin : plugins) {
        for (const auto &sensor : plugin.sensors)
            names << QString::fromStdString(sensor.name());
    }
    return names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", "));
}

} // namespace

StartupRun::StartupRun(CommandLine options, MainWindow &window, QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_window(window)
{
}

void StartupRun::start()
{
    checkFiles();
    if (!m_options.traceFile.isEmpty()
        && !ExtensionSystem::FrameTrace::instance().appendTo(m_options.traceFile))
        fail(QStringLiteral("tgauge: cannot write the trace %1").arg(m_options.traceFile));
    if (m_options.presentation)
        m_window.setPresentationMode(true);
    openSensors();
    // Someone may watch a window run: its time counts from the window, not from the
    // end of a connection that may never come.
    if (!m_options.batch && m_options.quitAfterMs)
        QTimer::singleShot(*m_options.quitAfterMs, this, &StartupRun::timeIsUp);
    QTimer::singleShot(0, this, qOverload<>(&StartupRun::connectAndLoad));
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
        emit failed(QStringLiteral("tgauge: interrupted (%1) during %2")
                        .arg(Kr7dSim::StopSignals::name(signalNumber), m_step));
    }
    m_window.close();
    emit quitRequested(exitCode());
}

// A file the run cannot use is reported now rather than after a connection of many
// seconds; its step is then left out.
void StartupRun::checkFiles()
{
    for (const FileCheck &check : fileChecks) {
        QString &file = m_options.*check.file;
        if (file.isEmpty())
            continue;
        const QString problem = check.output ? outputFileProblem(file) : inputFileProblem(file);
        if (!problem.isEmpty()) {
            fail(failureLine(check.failure, file, problem));
            file.clear();
        }
    }
}

void StartupRun::openSensors()
{
    m_step = QStringLiteral("opening the sensors");
    for (const QString &name : std::as_const(m_options.openSensors)) {
        if (ExtensionSystem::PluginInterface *object = m_window.openSensor(name)) {
            m_opened << object;
        } else {
            fail(QStringLiteral("tgauge: cannot open the sensor %1; the catalogue has: %2")
                     .arg(name, catalogueNames(m_window.plugins())));
        }
    }
}

// A batch run's time counts from here: connecting and writing settings take as
// long as the sensor needs. Nobody watches a batch run, so it ends by itself.
void StartupRun::connectAndLoad()
{
    m_connecting = true;
    for (const QPointer<ExtensionSystem::PluginInterface> &object : std::as_const(m_opened)) {
        if (object && !(m_failed && m_options.batch) && !m_interruptedBy)
            connectAndLoad(object);
    }
    m_connecting = false;
    if (m_interruptedBy)
        return;
    m_step = QStringLiteral("the run");
    if (m_failed && m_options.batch) {
        // What follows would only work on a broken state.
        m_abandoned = true;
        finish();
        return;
    }
    if (m_due)
        finish();
    else if (m_options.batch)
        QTimer::singleShot(m_options.quitAfterMs.value_or(0), this, &StartupRun::finish);
    else if (!m_options.quitAfterMs && !m_options.screenshotFile.isEmpty())
        QTimer::singleShot(screenshotDelayMs, this, &StartupRun::saveScreenshot);
}

void StartupRun::connectAndLoad(ExtensionSystem::PluginInterface *object)
{
    const QPointer<ExtensionSystem::PluginInterface> guard(object);
    const QString sensor = object->getSensorName();
    const QString &port = m_options.connectPort;
    if (!port.isEmpty()) {
        m_step = QStringLiteral("connecting %1 through %2").arg(sensor, port);
        object->vAutoConnect(port);
        if (!guard || object->bConnectionFailed()) {
            const QString reason
                = ExtensionSystem::ConnectionRegistry::instance().failureReason(port);
            fail(QStringLiteral("tgauge: cannot connect %1 through %2").arg(sensor, port)
                 + (reason.isEmpty() ? QString() : QStringLiteral(": ") + reason));
            return;
        }
    }
    const QString &settings = m_options.settingsFile;
    if (!settings.isEmpty()) {
        m_step = QStringLiteral("applying the settings file %1 to %2").arg(settings, sensor);
        if (!object->bOpenSettingsFrom(settings)) {
            fail(QStringLiteral("tgauge: cannot apply the settings file %1 to %2")
                     .arg(settings, sensor));
        }
    }
}

// While the sensors still connect, a message box would hold the run forever: each
// one that is or comes up is pictured, when a screenshot is wanted, and dismissed.
// The connection's own progress dialog goes away by itself.
void StartupRun::timeIsUp()
{
    if (!m_connecting) {
        finish();
        return;
    }
    m_due = true;
    qApp->installEventFilter(this);
    dismissMessageBoxes();
}

bool StartupRun::eventFilter(QObject *watched, QEvent *event)
{
    if (m_connecting && event->type() == QEvent::Show && qobject_cast<QMessageBox *>(watched))
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
    m_step = QStringLiteral("saving the screenshot %1").arg(file);
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
        for (const QPointer<ExtensionSystem::PluginInterface> &object : std::as_const(m_opened)) {
            if (object && !m_options.compareSettingsFile.isEmpty())
                compare(object);
            const QString &settings = m_options.saveSettingsFile;
            m_step = QStringLiteral("saving the settings file %1").arg(settings);
            if (object && !settings.isEmpty() && !object->bSaveSettingsTo(settings))
                fail(failureLine(writeSettingsFailure, settings));
            const QString &chart = m_options.exportCsvFile;
            m_step = QStringLiteral("exporting the chart data %1").arg(chart);
            if (object && !chart.isEmpty()
                && !object->bExportChartDataTo(chart, m_options.csvDelimiter))
                fail(failureLine(writeChartFailure, chart));
        }
        if (!m_options.screenshotFile.isEmpty())
            saveScreenshot();
    }
    // An open dialog would keep its own event loop running past the quit.
    for (QDialog *dialog : openDialogs())
        dialog->reject();
    emit quitRequested(exitCode());
}

void StartupRun::compare(ExtensionSystem::PluginInterface *object)
{
    const QString &file = m_options.compareSettingsFile;
    const QString sensor = object->getSensorName(); // the comparison may run the event loop
    m_step = QStringLiteral("comparing %1 with %2").arg(sensor, file);
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

void StartupRun::fail(const QString &line)
{
    if (m_interruptedBy)
        return; // the interruption is the one thing to report
    m_failed = true;
    emit failed(line);
}

} // namespace TGauge
