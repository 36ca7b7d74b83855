#include "transferengine.h"

#include "answerrules.h"
#include "frametrace.h"
#include "logging.h"
#include "portsettings.h"

#include <QElapsedTimer>
#include <QIODevice>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cmath>
#include <deque>
#include <vector>

namespace ExtensionSystem {

class TransferEngine::Private
{
public:
    enum class Phase { Idle, LineDelay, Sending, AwaitingAnswer };

    struct Transfer
    {
        unsigned int id;
        DataFrame *frames;        // not owned; the caller keeps it alive until finished
        DataFrame::iterator next; // the record in flight or the next one to send
    };

    Private(TransferEngine *owner, const PortSettings &portSettings);

    DataFrameRecord &currentRecord() { return *queue.front().next; }
    void schedulePump();
    void startOrSchedule();
    void pump();
    void startRecord();
    void sendWhenQuiet();
    void sendFrame();
    void sendNextByte();
    void write(const QByteArray &bytes);
    void onStep();
    void onReadyRead();
    void completeRecord(int status);
    void failAll();
    void finishLater(std::vector<unsigned int> ids);

    TransferEngine *q; // not owned
    PortSettings settings;
    QPointer<QIODevice> device; // owned by the link
    QMetaObject::Connection readConnection;
    QTimer *stepTimer;   // owned by q; line delay and character delay
    QTimer *answerTimer; // owned by q; the record's time-out
    QElapsedTimer lineActive; // since the last byte either way, or since the link opened
    std::deque<Transfer> queue;
    Phase phase = Phase::Idle;
    QByteArray frame;
    int sentBytes = 0;
    QByteArray received;
    unsigned int lastId = 0;
    double timeoutScale = 1.0;
    bool pumpPosted = false;
    bool lost = false;
    bool closed = false; // by the caller; the link's own reports of it are no loss
    QString errorText;
};

TransferEngine::Private::Private(TransferEngine *owner, const PortSettings &portSettings)
    : q(owner)
    , settings(portSettings)
    , stepTimer(new QTimer(owner))
    , answerTimer(new QTimer(owner))
{
    stepTimer->setSingleShot(true);
    stepTimer->setTimerType(Qt::PreciseTimer);
    answerTimer->setSingleShot(true);
    answerTimer->setTimerType(Qt::PreciseTimer);
    QObject::connect(stepTimer, &QTimer::timeout, q, [this] { onStep(); });
    QObject::connect(answerTimer, &QTimer::timeout, q, [this] { completeRecord(0); });
}

// Every step runs from the event loop, so emitFinished never reaches a caller
// that is still inside uiSendDataFrames, and a slot that queues a new list
// or releases the connection finds the queue in a settled state.
void TransferEngine::Private::schedulePump()
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

// A list that finds the link idle starts at once: starting a record only writes and arms the
// timers, it never finishes a list, so a caller still never hears of its list inside the call.
void TransferEngine::Private::startOrSchedule()
{
    const Transfer &transfer = queue.front();
    if (phase == Phase::Idle && !pumpPosted && queue.size() == 1
        && transfer.next != transfer.frames->end())
        startRecord();
    else
        schedulePump();
}

void TransferEngine::Private::pump()
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
    // A list that a listener queues on hearing of this one starts from its own call.
    if (!queue.empty())
        schedulePump();
    emit q->emitFinished(id);
}

// The time-out covers the line delay and the character delays as well: the
// caller sizes it from the port's timing.
void TransferEngine::Private::startRecord()
{
    DataFrameRecord &record = currentRecord();
    record.answer.clear();
    record.status = 0;
    received.clear();
    const double timeout = std::ceil(std::max(0.0, record.timeoutMs * timeoutScale));
    answerTimer->start(timeout < double(INT_MAX) ? int(timeout) : INT_MAX);
    frame = QByteArray::fromStdString(record.query);
    sendWhenQuiet();
}

// The line delay is the quiet the line needs before a frame: a frame that follows an answer
// waits for it, one that follows a longer pause goes at once (a poll then costs one wake-up
// less). Bytes that arrive meanwhile start the quiet again.
void TransferEngine::Private::sendWhenQuiet()
{
    const qint64 waitNs = qint64(settings.lineDelay) * 1000000 - lineActive.nsecsElapsed();
    if (settings.lineDelay > 0 && waitNs > 0) {
        phase = Phase::LineDelay;
        stepTimer->start(int((waitNs + 999999) / 1000000));
    } else {
        sendFrame();
    }
}

