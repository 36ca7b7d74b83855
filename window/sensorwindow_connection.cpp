#include "sensorwindow.h"

#include "connectionswitchdialog.h"
#include "sensorwindowdata.h"
#include "ui_sensorwindow.h"

#include <comm/fixedframes.h>
#include <comm/platformsleep.h>

#include <extensionsystem/portsettings.h>
#include <propertybrowser/qtproperty.h>
#include <utils/connectionstatus.h>
#include <utils/genericchart.h>
#include <utils/thresholdwindowwidget.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QStatusBar>
#include <QToolBar>

namespace BravoSensorPlugin {
namespace Core {

namespace {

constexpr int probeAttempts = 5;
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
    const int index = selected.isEmpty() ? -1 : combo->findText(selected, Qt::MatchExactly | Qt::MatchCaseSensitive);
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
    // An empty port makes the plugin object release the connection.
    emit vComPortSelected(QString());
    updateWindowTitle();
    data->chart->updateChart(false);
    enableStatusChecking(ui->actionEnable_live_data->isChecked());
    data->watchdogTimer.stop();
}

bool SensorWindow::bConnectToSensor()
{
    ExtensionSystem::CommunicationInterface::DataFrame probe(1);
    ExtensionSystem::CommunicationInterface::DataFrameRecord &record = probe.front();
    record.query = probeFrame().toStdString();
    record.answerPattern = ".*";
    record.timeoutMs = 1000.0;
    if (!data->connection)
        return false;

    ExtensionSystem::PortSettings settings = *data->connection->poGetPortSettings();
    for (int attempt = 1; attempt <= probeAttempts && data->connection; ++attempt) {
        settings.vSetBaudrateDefault(defaultBaudIndex);
        data->connection->vSetPortSettings(&settings);
        sendDataFrame(&probe, data->showTransferUi);
        if (record.status == 0)
            continue;
        data->selectedSensorId = QString::fromStdString(sensor.id());
        if (!bIdentityConfirmed(identityChecksOnConnect)) {
            showSensorMismatch();
            return false;
        }
        vApplyVariantRange();
        data->deviceValuesPending = true;
        ui->actionOpen_Settings->setEnabled(false);
        return true;
    }
    // A connection that went away meanwhile was dropped on purpose: no message then.
    if (data->connection)
        showSensorMismatch();
    return false;
}

// The watchdog is held between the checks, so that it cannot fire inside one of their waits.
bool SensorWindow::bIdentityConfirmed(int checks)
{
    for (int check = 0; check < checks; ++check) {
        data->watchdogTimer.stop();
        if (bCheckSensorIdentity())
            return true;
    }
    return false;
}

void SensorWindow::showSensorMismatch()
{
    vShowUpdateDialog(false);
    QMessageBox::warning(this, tr("Connecting to sensor..."),
                         tr("The connected sensor does not match currently selected sensor, please try again "
                            "with the proper sensor"),
                         QMessageBox::Ok);
    sensorConnected = false;
}

void SensorWindow::vAutoConnect(QString ComPort)
{
    vDisconnect();
    QComboBox *combo = data->portCombo;
    for (int index = 0; index < combo->count(); ++index) {
        if (combo->itemText(index) == ComPort)
            combo->setCurrentIndex(index);
    }
    emit vComPortSelected(combo->currentText());
    data->showTransferUi = true;
    vShowUpdateDialog(true);
    data->autoConnecting = true;
    if (bConnectToSensor()) {
        takeConnectedSensor();
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
    if (bIdentityConfirmed(identityChecksOfWatchdog))
        return;
    data->watchdogTimer.stop();
    if (data->portCombo->currentIndex() == 0)
        return;
    data->portCombo->setCurrentIndex(0);
    data->activePortIndex = 0;
    vDisconnect();
    ui->sensorOperationsToolbar->setEnabled(sensorConnected);
    ui->outuptsComboToolBar->setEnabled(sensorConnected);
    QMessageBox::warning(this, tr("Connecting to sensor"),
                         tr("The sensor did not respond, please make sure it is properly connected."),
                         QMessageBox::Ok);
}

void SensorWindow::actionConnectSensor(int state)
{
    if (state <= 0) {
        data->watchdogTimer.stop();
        vShowUpdateDialog(false);
        ui->sensorOperationsToolbar->setEnabled(false);
        sensorConnected = false;
        data->activePortIndex = 0;
        vDisconnect();
    } else {
        ConnectionSwitchDialog direction;
        switch (direction.exec()) {
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
    }
    ui->sensorOperationsToolbar->setEnabled(sensorConnected);
    data->connectionStatus->setConnected(sensorConnected);
}

void SensorWindow::connectSensorToPc()
{
    vDisconnect();
    emit vComPortSelected(data->portCombo->currentText());
    startUpdateDialog(350);
    if (!bConnectToSensor()) {
        dropFailedConnection();
        return;
    }
    takeConnectedSensor();
    data->liveDataEnabled = true;
    ui->actionEnable_live_data->setChecked(true);
}

bool SensorWindow::connectPcToSensor()
{
    const QMessageBox::StandardButton answer
        = QMessageBox::information(this, tr("tGauge"), tr("Sensor settings will be overwritten with the ones from PC"),
                                   QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) {
        data->portCombo->setCurrentIndex(0);
        data->activePortIndex = 0;
        return false;
    }
    vDisconnect();
    emit vComPortSelected(data->portCombo->currentText());
    if (!bConnectToSensor()) {
        dropFailedConnection();
        return true;
    }
    updateWindowTitle();
    sensorConnected = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    editForwarding = false;
    vWriteAllSettings(false);
    editForwarding = true;
    platformSleep(250);
    QApplication::restoreOverrideCursor();
    ui->actionWriting->setChecked(false);

    // Read back what the sensor took.
    startUpdateDialog(470);
    readAllSwitchingTextDecoding(true);
    ui->sensorOperationsToolbar->setEnabled(sensorConnected);
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
    updateWindowTitle();
    sensorConnected = true;
    data->justConnected = true;
    readAllParameters();
    ui->sensorOperationsToolbar->setEnabled(true);
    data->activePortIndex = data->portCombo->currentIndex();
    makeMarksEditable();
    data->watchdogTimer.start();
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
