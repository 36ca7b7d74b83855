#pragma once

#include <extensionsystem/sensorbasic.h>

#include <QString>

#include <list>
#include <vector>

QT_BEGIN_NAMESPACE
class QMdiSubWindow;
QT_END_NAMESPACE

namespace ExtensionSystem {
class PluginInterface;
} // namespace ExtensionSystem

namespace TGauge {

// The seven plain entry points every sensor plug-in exports.
struct PluginExports
{
    using InitialiseFunction = void (*)();
    using TextFunction = const char *(*)();
    using InstanceFunction
        = ExtensionSystem::PluginInterface *(*)(ExtensionSystem::SensorBasic *, QMdiSubWindow *);
    using SensorMapFunction = void (*)(std::list<ExtensionSystem::SensorBasic> *);

    InitialiseFunction vInitialisePlugin = nullptr;
    TextFunction pcTessvorTGaugePluginName = nullptr;
    TextFunction pcPluginVersion = nullptr;
    TextFunction pcDescription = nullptr;
    TextFunction pcCommunicationType = nullptr;
    InstanceFunction poGetInterfaceInstance = nullptr;
    SensorMapFunction vSensorMap = nullptr;
};

// One loaded plug-in: its entry points and what it told the host about itself.
struct PluginLibrary
{
    QString filePath;
    PluginExports exports;

    QString name;
    QString version;
    QString description;
    QString communicationType;
    std::vector<ExtensionSystem::SensorBasic> sensors;
};

} // namespace TGauge
