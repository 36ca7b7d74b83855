#include "fakeconnection.h"

#include <comm/frame.h>
#include <comm/protocol.h>

#include <QTimer>

FakeConnection::FakeConnection(const ExtensionSystem::PortSettings &settings)
    : m_settings(settings)
{
}

FakeConnection::FakeConnection(Responder responder)
    : m_responder(std::move(responder))
{
    m_settings.portName = QStringLiteral("SCRIPTED");
}

unsigned int FakeConnection::uiSendDataFrames(DataFrame *frames)
{
    const unsigned int id = ++m_lastId;
    if (!m_responder || m_holdTransfers)
        return id;
    QTimer::singleShot(0, this, [this, frames, id] {
        for (DataFrameRecord &record : *frames) {
            m_records.push_back(record);
            const std::optional<QByteArray> answer
                = m_responder(QByteArray::fromStdString(record.query));
            record.answer = answer ? answer->toStdString() : std::string();
            record.status = answer ? 1 : 0;
        }
        if (m_whileInFlight)
            m_whileInFlight();
        emit emitFinished(id);
    });
    return id;
}

bool FakeConnection::finishAndCheckState(unsigned int id)
{
    emit emitFinished(id);
    return closed;
}

FakeConnection::Responder fetchAnswers(const QByteArray &answer)
{
    return [answer](const QByteArray &query) -> std::optional<QByteArray> {
        using namespace BravoSensorPlugin::Core;
        const quint8 command = query.size() > 2 ? quint8(query.at(2)) : 0;
        if (command == Protocol::ReadRequest || command == Protocol::Write)
            return buildFrame(command, QByteArray(1, '\0'));
        if (query != QByteArray::fromHex("027327"))
            return query;
        if (answer.isEmpty())
            return std::nullopt;
        return answer;
    };
}
