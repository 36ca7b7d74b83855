#include "sensorwindow.h"

#include "sensorwindowdata.h"

#include <comm/fixedframes.h>
#include <comm/frame.h>

#include <utils/progressbarui.h>

#include <QApplication>

namespace BravoSensorPlugin {
namespace Core {

namespace {

using Record = ExtensionSystem::CommunicationInterface::DataFrameRecord;

constexpr double frameTimeoutMs = 2000.0;

} // namespace

void SensorWindow::sendDataFrame(ExtensionSystem::CommunicationInterface::DataFrame *frames, bool showUi)
{
    ExtensionSystem::CommunicationInterface *connection = data->connection;
    if (!connection || !frames)
        return;
    auto *wait = new Utils::ProgressBarUi(this);
    wait->setModal(showUi);
    wait->setShowUi(showUi);
    const unsigned int id = connection->uiSendDataFrames(frames);
    const QMetaObject::Connection finished
        = connect(connection, SIGNAL(emitFinished(unsigned int)), wait, SLOT(exit(unsigned int)));
    // A connection the host deletes meanwhile never reports the transfer; the wait must still end.
    const QMetaObject::Connection released
        = connect(connection, &QObject::destroyed, wait, [wait, id] { wait->exit(id); });
    if (showUi)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    wait->exec(int(id));
    if (showUi)
        QApplication::restoreOverrideCursor();
    disconnect(finished);
    disconnect(released);
    wait->deleteLater();
}

Record SensorWindow::transferOne(const QByteArray &query, const std::string &pattern, double timeoutMs,
                                 bool showUi)
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
    const Record record = transferOne(query, ".*", frameTimeoutMs, showUi && data->showTransferUi);
    return record.status == 1 && record.answer.find("ERROR") == std::string::npos;
}

QByteArray SensorWindow::requestAnswer(const QByteArray &query, const QByteArray &pattern)
{
    const Record record = transferOne(query, pattern.toStdString(), frameTimeoutMs, data->showTransferUi);
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
