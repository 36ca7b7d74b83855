#include "simulatedmaster.h"

#include <extensionsystem/connectionregistry.h>
#include <extensionsystem/portsettings.h>

#include <simulator/mastersimulator.h>
#include <simulator/simulatedconnection.h>

#include <memory>

#include <QLoggingCategory>

namespace TGauge {

namespace {

Q_LOGGING_CATEGORY(lcApp, "tgauge.app")

} // namespace

void serveSimulatedMaster(const QString &portName, const QString &sensorName,
                          const QString &descriptionPath)
{
    using Connection = std::unique_ptr<ExtensionSystem::CommunicationInterface>;
    ExtensionSystem::ConnectionRegistry::instance().setFactory(
        [portName, sensorName,
         descriptionPath](const ExtensionSystem::PortSettings &settings) -> Connection {
            if (settings.portName != portName)
                return nullptr;
            Kr7dSim::DeviceSelection selection;
            selection.sensorName = sensorName;
            QString error;
            std::unique_ptr<Kr7dSim::MasterSimulator> simulator
                = Kr7dSim::MasterSimulator::fromFile(descriptionPath, selection, &error);
            if (!simulator) {
                qCWarning(lcApp, "cannot simulate %s: %s", qUtf8Printable(portName),
                          qUtf8Printable(error));
                return nullptr;
            }
            return std::make_unique<Kr7dSim::SimulatedConnection>(std::move(simulator), settings);
        });
}

} // namespace TGauge
