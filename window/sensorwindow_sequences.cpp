#include "sensorwindow.h"

#include "livedatapause.h"
#include "parameteraddress.h"
#include "propertyvalues.h"
#include "sensorwindowdata.h"
#include "ui_sensorwindow.h"

#include <comm/answers.h>
#include <comm/fixedframes.h>
#include <comm/frame.h>

#include <propertybrowser/qtproperty.h>

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QToolBar>

namespace BravoSensorPlugin {
namespace Core {

namespace {

constexpr int defaultProgressMaximum = 350;

const char updateDialogStyle[]
    = "QWidget#DataFrameSenderUi {border: 1px solid gray; border-style: outset; border-radius: 3px;"
      " padding: 1px 18px 1px 3px; min-width: 6em;"
      " background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #E1E1E1, stop: 0.4 #DDDDDD,"
      " stop: 0.5 #D8D8D8, stop: 1.0 #D3D3D3);}";

// Read-only values, the teach input and the teach button are never part of a write-all.
bool isLeftOutOfWriteAll(const QString &id)
{
    for (const char *marker : {"ReadOnly", "InputMode", "TEACHBUTTON"}) {
        if (id.contains(QLatin1String(marker), Qt::CaseSensitive))
            return true;
    }
    return false;
}

} // namespace

bool SensorWindow::bCheckSensorIdentity()
{
    const SequenceGuard sequence(this, sequences);
    if (sequence.refused())
        return false;
    // The answers up to the final fetch are not looked at: they prepare the master's port.
    const QByteArray preparation[]
        = {probeFrame(),         identitySetupFrame(), processDataFrame(),
           identityStartFrame(), productIdReadFrame(), processDataFrame()};
    for (const QByteArray &frame : preparation) {
        bSendFrame(frame, false);
        if (sequence.stopped())
            return false;
    }
    if (!sequence.pause(50))
        return false;
    bSendFrame(processDataFrame(), false);
    if (!sequence.pause(50))
        return false;

    // The device's answer crosses the serial line character by character: give it that time too.
    const QByteArray fetch = resultFetchFrame();
    const unsigned int timeoutMs = unsigned(sensor.getLineDelay())
                                   + unsigned(sensor.getCharacterDelay()) * unsigned(fetch.size())
                                   + 2000u;
    const auto record = transferOne(fetch, std::string(), double(timeoutMs), false);
    if (sequence.stopped())
        return false;
    bool matches = false;
    if (record.status != 0) {
        const QByteArray answer = QByteArray::fromStdString(record.answer);
        const QString identity = identityText(answer);
        if (!identity.isEmpty()) {
            connectedSensorText = identity;
            matches = identityMatches(answer, data->selectedSensorId);
        }
    }
    data->watchdogTimer.start();
    return matches;
}

bool SensorWindow::readParameter(const QString &id, bool showUi)
{
    const SequenceGuard sequence(this, sequences);
    if (sequence.refused())
        return true;
    QtProperty *property = findProperty(data->rootProperty, id.toLatin1());
    enableTreeDataHandling(false);
    if (property) {
        const ParameterAddress address = ParameterAddress::fromText(parameterAddresses.value(id));
        bSendFrame(readRequestFrame(address.index, address.subIndex), showUi);
        if (sequence.stopped())
            return true;
        if (!sequence.pause(50))
            return true;
        for (int i = 0; i < 2; ++i) {
            bSendFrame(processDataFrame(), true);
            if (!sequence.pause(70))
                return true;
        }
        const QByteArray answer = requestAnswer(resultFetchFrame());
        if (sequence.stopped())
            return true;
        const std::optional<int> unitIndex
            = applyAnswer(property, answer, {data->pressureDivisor, data->decodeTextParameters});
        if (unitIndex)
            previousUnitIndex = *unitIndex;
    }
    enableTreeDataHandling(true);
    return true;
}

void SensorWindow::readAllParameters()
{
    const SequenceGuard sequence(this, sequences);
    if (sequence.refused())
        return;
    data->watchdogTimer.stop();
    const QStringList ids = parameterAddresses.keys();
    for (const QString &id : ids) {
        if (!sequence.pause(120))
            return;
        readParameter(id, false);
        if (sequence.stopped())
            return;
    }
    applyUnitsAndOutputs(QString());
    data->watchdogTimer.start();
}

// The user's "Read" leaves texts alone; they are decoded from then on.
void SensorWindow::vRadAllSettings(bool)
{
    const SequenceGuard sequence(this, sequences);
    if (sequence.refused())
        return;
    ui->actionWriting->setChecked(false);
    startUpdateDialog(430);
    readAllSwitchingTextDecoding(false);
}

void SensorWindow::readAllSwitchingTextDecoding(bool decodeTexts)
{
    const SequenceGuard sequence(this, sequences);
    data->decodeTextParameters = decodeTexts;
    data->deviceValuesPending = true;
    readAllParameters();
    if (sequence.stopped())
        return;
    data->decodeTextParameters = !decodeTexts;
}

void SensorWindow::sendDelayValue()
{
    // A write that comes due inside another sequence's wait goes out after that sequence.
    const SequenceGuard sequence(this, sequences);
    if (sequence.refused()) {
        sendTimer.start();
        return;
    }
    enableTreeDataHandling(false);
    QtProperty *property = pendingProperty;
    const QVariant value = deviceUnitValue(property, pendingValue);
    const QString id = property ? property->propertyId() : QString();
    if (!id.isEmpty()) {
        const ParameterAddress address = ParameterAddress::fromText(parameterAddresses.value(id));
        if (sensorConnected && address.hasWriteFrame()) {
            const int number = deviceNumber(property, value, data->pressureDivisor, editForwarding);
            if (!sequence.pause(100))
                return;
            bSendFrame(resultFetchFrame(), false);
            if (!sequence.pause(100))
                return;
            signalWriteModeIcon(true);
            requestAnswer(writeFrame(address.index, address.subIndex, address.size, number));
            if (sequence.stopped())
                return;
        }
        if (!data->liveDataEnabled && sensorConnected)
            bSendFrame(processDataFrame(), data->showTransferUi);
        if (sequence.stopped())
            return;
        sendTimer.stop();
    }
    if (!bulkWriteActive)
        applyUnitsAndOutputs(QString());
    enableTreeDataHandling(true);
}

void SensorWindow::vWriteAllSettings(bool)
{
    const SequenceGuard sequence(this, sequences);
    if (sequence.refused())
        return;
    const LiveDataPause pause(*this);
    if (data->connection)
        data->pollTimer.start();
    enableTreeDataHandling(false);
    bulkWriteActive = true;
    writeAllSettings();
    if (sequence.stopped())
        return;
    bulkWriteActive = false;
    vEnableEditableProperties();
    enableTreeDataHandling(true);
}

void SensorWindow::writeAllSettings()
{
    const SequenceGuard sequence(this, sequences);
    if (sequence.refused())
        return;
    pendingValue = -1;
    data->watchdogTimer.stop();
    const QStringList ids = parameterAddresses.keys();
    for (const QString &id : ids) {
        enableTreeDataHandling(false);
        enableStringManagerHandling(false);
        pendingProperty = findProperty(data->rootProperty, id.toLatin1());
        if (!pendingProperty)
            continue;
        // Text and button properties keep the value of the entry before them.
        const QVariant current = numericValue(pendingProperty);
        if (current.isValid())
            pendingValue = current;
        if (isLeftOutOfWriteAll(id))
            continue;
        if (!sequence.pause(250))
            return;
        sendDelayValue();
        if (!sequence.pause(250))
            return;
    }
    enableTreeDataHandling(true);
    data->watchdogTimer.start();
}

// Properties marked "readOnly" at build time stay disabled; every other one takes edits again.
void SensorWindow::vEnableEditableProperties()
{
    const QList<QtProperty *> properties = allSubProperties(data->rootProperty);
    for (QtProperty *property : properties) {
        if (property->statusTip() != QLatin1String("readOnly"))
            property->setEnabled(true);
    }
}

bool SensorWindow::bFactoryResetSequence()
{
    const SequenceGuard sequence(this, sequences);
    if (sequence.refused())
        return true;
    enableTreeDataHandling(false);
    ui->actionWriting->setChecked(true);
    startUpdateDialog(380);

    const QByteArray frames[]
        = {resultFetchFrame(), factoryResetFrame(), processDataFrame(), processDataFrame()};
    const unsigned int pausesBefore[] = {100, 100, 100, 0};
    for (int i = 0; i < 4; ++i) {
        if (!sequence.pause(pausesBefore[i]))
            return true;
        bSendFrame(frames[i], false);
        if (sequence.stopped())
            return true;
    }
    if (!sequence.pause(100))
        return true;

    data->deviceValuesPending = true;
    readAllParameters();
    if (sequence.stopped())
        return true;
    ui->actionEnable_live_data->setChecked(true);
    readParameter(QStringLiteral("FilterSettings"), false);
    enableTreeDataHandling(true);
    return true;
}

void SensorWindow::startUpdateDialog(int maximum)
{
    data->progressMaximum = maximum;
    data->showTransferUi = true;
    vShowUpdateDialog(true);
}

void SensorWindow::vShowUpdateDialog(bool show)
{
    QDialog *dialog = &data->progressDialog;
    if (!show) {
        data->progressMaximum = defaultProgressMaximum;
        dialog->hide();
        data->showTransferUi = true;
        return;
    }
    dialog->setParent(this, Qt::SplashScreen | Qt::WindowStaysOnTopHint);
    dialog->setWindowOpacity(0.75);
    dialog->setModal(true);
    dialog->setObjectName(QStringLiteral("DataFrameSenderUi"));
    dialog->setStyleSheet(QLatin1String(updateDialogStyle));

    QLabel *label = data->progressLabel;
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setText(tr("updating..."));
    data->progressLayout->addWidget(label, 0, 1, Qt::AlignCenter);
    data->showTransferUi = false;

    dialog->setFixedSize(270, 60);
    QProgressBar *bar = data->progressBar;
    bar->setFixedSize(dialog->width() - 22, 20);
    data->progressLayout->addWidget(bar, 1, 1,
                                    Qt::AlignHCenter | Qt::AlignVCenter | Qt::AlignBottom);
    // Showing may run the event loop, and with it a step of a bar still running.
    bar->setRange(0, data->progressMaximum);
    bar->setValue(0);
    dialog->show();
    QTimer::singleShot(0, this, SLOT(vUpdateProgressBar()));
}

// Paced by time alone: it moves on while the sequences wait for answers in nested event loops.
void SensorWindow::vUpdateProgressBar()
{
    QProgressBar *bar = data->progressBar;
    if (bar->value() < bar->maximum()) {
        bar->setValue(bar->value() + 1);
        QTimer::singleShot(10, this, SLOT(vUpdateProgressBar()));
        return;
    }
    vShowUpdateDialog(false);
    // A connection still reading the sensor starts live data itself, after its last answer.
    if (sequences.running == 0)
        finishConnectionAfterUpdate();
}

// Live data and the watchdog start only once the transfer after a connection has been shown to end.
void SensorWindow::finishConnectionAfterUpdate()
{
    if (!data->justConnected)
        return;
    QAction *liveData = ui->actionEnable_live_data;
    // After an automatic connection live data is on, whatever the user had chosen before.
    if (data->autoConnecting)
        liveData->setChecked(true);
    data->activePortIndex = data->portCombo->currentIndex();
    data->liveDataEnabled = liveData->isChecked();
    if (data->connection)
        data->pollTimer.start();
    data->watchdogTimer.start();
    if (sensorConnected)
        ui->chartToolbar->setEnabled(true);
    data->justConnected = false;
}

} // namespace Core
} // namespace BravoSensorPlugin
