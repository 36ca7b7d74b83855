#pragma once

#include "extensionsystem_global.h"
#include "sensorbasic.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariant>

namespace ExtensionSystem {

class CommunicationInterface;
class PortSettings;

// Base of every plugin object the host drives. The order of the virtual
// operations is part of the host's binary contract.
class EXTENSIONSYSTEM_EXPORT PluginInterface : public QObject
{
    Q_OBJECT
public:
    explicit PluginInterface(QObject *parent = nullptr);
    ~PluginInterface() override;

    virtual QString getPluginType();
    virtual QString getSensorGroup();
    virtual QList<QVariant> getExtraList();
    virtual void vSensorListUpdated(const QList<SensorBasic> &sensors);
    virtual void vAvailablePortsUpdated(QStringList ports);
    virtual void vActionOpen(QString fileName);
    virtual void vAutoConnect(QString port);
    virtual void vSetCompleteNameDescription(const QString &description);
    virtual void vUpdate(QVariant value);
    virtual void vActionExit(QString reason);
    virtual void vActionExport(const QString &fileName);
    virtual void setWindowActive(bool active);
    virtual void setSensorName(QString name);
    virtual QString getSensorName();

    // Scripted runs. The defaults stand for a plug-in that offers none of this.
    // True when the last vAutoConnect left the sensor unconnected.
    virtual bool bConnectionFailed();
    // vActionOpen that tells whether the file was applied; the default cannot tell and says true.
    virtual bool bOpenSettingsFrom(const QString &fileName);
    virtual bool bSaveSettingsTo(const QString &fileName);
    virtual bool bExportChartDataTo(const QString &fileName, const QString &delimiter);
    // The number of parameters whose values differ from the file's, one line each
    // ("<id>: file <value>, sensor <value>") into *differences; -1 when the file cannot be read.
    virtual int iCompareSettingsWith(const QString &fileName, QStringList *differences);
    // The values shown that the sensor has not confirmed, one "<id> (<why>)" each; empty when
    // all are confirmed or the plug-in cannot tell.
    virtual QStringList unconfirmedValues();

    // What the base keeps from the host's notifications.
    QList<SensorBasic> sensorList() const;
    QString completeNameDescription() const;

protected:
    // Opens the port for this plugin object; *out is null when the port is
    // missing, busy or already open. One connection per plugin object: a
    // second registration releases the first.
    void vRegisterConnection(const PortSettings &settings, CommunicationInterface **out,
                             PluginInterface *self);
    void vUnregisterConnection(PluginInterface *self);
    // Releases everything the registry holds for the plugin object.
    void vUnregisterPlugin(PluginInterface *self);

private:
    QList<SensorBasic> m_sensorList;
    QString m_completeNameDescription;
};

} // namespace ExtensionSystem
