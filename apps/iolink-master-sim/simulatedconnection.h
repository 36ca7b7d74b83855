#pragma once

#include <extensionsystem/portsettings.h>
#include <extensionsystem/transferengine.h>

#include <QList>

#include <memory>

namespace Kr7dSim {

class InProcessLine;
class MasterEndpoint;
class MasterSimulator;

// A connection to a simulated master inside the process, over the same
// transfer rules as a serial port: the simulator's faults (latency, lost
// answers, unplugging) show as they would on a serial line.
class SimulatedConnection final : public ExtensionSystem::TransferEngine
{
    Q_OBJECT
public:
    explicit SimulatedConnection(std::unique_ptr<MasterSimulator> simulator,
                                 const ExtensionSystem::PortSettings &settings = {},
                                 QObject *parent = nullptr);
    ~SimulatedConnection() override;

    // An unplugged master stays open, as a serial adapter whose sensor is gone does.
    bool bPortLost() const override;

    MasterSimulator &simulator() { return *m_simulator; }
    // Every query received (records and raw data), in order, byte for byte.
    const QList<QByteArray> &queryLog() const { return m_queryLog; }
    void clearQueryLog() { m_queryLog.clear(); }
    // A record whose answer is lost completes after timeoutMs times this
    // factor, so tests need not wait out real time-outs.
    using TransferEngine::setTimeoutScale;

private:
    std::unique_ptr<MasterSimulator> m_simulator;
    MasterEndpoint *m_endpoint; // owned (Qt parent)
    InProcessLine *m_line;      // owned (Qt parent)
    QList<QByteArray> m_queryLog;
};

} // namespace Kr7dSim
