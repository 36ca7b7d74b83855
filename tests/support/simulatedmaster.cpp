#include "simulatedmaster.h"

#include <simulator/mastersimulator.h>

#include <algorithm>

QString descriptionPath()
{
    return QStringLiteral(KR7D_APP_DIR "/IoLinkKR7Dfamily.xml");
}

std::unique_ptr<Kr7dSim::SimulatedConnection>
simulatedMaster(const QString &sensorName, const QString &productId, const QString &portName)
{
    Kr7dSim::DeviceSelection selection;
    selection.sensorName = sensorName;
    selection.productId = productId;
    std::unique_ptr<Kr7dSim::MasterSimulator> simulator
        = Kr7dSim::MasterSimulator::fromFile(descriptionPath(), selection);
    if (!simulator)
        return nullptr;
    ExtensionSystem::PortSettings settings;
    settings.portName = portName;
    auto connection
        = std::make_unique<Kr7dSim::SimulatedConnection>(std::move(simulator), settings);
    connection->setTimeoutScale(0.01);
    return connection;
}

int countOf(const QList<QByteArray> &log, const QByteArray &frame)
{
    return int(std::count(log.cbegin(), log.cend(), frame));
}
