#pragma once

#include <extensionsystem/communicationinterface.h>
#include <extensionsystem/portsettings.h>

#include <QByteArray>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A connection without a port behind it. Without a responder it only remembers what it was
// sent and whether it was closed; with one, every record of a list gets the answer the test
// chooses, and the list finishes from the event loop as on a real port.
class FakeConnection final : public ExtensionSystem::CommunicationInterface
{
    Q_OBJECT
public:
    // The answer to a query, or nothing for a record that stays unanswered.
    using Responder = std::function<std::optional<QByteArray>(const QByteArray &query)>;

    explicit FakeConnection(const ExtensionSystem::PortSettings &settings = {});
    explicit FakeConnection(Responder responder);

    bool bIsOpen() const override { return !closed; }
    void vSendRawData(std::string data) override { sent.push_back(std::move(data)); }
    QString portName() const override { return m_settings.portName; }
    unsigned int uiSendDataFrames(DataFrame *frames) override;
    int iPendingTransfers() const override { return 0; }
    void vClose() override { closed = true; }
    bool bPortLost() const override { return false; }
    void vSetPortSettings(const ExtensionSystem::PortSettings *settings) override
    {
        m_settings = *settings;
    }
    ExtensionSystem::PortSettings *poGetPortSettings() override { return &m_settings; }

    // Emits and then still uses the object, as a real connection does after a list has finished.
    bool finishAndCheckState(unsigned int id);
    // Runs inside the sender's wait, just before each transfer finishes.
    void setWhileInFlight(std::function<void()> check) { m_whileInFlight = std::move(check); }
    // Transfers from now on never finish on their own.
    void holdTransfers() { m_holdTransfers = true; }
    // Lists handed over so far, answered or not.
    unsigned int transfersStarted() const { return m_lastId; }
    // Every record a responder answered, in order.
    const std::vector<DataFrameRecord> &records() const { return m_records; }

    std::vector<std::string> sent;
    bool closed = false;

private:
    Responder m_responder;
    std::function<void()> m_whileInFlight;
    bool m_holdTransfers = false;
    unsigned int m_lastId = 0;
    std::vector<DataFrameRecord> m_records;
    ExtensionSystem::PortSettings m_settings;
};

using ScriptedConnection = FakeConnection;

// Takes read requests and writes as a master does (status 0), gives the result fetch `answer`
// (no answer when it is empty) and echoes every other frame.
FakeConnection::Responder fetchAnswers(const QByteArray &answer);
