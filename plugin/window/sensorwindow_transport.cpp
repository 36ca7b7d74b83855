#include "sensorwindow.h"

#include "heldtransfer.h"
#include "sensorwindowdata.h"

#include <comm/fixedframes.h>
#include <comm/frame.h>
#include <comm/platformsleep.h>

#include <utils/progressbarui.h>

#include <QApplication>
#include <QPointer>

namespace BravoSensorPlugin {
namespace Core {

namespace {

using Record = ExtensionSystem::CommunicationInterface::DataFrameRecord;

constexpr double frameTimeoutMs = 2000.0;

} // namespace

void SensorWindow::sendDataFrame(ExtensionSystem::CommunicationInterface::DataFrame *frames,
                                 bool showUi)
{
    ExtensionSystem::CommunicationInterface *connection = data->connection;
    if (!connection || !frames || sequences.abandoned)
        return;
    auto *wait = new Utils::ProgressBarUi(this);
    wait->setModal(showUi);
    wait->setShowUi(showUi);
    // The connection works on a copy: whatever ends our wait, it never holds a list we freed.
    const QPointer<HeldTransfer> transfer = new HeldTransfer(connection, *frames);
    const unsigned int id = transfer->id();
    const QMetaObject::Connection finished
        = connect(connection, &ExtensionSystem::CommunicationInterface::emitFinished, wait,
                  &Utils::ProgressBarUi::exit);
    // A connection the host deletes meanwhile never reports the transfer; the wait must still end.
    const QMetaObject::Connection released
        = connect(connection, &QObject::destroyed, wait, [wait, id] { wait->exit(id); });
    if (showUi)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    const QPointer<SensorWindow> self(this);
    const bool inSequence = sequences.running > 0;
    ++sequences.waiting;
    wait->exec(int(id));
    if (showUi)
        QApplication::restoreOverrideCursor();
    const bool answered = transfer && transfer->isFinished();
    if (answered)
        *frames = transfer->frames();
    if (transfer)
        transfer->release();
    // Closed inside its own wait: nothing of this window may be touched any more.
    if (!self) {
        if (inSequence)
            setPlatformSleepInterrupted(true);
        return;
    }
    --sequences.waiting;
    vUpdateProgressBar();
    disconnect(finished);
    disconnect(released);
    wait->deleteLater();
    // Only a quitting application ends the wait of a transfer that is still in the connection's
    // hands.
    if (transfer && !answered && inSequence) {
        sequences.abandoned = true;
        setPlatformSleepInterrupted(true);
    }
}

Record SensorWindow::transferOne(const QByteArray &query, const std::string &pattern,
                                 double timeoutMs, bool showUi)
{
    ExtensionSystem::CommunicationInterface::DataFrame frames(1);
    Record &record = frames.front();
    record.query = query.toStdString();
    record.answerPattern = pattern;
    record.timeoutMs = timeoutMs;
    sendDataFrame(&frames, showUi);
    return record;
}

bool SensorWindow::bSendFrame(const QByteArray &query, bool showUi)
{
    const QByteArray answer = answerTo(query, showUi);
    return !answer.isEmpty() && !answer.contains("ERROR");
}

QByteArray SensorWindow::answerTo(const QByteArray &query, bool showUi)
{
    const Record record = transferOne(query, ".*", frameTimeoutMs, showUi && data->showTransferUi);
    return record.status == 1 ? QByteArray::fromStdString(record.answer) : QByteArray();
}

QByteArray SensorWindow::requestAnswer(const QByteArray &query, const QByteArray &pattern)
{
    const Record record
        = transferOne(query, pattern.toStdString(), frameTimeoutMs, data->showTransferUi);
    return record.status == 1 ? QByteArray::fromStdString(record.answer) : QByteArray();
}

quint8 SensorWindow::checkOctet(quint8 command, const QByteArray &parameters, int count) const
{
    return Core::checkOctet(command, reinterpret_cast<const quint8 *>(parameters.constData()),
                            qBound(0, count, parameters.size()));
}

// The probe's answer carries no payload: four bytes mean a master is there.
bool SensorWindow::bCheckConnection()
{
    return requestAnswer(probeFrame()).toHex().size() == 8;
}

} // namespace Core
} // namespace BravoSensorPlugin
