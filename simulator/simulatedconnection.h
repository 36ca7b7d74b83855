#pragma once

#include <extensionsystem/communicationinterface.h>
#include <extensionsystem/portsettings.h>

#include <QList>
#include <QTimer>

#include <deque>
#include <memory>
#include <optional>

namespace Kr7dSim {

class MasterSimulator;

// A connection to a simulated master inside the process: each record of a
// transfer is answered in turn, asynchronously, with the simulator's faults
// (latency, lost answers, unplugging) showing as they would on a serial line.
class SimulatedConnection final : public ExtensionSystem::CommunicationInterface
{
    Q_OBJECT
public:
    explicit SimulatedConnection(std::unique_ptr<MasterSimulator> simulator,
                                 const ExtensionSystem::PortSettings &settings = {},
                                 QObject *parent = nullptr);
    ~SimulatedConnection() override;

    bool bIsOpen() const override { return m_open; }
    void vSendRawData(std::string data) override;
    QString portName() const override { return m_settings.portName; }
    unsigned int uiSendDataFrames(DataFrame *frames) override;
    int iPendingTransfers() const override { return int(m_transfers.size()); }
    void vClose() override;
    bool bPortLost() const override;
    void vSetPortSettings(const ExtensionSystem::PortSettings *settings) override;
    ExtensionSystem::PortSettings *poGetPortSettings() override { return &m_settings; }

    MasterSimulator &simulator() { return *m_simulator; }
    // Every query received (records and raw data), in order, byte for byte.
    const QList<QByteArray> &queryLog() const { return m_queryLog; }
    void clearQueryLog() { m_queryLog.clear(); }
    // A record whose answer is lost completes after timeoutMs times this
    // factor, so tests need not wait out real time-outs.
    void setTimeoutScale(double scale) { m_timeoutScale = scale; }

private:
    struct Transfer
    {
        unsigned int id;
        DataFrame *frames; // not owned
        DataFrame::iterator next;
    };

    void startNextRecord();
    void completeRecord();

    std::unique_ptr<MasterSimulator> m_simulator;
    ExtensionSystem::PortSettings m_settings;
    bool m_open = true;
    unsigned int m_lastId = 0;
    std::deque<Transfer> m_transfers;
    bool m_recordInFlight = false;
    std::optional<QByteArray> m_answer; // of the record in flight
    QTimer m_stepTimer;
    QList<QByteArray> m_queryLog;
    double m_timeoutScale = 1.0;
};

} // namespace Kr7dSim
