#include "exports.h"

#include "logging.h"
#include "sensorcatalogue.h"
#include "sensorinterface.h"

#include <exception>

using BravoSensorPlugin::Core::SensorInterface;
using BravoSensorPlugin::Core::lcPlugin;

void vInitialisePlugin() {}

const char *pcTessvorTGaugePluginName()
{
    return "IoLinkKR7Dfamily";
}

const char *pcPluginVersion()
{
    return KR7D_VERSION;
}

const char *pcDescription()
{
    return "Plugin for handling MASTER IO_LINK-ZB4  TESSVOR  FLUID sensors family";
}

const char *pcCommunicationType()
{
    return "SERIAL";
}

ExtensionSystem::PluginInterface *poGetInterfaceInstance(ExtensionSystem::SensorBasic *sensor,
                                                         QMdiSubWindow *subWindow)
{
    if (!sensor || !subWindow)
        return nullptr;
    // The host is not ours to unwind through.
    try {
        return new SensorInterface(sensor, subWindow);
    } catch (const std::exception &error) {
        qCWarning(lcPlugin) << "cannot open the sensor window:" << error.what();
        return nullptr;
    }
}

void vSensorMap(std::list<ExtensionSystem::SensorBasic> *sensors)
{
    if (sensors)
        *sensors = BravoSensorPlugin::Core::buildSensorCatalogue();
}