void TransferEngine::Private::sendFrame()
{
    // Whatever a late device sent after the previous record gave up is noise now.
    q->readBytes();
    received.clear();
    FrameTrace::instance().frameSent(settings.portName, frame);
    if (settings.characterDelay > 0) {
        phase = Phase::Sending;
        sentBytes = 0;
        sendNextByte();
    } else {
        phase = Phase::AwaitingAnswer;
        write(frame);
    }
}

void TransferEngine::Private::sendNextByte()
{
    if (sentBytes < frame.size())
        write(frame.mid(sentBytes++, 1));
    if (sentBytes < frame.size())
        stepTimer->start(settings.characterDelay);
    else if (phase == Phase::Sending)
        phase = Phase::AwaitingAnswer;
}

void TransferEngine::Private::write(const QByteArray &bytes)
{
    q->writeBytes(bytes);
    lineActive.start();
}

void TransferEngine::Private::onStep()
{
    if (phase == Phase::LineDelay)
        sendWhenQuiet();
    else if (phase == Phase::Sending)
        sendNextByte();
}

void TransferEngine::Private::onReadyRead()
{
    const QByteArray bytes = q->readBytes();
    if (!bytes.isEmpty())
        lineActive.start();
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

void TransferEngine::Private::completeRecord(int status)
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

void TransferEngine::Private::failAll()
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
void TransferEngine::Private::finishLater(std::vector<unsigned int> ids)
{
    if (ids.empty())
        return;
    QMetaObject::invokeMethod(
        q,
        [connection = QPointer<TransferEngine>(q), ids] {
            for (const unsigned int id : ids) {
                if (!connection)
                    return;
                emit connection->emitFinished(id);
            }
        },
        Qt::QueuedConnection);
}

TransferEngine::TransferEngine(const PortSettings &settings, QObject *parent)
    : CommunicationInterface(parent)
    , d(std::make_unique<Private>(this, settings))
{
}

TransferEngine::~TransferEngine() = default;

void TransferEngine::attach(QIODevice *device)
{
    QObject::disconnect(d->readConnection);
    d->device = device;
    d->lost = false;
    d->closed = false;
    d->errorText.clear();
    d->lineActive.start();
    if (device)
        d->readConnection
            = QObject::connect(device, &QIODevice::readyRead, this, [this] { d->onReadyRead(); });
}

QIODevice *TransferEngine::device() const
{
    return d->device;
}

void TransferEngine::linkLost(const QString &reason)
{
    if (d->lost || d->closed || !d->device)
        return;
    d->lost = true;
    d->errorText = reason;
    qCWarning(lcConnection).noquote()
        << QStringLiteral("Port %1 lost: %2").arg(d->settings.portName, reason);
    d->failAll();
}

void TransferEngine::setErrorString(const QString &reason)
{
    d->errorText = reason;
}

const PortSettings &TransferEngine::settings() const
{
    return d->settings;
}

void TransferEngine::setTimeoutScale(double scale)
{
    d->timeoutScale = scale;
}

void TransferEngine::applyLineSettings(const PortSettings &) {}

QByteArray TransferEngine::readBytes()
{
    return d->device ? d->device->readAll() : QByteArray();
}

void TransferEngine::writeBytes(const QByteArray &bytes)
{
    if (d->device)
        d->device->write(bytes);
}

QString TransferEngine::errorString() const
{
    return d->errorText;
}

bool TransferEngine::bIsOpen() const
{
    return d->device && d->device->isOpen() && !d->lost;
}

void TransferEngine::vSendRawData(std::string data)
{
    if (bIsOpen())
        d->write(QByteArray::fromStdString(data));
}

QString TransferEngine::portName() const
{
    return d->settings.portName;
}

unsigned int TransferEngine::uiSendDataFrames(DataFrame *frames)
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
        d->startOrSchedule();
    else
        d->failAll();
    return id;
}

int TransferEngine::iPendingTransfers() const
{
    return int(d->queue.size());
}

void TransferEngine::vClose()
{
    QObject::disconnect(d->readConnection);
    d->closed = true;
    if (d->device)
        d->device->close();
    d->failAll();
}

bool TransferEngine::bPortLost() const
{
    return d->lost;
}

void TransferEngine::vSetPortSettings(const PortSettings *settings)
{
    if (!settings)
        return;
    const QString openPort = d->settings.portName;
    d->settings = *settings;
    d->settings.portName = openPort;
    applyLineSettings(d->settings);
}

PortSettings *TransferEngine::poGetPortSettings()
{
    return &d->settings;
}

} // namespace ExtensionSystem
