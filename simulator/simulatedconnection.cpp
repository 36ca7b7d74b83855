#include "simulatedconnection.h"

#include "mastersimulator.h"

#include <extensionsystem/answerrules.h>
#include <extensionsystem/frametrace.h>

#include <QtMath>

namespace Kr7dSim {

SimulatedConnection::SimulatedConnection(std::unique_ptr<MasterSimulator> simulator,
                                         const ExtensionSystem::PortSettings &settings,
                                         QObject *parent)
    : CommunicationInterface(parent)
    , m_simulator(std::move(simulator))
    , m_settings(settings)
{
    m_stepTimer.setSingleShot(true);
    // A coarse timer may fire early; an answer must never beat its latency.
    m_stepTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_stepTimer, &QTimer::timeout, this, &SimulatedConnection::completeRecord);
}

SimulatedConnection::~SimulatedConnection() = default;

void SimulatedConnection::vSendRawData(std::string data)
{
    const QByteArray bytes = QByteArray::fromStdString(data);
    m_queryLog.append(bytes);
    if (m_open)
        m_simulator->respond(bytes);
}

unsigned int SimulatedConnection::uiSendDataFrames(DataFrame *frames)
{
    if (++m_lastId == 0)
        ++m_lastId;
    m_transfers.push_back(Transfer{m_lastId, frames, frames->begin()});
    // Queued, so that emitFinished never comes before the caller has the id.
    if (m_transfers.size() == 1)
        QTimer::singleShot(0, this, &SimulatedConnection::startNextRecord);
    return m_lastId;
}

void SimulatedConnection::vClose()
{
    m_open = false;
}

bool SimulatedConnection::bPortLost() const
{
    return m_simulator->isUnplugged();
}

void SimulatedConnection::vSetPortSettings(const ExtensionSystem::PortSettings *settings)
{
    if (settings)
        m_settings = *settings;
}

void SimulatedConnection::startNextRecord()
{
    if (m_transfers.empty() || m_recordInFlight)
        return;
    Transfer &transfer = m_transfers.front();
    if (transfer.next == transfer.frames->end()) {
        const unsigned int id = transfer.id;
        m_transfers.pop_front();
        if (!m_transfers.empty())
            QTimer::singleShot(0, this, &SimulatedConnection::startNextRecord);
        emit emitFinished(id);
        return;
    }

    const QByteArray query = QByteArray::fromStdString(transfer.next->query);
    m_queryLog.append(query);
    ExtensionSystem::FrameTrace::instance().frameSent(portName(), query);
    m_answer = m_open ? m_simulator->respond(query) : std::nullopt;
    // As on the serial line: the host's connection takes only an intact answer to the request.
    if (m_answer) {
        QByteArray received = *m_answer;
        const QByteArray taken
            = ExtensionSystem::takeAnswerFrame(received, query.size() > 2 ? query.at(2) : '\0');
        m_answer = taken.isEmpty() ? std::nullopt : std::optional<QByteArray>(taken);
    }
    const int waitLimit = qCeil(transfer.next->timeoutMs * m_timeoutScale);
    const int latency = m_simulator->faults().latencyMs;
    // An answer later than the record's time-out is as good as lost.
    if (m_answer && latency >= waitLimit)
        m_answer.reset();
    m_recordInFlight = true;
    // A closed port fails at once, a silent master only after the time-out.
    m_stepTimer.start(m_answer ? latency : m_open ? waitLimit : 0);
}

void SimulatedConnection::completeRecord()
{
    m_recordInFlight = false;
    if (m_transfers.empty())
        return;
    Transfer &transfer = m_transfers.front();
    CommunicationInterface::DataFrameRecord &record = *transfer.next;
    record.answer = m_answer ? m_answer->toStdString() : std::string();
    record.status
        = m_answer && ExtensionSystem::answerMatches(*m_answer, record.answerPattern) ? 1 : 0;
    ExtensionSystem::FrameTrace::instance().frameCompleted(
        portName(), m_answer.value_or(QByteArray()), record.status == 1);
    ++transfer.next;
    startNextRecord();
}

} // namespace Kr7dSim
