#include "sensorwindow.h"

#include "sensorwindowdata.h"
#include "sharedicon.h"
#include "ui_sensorwindow.h"

#include <comm/fixedframes.h>
#include <comm/frame.h>
#include <comm/processdata.h>
#include <model/valuerules.h>

#include <utils/genericchart.h>

#include <QLocale>
#include <QPixmap>
#include <QPixmapCache>
#include <QToolBar>
#include <QTreeWidgetItem>

#include <mutex>

namespace BravoSensorPlugin {
namespace Core {

namespace {

using DataFrame = ExtensionSystem::CommunicationInterface::DataFrame;

constexpr double pollTimeoutMs = 2000.0;
constexpr int pollRetriesAtStart = 2;
enum ProcessRow {
    outputA1Row,
    outputA2Row,
    signalRow,
    temperatureRow,
    pressureRow,
    processRowCount
};

// The icon path a row shows, kept beside it so that an unchanged state costs nothing.
constexpr int iconPathRole = Qt::UserRole;

// A lit LED or a warning stands out at 40 x 40; the resting states keep the view's icon size.
QVariant decoration(const QString &path, bool asPixmap)
{
    if (!asPixmap)
        return sharedIcon(path);
    QPixmap pixmap;
    if (!QPixmapCache::find(path, &pixmap)) {
        pixmap = QPixmap(path).scaled(40, 40, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QPixmapCache::insert(path, pixmap);
    }
    return pixmap;
}

// A steady reading leaves its row alone: a changed row is measured and repainted.
void showValue(QTreeWidgetItem *item, const QString &text)
{
    if (item->text(1) != text)
        item->setText(1, text);
}

void showState(QTreeWidgetItem *item, const QString &text, const QString &iconPath, bool asPixmap)
{
    if (item->text(1) == text && item->data(1, iconPathRole).toString() == iconPath)
        return;
    item->setText(1, text);
    item->setData(1, Qt::DecorationRole, decoration(iconPath, asPixmap));
    item->setData(1, iconPathRole, iconPath);
}

// A list the connection has queued is written into until the connection finishes it: an abandoned
// poll's list lives on with the connection until then.
void leaveWithConnection(ExtensionSystem::CommunicationInterface *connection, unsigned int id,
                         std::unique_ptr<DataFrame> frames)
{
    const std::shared_ptr<DataFrame> kept(std::move(frames));
    const auto finished = std::make_shared<QMetaObject::Connection>();
    *finished = QObject::connect(connection, &ExtensionSystem::CommunicationInterface::emitFinished,
                                 connection, [kept, finished, id](unsigned int done) {
                                     if (done == id)
                                         QObject::disconnect(*finished);
                                 });
}

} // namespace

void SensorWindow::enableStatusChecking(bool enabled)
{
    data->liveDataEnabled = enabled;
    if (data->connection)
        data->pollTimer.start();
}

void SensorWindow::queryChartData()
{
    queryStatusData(0);
}

// The give-up below waits in a message box and a probe; the lock keeps the poll timer and late
// completions from starting or finishing a poll inside those waits.
void SensorWindow::queryStatusData(unsigned int index)
{
    const std::unique_lock<QMutex> lock(data->pollMutex, std::try_to_lock);
    if (!lock.owns_lock() || !data->connection)
        return;
    if (index == 0)
        startPoll();
    else
        completePoll(index);
}

void SensorWindow::startPoll()
{
    if (data->pendingPollId != 0) {
        // One poll at a time: its completion re-arms the timer.
        if (data->pollConnection == data->connection)
            return;
        abandonPendingPoll();
    }
    auto frames = std::make_unique<DataFrame>(1);
    ExtensionSystem::CommunicationInterface::DataFrameRecord &record = frames->front();
    record.query = processDataFrame().toStdString();
    record.answerPattern = ".*";
    record.timeoutMs = pollTimeoutMs;
    connect(data->connection, &ExtensionSystem::CommunicationInterface::emitFinished, this,
            &SensorWindow::queryStatusData, Qt::UniqueConnection);
    data->pollConnection = data->connection;
    data->pendingPollId = data->connection->uiSendDataFrames(frames.get());
    data->pendingPolls[data->pendingPollId] = std::move(frames);
}

void SensorWindow::completePoll(unsigned int id)
{
    const auto pending = data->pendingPolls.find(id);
    if (id != data->pendingPollId || pending == data->pendingPolls.end())
        return;
    disconnect(data->pollConnection, &ExtensionSystem::CommunicationInterface::emitFinished, this,
               &SensorWindow::queryStatusData);
    const std::unique_ptr<DataFrame> frames = std::move(pending->second);
    data->pendingPolls.erase(pending);
    data->pendingPollId = 0;

    const ExtensionSystem::CommunicationInterface::DataFrameRecord &record = frames->front();
    const QByteArray answer = QByteArray::fromStdString(record.answer);
    // A damaged frame counts as lost, as the serial line treats it.
    if (record.status != 0 && isFrameIntact(answer)) {
        // Only misses in a row tell a lost sensor from a noisy line.
        data->pollRetries = pollRetriesAtStart;
        if (!ui->chartToolbar->isEnabled())
            ui->chartToolbar->setEnabled(true);
        if (answer.size() > 7)
            vUpdateProcessData(QString::fromLatin1(answer.toHex()));
    } else if (sensorConnected && !absorbPollMiss()) {
        return;
    }
    if (sensorConnected && data->connection)
        data->pollTimer.start();
}

bool SensorWindow::absorbPollMiss()
{
    if (data->pollRetries > 0) {
        --data->pollRetries;
        return true;
    }
    data->pollRetries = pollRetriesAtStart;
    giveUpSilentSensor();
    if (bCheckConnection())
        return true;
    --data->pollRetries;
    return false;
}

void SensorWindow::abandonPendingPoll()
{
    const auto pending = data->pendingPolls.find(data->pendingPollId);
    if (pending != data->pendingPolls.end()) {
        if (ExtensionSystem::CommunicationInterface *connection = data->pollConnection) {
            disconnect(connection, &ExtensionSystem::CommunicationInterface::emitFinished, this,
                       &SensorWindow::queryStatusData);
            leaveWithConnection(connection, pending->first, std::move(pending->second));
        }
        data->pendingPolls.erase(pending);
    }
    data->pendingPollId = 0;
}

void SensorWindow::vUpdateProcessData(QString answerHex)
{
    const ProcessData decoded = decodeProcessData(answerHex, data->pressureDivisor);
    if (!data->liveDataEnabled || !sensorConnected)
        return;
    const int unitIndex = data->unitIndex;
    const double pressure = convertPressure(unitIndex, true, decoded.pressure);
    const double temperature = isFahrenheit(unitIndex)
                                   ? convertTemperature(unitIndex, decoded.temperature)
                                   : decoded.temperature;
    const auto analog = [this](double value) {
        return analogOutputValue(value, data->analogPoint0, data->analogPoint10, data->analogMode);
    };
    data->chart->vAppendData(pressurePlot, pressure, true, analog(pressure), false, -1.0, -1.0);
    data->chart->vAppendData(temperaturePlot, temperature, true, analog(temperature), false, -1.0,
                             -1.0);

    if (data->processDataItems.size() < processRowCount)
        return;
    const QLocale locale; // the host's language
    showValue(data->processDataItems.at(pressureRow),
              QLatin1String("  ") + locale.toString(pressure, 'g', 6));
    showValue(data->processDataItems.at(temperatureRow),
              QLatin1String("  ") + locale.toString(temperature, 'g', 6));
    showProcessStates(decoded.output1, decoded.output2, decoded.signalTooLow);
}

void SensorWindow::showProcessStates(bool output1, bool output2, bool signalTooLow)
{
    const QList<QTreeWidgetItem *> &rows = data->processDataItems;
    if (output1)
        showState(rows.at(outputA1Row), tr("On"),
                  QStringLiteral(":/newPrefix/icons/led_state_2_1.svg"), true);
    else
        showState(rows.at(outputA1Row), tr("Off"),
                  QStringLiteral(":/newPrefix/icons/led_state_1_1.svg"), false);
    if (!data->output2IsSwitching)
        showState(rows.at(outputA2Row), QStringLiteral(" "),
                  QStringLiteral(":/newPrefix/icons/led_state_0.svg"), false);
    else if (output2)
        showState(rows.at(outputA2Row), tr("On"),
                  QStringLiteral(":/newPrefix/icons/led_state_2_2.svg"), true);
    else
        showState(rows.at(outputA2Row), tr("Off"),
                  QStringLiteral(":/newPrefix/icons/led_state_1_2.svg"), false);
    if (signalTooLow) {
        showState(rows.at(signalRow), tr("Signal too low"),
                  QStringLiteral(":/newPrefix/icons/!_galben_cerc_negru_mare.svg"), true);
    } else {
        showState(rows.at(signalRow), QStringLiteral("OK"),
                  QStringLiteral(":/newPrefix/icons/Check_box_galben_Negru_mare.svg"), false);
    }
}

} // namespace Core
} // namespace BravoSensorPlugin
