#pragma once

#include <extensionsystem/communicationinterface.h>
#include <extensionsystem/portsettings.h>

#include <string>
#include <vector>

// A connection without a port behind it: remembers what it was sent and whether it was closed.
class FakeConnection final : public ExtensionSystem::CommunicationInterface
{
public:
    explicit FakeConnection(const ExtensionSystem::PortSettings &settings = {})
        : m_settings(settings)
    {
    }

    bool bIsOpen() const override { return !closed; }
    void vSendRawData(std::string data) override { sent.push_back(std::move(data)); }
    QString portName() const override { return m_settings.portName; }
    unsigned int uiSendDataFrames(DataFrame *) override { return 1; }
    int iPendingTransfers() const override { return 0; }
    void vClose() override { closed = true; }
    bool bPortLost() const override { return false; }
    void vSetPortSettings(const ExtensionSystem::PortSettings *settings) override { m_settings = *settings; }
    ExtensionSystem::PortSettings *poGetPortSettings() override { return &m_settings; }

    // Emits and then still uses the object, as a real connection does after a list has finished.
    bool finishAndCheckState(unsigned int id)
    {
        emit emitFinished(id);
        return closed;
    }

    std::vector<std::string> sent;
    bool closed = false;

private:
    ExtensionSystem::PortSettings m_settings;
};
