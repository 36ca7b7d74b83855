#include "sensorwindow.h"

#include "editsmuted.h"
#include "framesteps.h"
#include "livedatapause.h"
#include "parameteraddress.h"
#include "propertyvalues.h"
#include "sensorwindowdata.h"
#include "ui_sensorwindow.h"

#include <comm/answers.h>
#include <comm/fixedframes.h>
#include <comm/frame.h>
#include <model/parameterids.h>

#include <propertybrowser/qtproperty.h>

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>

namespace BravoSensorPlugin {
namespace Core {

namespace {

constexpr int defaultProgressMaximum = 350;
// A read request, two process-data frames and the result fetch.
constexpr int framesPerRead = 4;
// The probe, then one identity check: four frames that prepare the port, the product id's read
// request and a process-data frame, another process-data frame and the fetch.
constexpr int connectFrames = 1 + 8;
// The frames of a factory reset before its read-back, and of the filter setting read after it.
constexpr int factoryResetFrames = 4 + framesPerRead;
// A step whose answer is missing, damaged or an error is tried twice more before it fails.
constexpr int stepAttempts = 3;

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
    // The device's answer crosses the serial line character by character: give it that time too.
    const QByteArray fetch = resultFetchFrame();
    const unsigned int timeoutMs = unsigned(sensor.getLineDelay())
                                   + unsigned(sensor.getCharacterDelay()) * unsigned(fetch.size())
                                   + 2000u;
    FrameSteps steps(*this, sequence);
    // The answers up to the final fetch are not looked at: they prepare the master's port.
    steps.frame(probeFrame())
        .frame(identitySetupFrame())
        .frame(processDataFrame())
        .frame(identityStartFrame());
    // A lost read request leaves the master nothing to fetch: a missing identity is asked for
    // again.
    QByteArray answer;
    const bool identified = steps.repeat(stepAttempts, [&] {
        FrameSteps::Record record;
        steps.frame(productIdReadFrame())
            .frame(processDataFrame())
            .pause(identityPauseMs)
            .frame(processDataFrame())
            .pause(identityPauseMs)
            .transfer(fetch, std::string(), double(timeoutMs), false, &record);
        answer = QByteArray::fromStdString(record.answer);
        return record.status != 0 && !identityText(answer).isEmpty();
    });
    if (steps.stopped())
        return false;
    if (identified)
        connectedSensorText = identityText(answer);
    data->watchdogTimer.start();
    return identified && identityMatches(answer, data->selectedSensorId);
}

bool SensorWindow::readParameter(const QString &id, bool showUi)
{
    const SequenceGuard sequence(this, sequences);
    if (sequence.refused())
        return false;
    QtProperty *property = findProperty(data->rootProperty, id.toLatin1());
    StepAnswer outcome = StepAnswer::Taken;
    if (property) {
        const bool text = holdsText(propertyKind(property));
        QByteArray answer;
        outcome = fetchParameter(id, showUi, !text, &answer);
        if (sequence.stopped())
            return false;
        // An edit made while the read waited is written after it, and stays what is shown.
        if (outcome == StepAnswer::Taken && !pendingEdits.contains(property)) {
            decodeAnswer(property, answer);
            if (!text || data->decodeTextParameters)
                confirmValue(id);
        }
    }
    return outcome != StepAnswer::Missing;
}

StepAnswer SensorWindow::fetchParameter(const QString &id, bool showUi, bool payloadRequired,
                                        QByteArray *answer)
{
    const SequenceGuard sequence(this, sequences);
    FrameSteps steps(*this, sequence);
    const ParameterAddress address = ParameterAddress::fromText(parameterAddresses.value(id));
    const QByteArray readRequest = readRequestFrame(address.index, address.subIndex);
    // Once stopped, no answer is taken: the outcome is Missing.
    StepAnswer outcome = StepAnswer::Missing;
    steps.repeat(stepAttempts, [&] {
        QByteArray request;
        steps.answer(readRequest, &request, showUi)
            .pause(readRequestPauseMs)
            .frame(processDataFrame(), true)
            .pause(processDataPauseMs)
            .frame(processDataFrame(), true)
            .pause(processDataPauseMs)
            .request(resultFetchFrame(), answer);
        // A request the master refused leaves the previous result to be fetched.
        outcome = stepAnswer(request);
        if (outcome == StepAnswer::Taken)
            outcome = stepAnswer(*answer, payloadRequired);
        return outcome == StepAnswer::Taken;
    });
    return outcome;
}

// Decoded values are no edits: handlers are off only here, so that edits made during the waits
// of a sequence are kept.
void SensorWindow::decodeAnswer(QtProperty *property, const QByteArray &answer)
{
    const EditsMuted muted(*this);
    const std::optional<int> unitIndex
        = applyAnswer(property, answer, {data->pressureDivisor, data->decodeTextParameters});
    if (unitIndex)
        previousUnitIndex = *unitIndex;
}

void SensorWindow::readAllParameters()
{
    const SequenceGuard sequence(this, sequences);
    if (sequence.refused())
        return;
    data->watchdogTimer.stop();
    FrameSteps steps(*this, sequence);
    const QStringList ids = parameterAddresses.keys();
    for (int index = 0; index < ids.size(); ++index) {
        const QString &id = ids.at(index);
        showReadingProgress(index + 1, ids.size(), id);
        bool answered = false;
        steps.pause(betweenReadsPauseMs).then([&] { answered = readParameter(id, false); });
        if (steps.stopped())
            return;
        // The values read so far stand; the rest keep what they showed.
        if (!answered) {
            giveUpSilentSensor();
            break;
        }
    }
    applyUnitsAndOutputs(QString());
    ui->statusBar->showMessage(windowTitle());
    if (sensorConnected)
        data->watchdogTimer.start();
}

void SensorWindow::showReadingProgress(int done, int total, const QString &id)
{
    const QtProperty *property = findProperty(data->rootProperty, id.toLatin1());
    ui->statusBar->showMessage(tr("Reading parameters %1 / %2: %3")
                                   .arg(done)
                                   .arg(total)
                                   .arg(property ? property->propertyName() : id));
}

int SensorWindow::readAllFrameCount() const
{
    return framesPerRead * parameterAddresses.size();
}

int SensorWindow::connectFrameCount()
{
    return connectFrames;
}

// The user's "Read" leaves texts alone; they are decoded from then on.
void SensorWindow::vRadAllSettings(bool)
{
    if (deferredWhileBusy({tr("Read"), true, [this] { vRadAllSettings(false); }}))
        return;
    const SequenceGuard sequence(this, sequences);
    writePendingEdits();
    if (sequence.stopped())
        return;
    ui->actionWriting->setChecked(false);
    startUpdateDialog(readAllFrameCount());
    readAllSwitchingTextDecoding(false);
    if (!sequence.stopped())
        endUpdateDialog();
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
    // Due inside another sequence's wait: the edits stay pending and go out once it has ended.
    if (sequences.waiting > 0)
        return;
    sendTimer.stop();
    if (pendingEdits.isEmpty())
        applyUnitsAndOutputs(QString());
    else
        writePendingEdits();
}

void SensorWindow::writePendingEdits()
{
    const SequenceGuard sequence(this, sequences);
    if (sequence.refused())
        return;
    while (!pendingEdits.isEmpty()) {
        const PendingEdits::Edit edit = pendingEdits.takeFirst();
        pendingProperty = edit.property;
        // As shown now: a unit change since the edit has converted it.
        const QVariant shown = numericValue(edit.property);
        pendingValue = shown.isValid() ? shown : edit.value;
        writePendingProperty();
        if (sequence.stopped())
            return;
    }
}

void SensorWindow::writePendingProperty()
{
    const SequenceGuard sequence(this, sequences);
    if (sequence.refused())
        return;
    QtProperty *property = pendingProperty;
    const QVariant value = [this, property] {
        // A moved analog point is shown at once, and is no edit of its own.
        const EditsMuted muted(*this);
        return deviceUnitValue(property, pendingValue);
    }();
    const QString id = property ? property->propertyId() : QString();
    if (!id.isEmpty()) {
        FrameSteps steps(*this, sequence);
        const ParameterAddress address = ParameterAddress::fromText(parameterAddresses.value(id));
        if (sensorConnected && address.hasWriteFrame()) {
            const int number = deviceNumber(property, value, data->pressureDivisor, editForwarding);
            const QByteArray write
                = writeFrame(address.index, address.subIndex, address.size, number);
            bool answered = false;
            steps.pause(writeStepPauseMs)
                .frame(resultFetchFrame())
                .pause(writeStepPauseMs)
                .then([&] {
                    signalWriteModeIcon(true);
                    answered = writeParameterValue(property, write);
                });
            if (steps.stopped())
                return;
            if (!answered)
                giveUpSilentSensor();
        }
        if (!data->liveDataEnabled && sensorConnected)
            steps.frame(processDataFrame(), data->showTransferUi);
        if (steps.stopped())
            return;
    }
    if (!bulkWriteActive)
        applyUnitsAndOutputs(QString());
}

bool SensorWindow::writeParameterValue(QtProperty *property, const QByteArray &frame)
{
    const SequenceGuard sequence(this, sequences);
    FrameSteps steps(*this, sequence);
    QByteArray answer;
    // Text and button properties send a placeholder, not their value: there is nothing to confirm.
    if (!numericValue(property).isValid()) {
        steps.request(frame, &answer);
        return true;
    }
    StepAnswer outcome = StepAnswer::Missing;
    steps.repeat(stepAttempts, [&] {
        steps.request(frame, &answer);
        outcome = stepAnswer(answer);
        return outcome == StepAnswer::Taken;
    });
    if (steps.stopped())
        return false;
    // A newer edit made while the write waited is still to be written.
    if (outcome == StepAnswer::Taken && !pendingEdits.contains(property))
        confirmValue(property->propertyId());
    else if (outcome == StepAnswer::Error)
        markValueRefused(property);
    return outcome != StepAnswer::Missing;
}

void SensorWindow::vWriteAllSettings(bool)
{
    if (deferredWhileBusy({tr("Write"), true, [this] { vWriteAllSettings(false); }}))
        return;
    const SequenceGuard sequence(this, sequences);
    writePendingEdits();
    if (sequence.stopped())
        return;
    const LiveDataPause pause(*this);
    if (data->connection)
        data->pollTimer.start();
    bulkWriteActive = true;
    writeAllSettings();
    if (sequence.stopped())
        return;
    bulkWriteActive = false;
    vEnableEditableProperties();
}

void SensorWindow::writeAllSettings()
{
    const SequenceGuard sequence(this, sequences);
    if (sequence.refused())
        return;
    pendingValue = -1;
    data->watchdogTimer.stop();
    FrameSteps steps(*this, sequence);
    const QStringList ids = parameterAddresses.keys();
    for (const QString &id : ids) {
        enableStringManagerHandling(false);
        pendingProperty = findProperty(data->rootProperty, id.toLatin1());
        if (!pendingProperty)
            continue;
        // Text and button properties keep the value of the entry before them.
        const QVariant current = numericValue(pendingProperty);
        if (current.isValid())
            pendingValue = current;
        if (isLeftOutOfWriteAll(id) || isReadOnlyParameter(pendingProperty))
            continue;
        steps.pause(betweenWritesPauseMs).then([this] { writePendingProperty(); });
        if (steps.stopped())
            return;
        if (!sensorConnected)
            break;
        steps.pause(betweenWritesPauseMs);
        if (steps.stopped())
            return;
    }
    if (sensorConnected)
        data->watchdogTimer.start();
}

// What the description marks read-only stays disabled; every other property takes edits again.
void SensorWindow::vEnableEditableProperties()
{
    const QList<QtProperty *> properties = allSubProperties(data->rootProperty);
    for (QtProperty *property : properties) {
        if (property->statusTip() != QLatin1String(ParameterIds::readOnlyMarker)
            && !isReadOnlyParameter(property))
            property->setEnabled(true);
    }
}

bool SensorWindow::bFactoryResetSequence()
{
    const SequenceGuard sequence(this, sequences);
    if (sequence.refused())
        return true;
    ui->actionWriting->setChecked(true);
    startUpdateDialog(factoryResetFrames + readAllFrameCount());

    FrameSteps steps(*this, sequence);
    steps.pause(resetStepPauseMs)
        .frame(resultFetchFrame())
        .pause(resetStepPauseMs)
        .frame(factoryResetFrame())
        .pause(resetStepPauseMs)
        .frame(processDataFrame())
        .frame(processDataFrame())
        .pause(resetStepPauseMs)
        .then([this] {
            data->deviceValuesPending = true;
            readAllParameters();
        });
    if (steps.stopped())
        return true;
    ui->actionEnable_live_data->setChecked(true);
    if (sensorConnected)
        readParameter(QStringLiteral("FilterSettings"), false);
    if (sequence.stopped())
        return true;
    endUpdateDialog();
    return true;
}

bool SensorWindow::deferredWhileBusy(DeferredAction action)
{
    if (sequences.waiting == 0)
        return false;
    ui->statusBar->showMessage(tr("%1 runs when the current transfer has ended").arg(action.name));
    deferredActions.append(std::move(action));
    return true;
}

void SensorWindow::runOrSayWhyNot(const DeferredAction &action)
{
    if (action.needsSensor && !sensorConnected)
        ui->statusBar->showMessage(
            tr("%1 did not run: the sensor is no longer connected").arg(action.name));
    else
        action.run();
}

// Each action writes the pending edits before it starts; without one they go out alone.
void SensorWindow::runDeferredWork()
{
    const auto idle
        = [this] { return sequences.running == 0 && sequences.waiting == 0 && !data->closing; };
    while (idle() && !deferredActions.isEmpty())
        runOrSayWhyNot(deferredActions.takeFirst());
    if (idle() && !pendingEdits.isEmpty())
        sendDelayValue();
}

void SensorWindow::startUpdateDialog(int frames)
{
    data->progressMaximum = frames;
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
}

// One frame done. The bar's last step is the transfer's end: a frame beyond the count (a retry)
// waits at the step before it.
void SensorWindow::vUpdateProgressBar()
{
    QProgressBar *bar = data->progressBar;
    if (data->progressDialog.isVisible())
        bar->setValue(qMin(bar->value() + 1, bar->maximum() - 1));
}

void SensorWindow::endUpdateDialog()
{
    QProgressBar *bar = data->progressBar;
    bar->setValue(bar->maximum());
}

// The bar at its end, however it got there, closes the dialog.
void SensorWindow::updateBarMoved(int value)
{
    if (value < data->progressBar->maximum() || !data->progressDialog.isVisible())
        return;
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
