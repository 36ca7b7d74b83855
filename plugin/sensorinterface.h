#pragma once

#include <extensionsystem/communicationinterface.h>
#include <extensionsystem/plugininterface.h>
#include <extensionsystem/portsettings.h>

#include <QPointer>

#include <string>

class QMdiSubWindow;

namespace BravoSensorPlugin {
namespace Core {

class SensorWindow;

// The host's handle on one opened sensor: owns its window and its port registration.
class SensorInterface final : public ExtensionSystem::PluginInterface
{
    Q_OBJECT
public:
    SensorInterface(const ExtensionSystem::SensorBasic *sensor, QMdiSubWindow *subWindow);
    ~SensorInterface() override;

    QString getPluginType() override;
    QString getSensorGroup() override;
    QList<QVariant> getExtraList() override;
    bool bConnectionFailed() override;
    bool bOpenSettingsFrom(const QString &fileName) override;
    bool bSaveSettingsTo(const QString &fileName) override;
    bool bExportChartDataTo(const QString &fileName, const QString &delimiter) override;
    int iCompareSettingsWith(const QString &fileName, QStringList *differences) override;
    QStringList unconfirmedValues() override;

    SensorWindow *sensorWindow() const; // null once the host has deleted the sub-window
    bool isConnected() const;
    const ExtensionSystem::PortSettings &registeredPortSettings() const;
    ExtensionSystem::CommunicationInterface *registeredConnection() const;

public slots:
    void vUpdate(QVariant value) override;
    void vComPortListChanged();
    void vComPortChanged(const QString &port);
    void vSendDataBytes(const QString &text);
    void vReceivedData(const QString &text);
    void vAvailablePortsUpdated(QStringList ports) override;
    void vActionOpen(QString fileName) override;
    void vActionExit(QString reason) override;
    void setWindowActive(bool active) override;
    void vAboutToClose();
    void vAutoConnect(QString port) override;
    void setSensorName(QString name) override;
    QString getSensorName() override;

private slots:
    void receivedData(std::string data);

private:
    void setWindowConnection(ExtensionSystem::CommunicationInterface *newConnection);

    bool connected = false;
    QPointer<SensorWindow>
        window; // owned; QPointer because the host may delete it with the sub-window
    ExtensionSystem::PortSettings portSettings;
    // Not owned: the host's registry deletes it on release, which clears this pointer.
    QPointer<ExtensionSystem::CommunicationInterface> connection;
    QString sensorName;
};

} // namespace Core
} // namespace BravoSensorPlugin
