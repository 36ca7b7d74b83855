#include "serialconnection.h"

#include "answerrules.h"
#include "frametrace.h"
#include "portsettings.h"

#include <QLoggingCategory>
#include <QPointer>
#include <QSerialPort>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cmath>
#include <deque>
#include <vector>

namespace ExtensionSystem {

namespace {

Q_LOGGING_CATEGORY(lcConnection, "extensionsystem.connection")

} // namespace

class SerialConnection::Private
{
public:
    enum class Phase { Idle, LineDelay, Sending, AwaitingAnswer };

    struct Transfer
    {
        unsigned int id;
        DataFrame *frames;        // not owned; the caller keeps it alive until finished
        DataFrame::iterator next; // the record in flight or the next one to send
    };

    Private(SerialConnection *owner, const PortSettings &portSettings);

    DataFrameRecord &currentRecord() { return *queue.front().next; }
    void applyLineSettings();
    void schedulePump();
    void pump();
    void startRecord();
    void sendFrame();
    void sendNextByte();
    void onStep();
    void onReadyRead();
    void completeRecord(int status);
    void onPortError(QSerialPort::SerialPortError error);
    void failAll();
    void finishLater(std::vector<unsigned int> ids);

    SerialConnection *q; // not owned
    PortSettings settings;
    QSerialPort *port;   // owned by q
    QTimer *stepTimer;   // owned by q; line delay and character delay
    QTimer *answerTimer; // owned by q; the record's time-out
    std::deque<Transfer> queue;
    Phase phase = Phase::Idle;
    QByteArray frame;
    int sentBytes = 0;
    QByteArray received;
    unsigned int lastId = 0;
    bool pumpPosted = false;
    bool lost = false;
    QString errorText;
};

SerialConnection::Private::Private(SerialConnection *owner, const PortSettings &portSettings)
    : q(owner)
    , settings(portSettings)
    , port(new QSerialPort(owner))
    , stepTimer(new QTimer(owner))
    , answerTimer(new QTimer(owner))
{
    port->setPortName(settings.portName);
    port->setFlowControl(QSerialPort::NoFlowControl);
    applyLineSettings();
    stepTimer->setSingleShot(true);
    stepTimer->setTimerType(Qt::PreciseTimer);
    answerTimer->setSingleShot(true);
    answerTimer->setTimerType(Qt::PreciseTimer);

    QObject::connect(stepTimer, &QTimer::timeout, q, [this] { onStep(); });
    QObject::connect(answerTimer, &QTimer::timeout, q, [this] { completeRecord(0); });
    QObject::connect(port, &QSerialPort::readyRead, q, [this] { onReadyRead(); });
    QObject::connect(port, &QSerialPort::errorOccurred, q,
                     [this](QSerialPort::SerialPortError error) { onPortError(error); });
}

void SerialConnection::Private::applyLineSettings()
{
    port->setBaudRate(settings.baudRate);
    port->setDataBits(settings.dataBits);
    port->setParity(settings.parity);
    port->setStopBits(settings.stopBits);
}

// Every step runs from the event loop, so emitFinished never reaches a caller
// that is still inside uiSendDataFrames, and a slot that queues a new list
// or releases the connection finds the queue in a settled state.
void SerialConnection::Private::schedulePump()
{
    if (pumpPosted)
        return;
    pumpPosted = true;
    QMetaObject::invokeMethod(
        q,
        [this] {
            pumpPosted = false;
            pump();
        },
        Qt::QueuedConnection);
}

void SerialConnection::Private::pump()
{
    if (phase != Phase::Idle || queue.empty())
        return;
    const Transfer &transfer = queue.front();
    if (transfer.next != transfer.frames->end()) {
        startRecord();
        return;
    }
    const unsigned int id = transfer.id;
    queue.pop_front();
    schedulePump();
    emit q->emitFinished(id);
}

// The time-out covers the line delay and the character delays as well: the
// caller sizes it from the port's timing.
void SerialConnection::Private::startRecord()
{
    DataFrameRecord &record = currentRecord();
    record.answer.clear();
    record.status = 0;
    received.clear();
    const double timeout = std::ceil(std::max(0.0, record.timeoutMs));
    answerTimer->start(timeout < double(INT_MAX) ? int(timeout) : INT_MAX);
    frame = QByteArray::fromStdString(record.query);
    if (settings.lineDelay > 0) {
        phase = Phase::LineDelay;
        stepTimer->start(settings.lineDelay);
    } else {
        sendFrame();
    }
}

void SerialConnection::Private::sendFrame()
{
    // Whatever a late device sent after the previous record gave up is noise now.
    port->readAll();
    received.clear();
    FrameTrace::instance().frameSent(settings.portName, frame);
    if (settings.characterDelay > 0) {
        phase = Phase::Sending;
        sentBytes = 0;
        sendNextByte();
    } else {
        port->write(frame);
        phase = Phase::AwaitingAnswer;
    }
}

void SerialConnection::Private::sendNextByte()
{
    if (sentBytes < frame.size())
        port->write(frame.constData() + sentBytes++, 1);
    if (sentBytes < frame.size())
        stepTimer->start(settings.characterDelay);
    else
        phase = Phase::AwaitingAnswer;
}

void SerialConnection::Private::onStep()
{
    if (phase == Phase::LineDelay)
        sendFrame();
    else if (phase == Phase::Sending)
        sendNextByte();
}

void SerialConnection::Private::onReadyRead()
{
    const QByteArray bytes = port->readAll();
    if (phase != Phase::AwaitingAnswer)
        return;
    received += bytes;
    // A late or damaged answer is dropped here, so it can never become the answer of this record.
    const QByteArray answer = takeAnswerFrame(received, frame.size() > 2 ? frame.at(2) : char(0));
    if (answer.isEmpty())
        return;
    received = answer;
    completeRecord(answerMatches(received, currentRecord().answerPattern) ? 1 : 0);
}

void SerialConnection::Private::completeRecord(int status)
{
    if (phase == Phase::Idle)
        return;
    stepTimer->stop();
    answerTimer->stop();
    DataFrameRecord &record = currentRecord();
    record.answer = received.toStdString();
    record.status = status;
    FrameTrace::instance().frameCompleted(settings.portName, received, status == 1);
    ++queue.front().next;
    received.clear();
    phase = Phase::Idle;
    schedulePump();
}

void SerialConnection::Private::onPortError(QSerialPort::SerialPortError error)
{
    if (lost
        || (error != QSerialPort::ResourceError && error != QSerialPort::ReadError
            && error != QSerialPort::WriteError))
        return;
    lost = true;
    errorText = port->errorString();
    qCWarning(lcConnection).noquote()
        << QStringLiteral("Serial port %1 lost: %2").arg(settings.portName, errorText);
    // Closing inside the port's own error signal would pull its buffer away
    // under it; until the queued close runs, further errors are ignored.
    QMetaObject::invokeMethod(port, &QSerialPort::close, Qt::QueuedConnection);
    failAll();
}

void SerialConnection::Private::failAll()
{
    completeRecord(0);
    std::vector<unsigned int> ids;
    for (const Transfer &transfer : queue) {
        for (auto record = transfer.next; record != transfer.frames->end(); ++record) {
            record->answer.clear();
            record->status = 0;
        }
        ids.push_back(transfer.id);
    }
    queue.clear();
    finishLater(std::move(ids));
}

// A posted call, not the pump: a release posts the connection's deletion right
// after closing it, and posted events keep their order, so every waiting
// caller hears of its list before the object goes.
void SerialConnection::Private::finishLater(std::vector<unsigned int> ids)
{
    if (ids.empty())
        return;
    QMetaObject::invokeMethod(
        q,
        [connection = QPointer<SerialConnection>(q), ids] {
            for (const unsigned int id : ids) {
                if (!connection)
                    return;
                emit connection->emitFinished(id);
            }
        },
        Qt::QueuedConnection);
}

SerialConnection::SerialConnection(const PortSettings &settings, QObject *parent)
    : CommunicationInterface(parent)
    , d(std::make_unique<Private>(this, settings))
{
}

SerialConnection::~SerialConnection() = default;

bool SerialConnection::open()
{
    if (d->port->isOpen())
        return true;
    if (!d->port->open(QIODevice::ReadWrite)) {
        d->errorText = d->port->errorString();
        return false;
    }
    d->lost = false;
    d->errorText.clear();
    return true;
}

QString SerialConnection::errorString() const
{
    return d->errorText;
}

bool SerialConnection::bIsOpen() const
{
    return d->port->isOpen() && !d->lost;
}

void SerialConnection::vSendRawData(std::string data)
{
    if (bIsOpen())
        d->port->write(data.data(), qint64(data.size()));
}

QString SerialConnection::portName() const
{
    return d->settings.portName;
}

unsigned int SerialConnection::uiSendDataFrames(DataFrame *frames)
{
    if (++d->lastId == 0)
        ++d->lastId;
    const unsigned int id = d->lastId;
    if (!frames) {
        d->finishLater({id});
        return id;
    }
    d->queue.push_back({id, frames, frames->begin()});
    if (bIsOpen())
        d->schedulePump();
    else
        d->failAll();
    return id;
}

int SerialConnection::iPendingTransfers() const
{
    return int(d->queue.size());
}

void SerialConnection::vClose()
{
    d->port->close();
    d->failAll();
}

bool SerialConnection::bPortLost() const
{
    return d->lost;
}

void SerialConnection::vSetPortSettings(const PortSettings *settings)
{
    if (!settings)
        return;
    const QString openPort = d->settings.portName;
    d->settings = *settings;
    d->settings.portName = openPort;
    d->applyLineSettings();
}

PortSettings *SerialConnection::poGetPortSettings()
{
    return &d->settings;
}

} // namespace ExtensionSystem
