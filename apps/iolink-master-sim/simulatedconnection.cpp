#include "simulatedconnection.h"

#include "inprocessline.h"
#include "masterendpoint.h"
#include "mastersimulator.h"

namespace Kr7dSim {

SimulatedConnection::SimulatedConnection(std::unique_ptr<MasterSimulator> simulator,
                                         const ExtensionSystem::PortSettings &settings,
                                         QObject *parent)
    : TransferEngine(settings, parent)
    , m_simulator(std::move(simulator))
    , m_endpoint(new MasterEndpoint(m_simulator.get(), this))
    , m_line(new InProcessLine(m_endpoint, this))
{
    connect(m_endpoint, &MasterEndpoint::requestReceived, this,
            [this](const QByteArray &frame) { m_queryLog.append(frame); });
    m_line->open(QIODevice::ReadWrite | QIODevice::Unbuffered);
    attach(m_line);
}

SimulatedConnection::~SimulatedConnection() = default;

bool SimulatedConnection::bPortLost() const
{
    return TransferEngine::bPortLost() || m_simulator->isUnplugged();
}

} // namespace Kr7dSim
