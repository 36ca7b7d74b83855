#pragma once

#include <QtGlobal>

#include <list>

class QMdiSubWindow;

namespace ExtensionSystem {
class PluginInterface;
class SensorBasic;
} // namespace ExtensionSystem

// The entry points the host resolves by their plain names.
extern "C" {

Q_DECL_EXPORT void vInitialisePlugin();
Q_DECL_EXPORT const char *pcTessvorTGaugePluginName();
Q_DECL_EXPORT const char *pcPluginVersion();
Q_DECL_EXPORT const char *pcDescription();
Q_DECL_EXPORT const char *pcCommunicationType();
// A new plugin object whose window lives in subWindow; null when either pointer is null.
Q_DECL_EXPORT ExtensionSystem::PluginInterface *
poGetInterfaceInstance(ExtensionSystem::SensorBasic *sensor, QMdiSubWindow *subWindow);
// Replaces the list's contents with the sensor catalogue.
Q_DECL_EXPORT void vSensorMap(std::list<ExtensionSystem::SensorBasic> *sensors);
}
