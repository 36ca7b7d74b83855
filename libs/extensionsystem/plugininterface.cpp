#include "plugininterface.h"

#include "connectionregistry.h"

namespace ExtensionSystem {

PluginInterface::PluginInterface(QObject *parent)
    : QObject(parent)
{
}

PluginInterface::~PluginInterface()
{
    // A plug-in that forgot to unregister must not leave its port open.
    ConnectionRegistry::instance().release(this);
}

QString PluginInterface::getPluginType()
{
    return QString();
}

QString PluginInterface::getSensorGroup()
{
    return QString();
}

QList<QVariant> PluginInterface::getExtraList()
{
    return {};
}

void PluginInterface::vSensorListUpdated(const QList<SensorBasic> &sensors)
{
    m_sensorList = sensors;
}

void PluginInterface::vAvailablePortsUpdated(QStringList) {}

void PluginInterface::vActionOpen(QString) {}

void PluginInterface::vAutoConnect(QString) {}

void PluginInterface::vSetCompleteNameDescription(const QString &description)
{
    m_completeNameDescription = description;
}

void PluginInterface::vUpdate(QVariant) {}

void PluginInterface::vActionExit(QString) {}

void PluginInterface::vActionExport(const QString &) {}

void PluginInterface::setWindowActive(bool) {}

void PluginInterface::setSensorName(QString) {}

QString PluginInterface::getSensorName()
{
    return QString();
}

QStringList PluginInterface::unconfirmedValues()
{
    return {};
}

bool PluginInterface::bConnectionFailed()
{
    return false;
}

bool PluginInterface::bOpenSettingsFrom(const QString &fileName)
{
    vActionOpen(fileName);
    return true;
}

bool PluginInterface::bSaveSettingsTo(const QString &)
{
    return false;
}

bool PluginInterface::bExportChartDataTo(const QString &, const QString &)
{
    return false;
}

int PluginInterface::iCompareSettingsWith(const QString &, QStringList *)
{
    return -1;
}

QList<SensorBasic> PluginInterface::sensorList() const
{
    return m_sensorList;
}

QString PluginInterface::completeNameDescription() const
{
    return m_completeNameDescription;
}

void PluginInterface::vRegisterConnection(const PortSettings &settings,
                                          CommunicationInterface **out, PluginInterface *self)
{
    if (!out)
        return;
    *out = self ? ConnectionRegistry::instance().connect(settings, self) : nullptr;
}

void PluginInterface::vUnregisterConnection(PluginInterface *self)
{
    ConnectionRegistry::instance().release(self);
}

void PluginInterface::vUnregisterPlugin(PluginInterface *self)
{
    // A plugin object holds nothing in the registry but its connection.
    vUnregisterConnection(self);
}

} // namespace ExtensionSystem
