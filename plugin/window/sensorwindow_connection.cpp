#include "sensorwindow.h"

#include "connectionswitchdialog.h"
#include "framesteps.h"
#include "sensorwindowdata.h"
#include "ui_sensorwindow.h"

#include <comm/fixedframes.h>

#include <extensionsystem/portsettings.h>
#include <propertybrowser/qtproperty.h>
#include <utils/connectionstatus.h>
#include <utils/genericchart.h>
#include <utils/thresholdwindowwidget.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>

namespace BravoSensorPlugin {
namespace Core {

namespace {

constexpr int probeAttempts = 5;
constexpr double probeTimeoutMs = 1000.0;
constexpr int identityChecksOnConnect = 10;
constexpr int identityChecksOfWatchdog = 11;
constexpr int defaultBaudIndex = 2;

} // namespace

void SensorWindow::updateComPortList(QStringList ports)
{
    QComboBox *combo = data->portCombo;
    const QString selected = combo->currentText();
    combo->clear();
    insertOfflineItem();
    combo->insertSeparator(1);
    combo->insertItems(2, ports);
    // An empty text would find the separator; a vanished port leaves no item selected.
    const int index = selected.isEmpty()
                          ? -1
                          : combo->findText(selected, Qt::MatchExactly | Qt::MatchCaseSensitive);
    combo->setCurrentIndex(index);
}

void SensorWindow::updateWindowTitle()
{
    const QString title = QString::fromStdString(sensor.name()) + QLatin1String(" (")
                          + data->portCombo->currentText() + QLatin1Char(')');
    setWindowTitle(title);
    if (data->rootProperty)
        data->rootProperty->setPropertyName(title);
    ui->statusBar->showMessage(title);
}

void SensorWindow::vConnectToPort(QString port)
{
    emit vComPortSelected(port);
}

void SensorWindow::vDisconnect()
{
    data->decodeTextParameters = true;
    ui->sensorOperationsToolbar->setEnabled(false);
    ui->actionOpen_Settings->setEnabled(true);
    sensorConnected = false;
    data->connectionStatus->setConnected(false);
    data->liveDataEnabled = false;
    ui->actionEnable_live_data->setChecked(false);
    markValuesOffline();
    // An empty port makes the plugin object release the connection.
    emit vComPortSelected(QString());
    updateWindowTitle();
    data->chart->updateChart(false);
    enableStatusChecking(ui->actionEnable_live_data->isChecked());
    data->watchdogTimer.stop();
}

bool SensorWindow::bConnectToSensor()
{
    const SequenceGuard sequence(this, sequences);
    if (sequence.refused() || !data->connection)
        return false;
    ui->statusBar->showMessage(
        tr("Connecting to %1 on %2...")
            .arg(QString::fromStdString(sensor.name()), data->portCombo->currentText()));

    ExtensionSystem::PortSettings settings = *data->connection->poGetPortSettings();
    FrameSteps steps(*this, sequence);
    const bool answered = steps.repeat(probeAttempts, [&] {
        FrameSteps::Record probe;
        settings.vSetBaudrateDefault(defaultBaudIndex);
        data->connection->vSetPortSettings(&settings);
        steps.transfer(probeFrame(), ".*", probeTimeoutMs, data->showTransferUi, &probe);
        return probe.status != 0;
    });
    if (steps.stopped())
        return false;
    if (!answered) {
        // A connection that went away meanwhile was dropped on purpose: no message then.
        if (data->connection)
            showConnectionFailure(false);
        return false;
    }
    data->selectedSensorId = QString::fromStdString(sensor.id());
    const bool identified = bIdentityConfirmed(identityChecksOnConnect);
    if (sequence.stopped())
        return false;
    if (!identified) {
        showConnectionFailure(!connectedSensorText.isEmpty());
        return false;
    }
    vApplyVariantRange();
    confirmations.sensorFound();
    showConfirmations();
    data->deviceValuesPending = true;
    ui->actionOpen_Settings->setEnabled(false);
    return true;
}

// The watchdog is held between the checks, so that it cannot fire inside one of their waits.
bool SensorWindow::bIdentityConfirmed(int checks)
{
    const SequenceGuard sequence(this, sequences);
    // Set again by every identity answer: left empty, it tells that none came.
    connectedSensorText.clear();
    FrameSteps steps(*this, sequence);
    return steps.repeat(checks, [this] {
        data->watchdogTimer.stop();
        return bCheckSensorIdentity();
    });
}

// The last identity check armed the watchdog; a failed attempt must not leave it running behind the
// box.
void SensorWindow::showConnectionFailure(bool sensorAnswered)
{
    data->watchdogTimer.stop();
    vShowUpdateDialog(false);
    const QPointer<SensorWindow> self(this);
    if (sensorAnswered) {
        QMessageBox::warning(
            this, tr("Connecting to sensor..."),
            tr("The connected sensor does not match currently selected sensor, please try again "
               "with the proper sensor"),
            QMessageBox::Ok);
    } else {
        showSilentSensorWarning();
    }
    if (self)
        sensorConnected = false;
}

void SensorWindow::showSilentSensorWarning()
{
    QMessageBox::warning(
        this, tr("Connecting to sensor"),
        tr("The sensor did not respond, please make sure it is properly connected."),
        QMessageBox::Ok);
}

void SensorWindow::giveUpSilentSensor()
{
    if (!sensorConnected)
        return;
    data->watchdogTimer.stop();
    data->portCombo->setCurrentIndex(0);
    data->activePortIndex = 0;
    vDisconnect();
    enableSensorToolbars(sensorConnected);
    showSilentSensorWarning();
}

void SensorWindow::enableSensorToolbars(bool enabled)
{
    ui->sensorOperationsToolbar->setEnabled(enabled);
    ui->outuptsComboToolBar->setEnabled(enabled);
}

void SensorWindow::vAutoConnect(QString ComPort)
{
    if (deferredWhileBusy({tr("Connecting to %1").arg(ComPort), false,
                           [this, ComPort] { vAutoConnect(ComPort); }}))
        return;
    const SequenceGuard sequence(this, sequences);
    writePendingEdits();
    if (sequence.stopped())
        return;
    vDisconnect();
    QComboBox *combo = data->portCombo;
    for (int index = 0; index < combo->count(); ++index) {
        if (combo->itemText(index) == ComPort)
            combo->setCurrentIndex(index);
    }
    emit vComPortSelected(combo->currentText());
    startUpdateDialog(connectFrameCount() + readAllFrameCount());
    data->autoConnecting = true;
    const bool connected = bConnectToSensor();
    if (sequence.stopped())
        return;
    if (connected) {
        takeConnectedSensor();
        if (sequence.stopped())
            return;
    } else {
        data->autoConnecting = false;
        vShowUpdateDialog(false);
        vDisconnect();
        combo->setCurrentIndex(0);
    }
    data->connectionStatus->setConnected(sensorConnected);
    ui->actionEnable_live_data->setChecked(true);
    data->liveDataEnabled = true;
}

void SensorWindow::slotContinousDataTimeout()
{
    // Due inside another sequence's wait: checked once that sequence has ended.
    const SequenceGuard sequence(this, sequences);
    if (sequence.refused()) {
        data->watchdogTimer.start();
        return;
    }
    const bool confirmed = bIdentityConfirmed(identityChecksOfWatchdog);
    if (confirmed || sequence.stopped())
        return;
    data->watchdogTimer.stop();
    if (data->portCombo->currentIndex() == 0)
        return;
    data->portCombo->setCurrentIndex(0);
    data->activePortIndex = 0;
    vDisconnect();
    enableSensorToolbars(sensorConnected);
    showSilentSensorWarning();
}

void SensorWindow::actionConnectSensor(int state)
{
    // Chosen inside a running sequence's wait: the port in use stays until that sequence ends.
    if (sequences.waiting > 0) {
        const QString port = state > 0 ? data->portCombo->itemText(state) : QString();
        data->portCombo->setCurrentIndex(data->activePortIndex);
        deferredWhileBusy({port.isEmpty() ? tr("Going offline") : tr("Connecting to %1").arg(port),
                           false, [this, port] { resumePortChoice(port); }});
        return;
    }
    const SequenceGuard sequence(this, sequences);
    writePendingEdits();
    if (sequence.stopped())
        return;
    if (state <= 0) {
        data->watchdogTimer.stop();
        vShowUpdateDialog(false);
        ui->sensorOperationsToolbar->setEnabled(false);
        sensorConnected = false;
        data->activePortIndex = 0;
        vDisconnect();
    } else {
        ConnectionSwitchDialog direction;
        const int choice = direction.exec();
        if (sequence.stopped())
            return;
        switch (choice) {
        case ConnectionSwitchDialog::Cancelled:
            data->portCombo->setCurrentIndex(data->activePortIndex);
            return;
        case ConnectionSwitchDialog::SensorToPc:
            connectSensorToPc();
            break;
        case ConnectionSwitchDialog::PcToSensor:
            if (!connectPcToSensor())
                return;
            break;
        default:
            break;
        }
        if (sequence.stopped())
            return;
    }
    ui->sensorOperationsToolbar->setEnabled(sensorConnected);
    data->connectionStatus->setConnected(sensorConnected);
}

void SensorWindow::resumePortChoice(const QString &port)
{
    QComboBox *combo = data->portCombo;
    const int index
        = port.isEmpty() ? 0 : combo->findText(port, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        ui->statusBar->showMessage(tr("%1 is no longer in the port list").arg(port));
        return;
    }
    combo->setCurrentIndex(index);
    actionConnectSensor(index);
}

void SensorWindow::connectSensorToPc()
{
    vDisconnect();
    emit vComPortSelected(data->portCombo->currentText());
    startUpdateDialog(connectFrameCount() + readAllFrameCount());
    const SequenceGuard sequence(this, sequences);
    const bool connected = bConnectToSensor();
    if (sequence.stopped())
        return;
    if (!connected) {
        dropFailedConnection();
        return;
    }
    takeConnectedSensor();
    if (sequence.stopped())
        return;
    data->liveDataEnabled = true;
    ui->actionEnable_live_data->setChecked(true);
}

bool SensorWindow::connectPcToSensor()
{
    const SequenceGuard sequence(this, sequences);
    const QMessageBox::StandardButton answer = QMessageBox::information(
        this, tr("tGauge"), tr("Sensor settings will be overwritten with the ones from PC"),
        QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
    if (sequence.stopped())
        return true;
    if (answer == QMessageBox::Cancel) {
        data->portCombo->setCurrentIndex(0);
        data->activePortIndex = 0;
        return false;
    }
    vDisconnect();
    emit vComPortSelected(data->portCombo->currentText());
    const bool connected = bConnectToSensor();
    if (sequence.stopped())
        return true;
    if (!connected) {
        dropFailedConnection();
        return true;
    }
    updateWindowTitle();
    sensorConnected = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    editForwarding = false;
    vWriteAllSettings(false);
    if (sequence.stopped()) {
        QApplication::restoreOverrideCursor();
        return true;
    }
    editForwarding = true;
    if (!sensorConnected) {
        QApplication::restoreOverrideCursor();
        return true;
    }
    const bool paused = sequence.pause(readBackPauseMs);
    QApplication::restoreOverrideCursor();
    if (!paused)
        return true;
    ui->actionWriting->setChecked(false);

    // Read back what the sensor took.
    startUpdateDialog(readAllFrameCount());
    readAllSwitchingTextDecoding(true);
    if (sequence.stopped())
        return true;
    endUpdateDialog();
    if (!sensorConnected)
        return true;
    enableSensorToolbars(true);
    data->activePortIndex = data->portCombo->currentIndex();
    makeMarksEditable();
    data->watchdogTimer.start();
    data->liveDataEnabled = true;
    ui->actionEnable_live_data->setChecked(true);
    enableStatusChecking(true);
    return true;
}

void SensorWindow::takeConnectedSensor()
{
    const SequenceGuard sequence(this, sequences);
    updateWindowTitle();
    sensorConnected = true;
    data->justConnected = true;
    readAllParameters();
    if (sequence.stopped() || !sensorConnected)
        return;
    enableSensorToolbars(true);
    data->activePortIndex = data->portCombo->currentIndex();
    makeMarksEditable();
    data->watchdogTimer.start();
    // Live data follows read-all's last answer at once.
    endUpdateDialog();
    finishConnectionAfterUpdate();
}

void SensorWindow::makeMarksEditable()
{
    if (data->thresholdWidget)
        data->thresholdWidget->setReadOnly(false);
}

void SensorWindow::dropFailedConnection()
{
    vShowUpdateDialog(false);
    data->activePortIndex = 0;
    data->portCombo->setCurrentIndex(0);
    vDisconnect();
}

} // namespace Core
} // namespace BravoSensorPlugin
