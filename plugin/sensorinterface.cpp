#include "sensorinterface.h"

#include "logging.h"
#include "sensor.h"

#include <window/sensorwindow.h>

#include <QMdiSubWindow>

namespace BravoSensorPlugin {
namespace Core {

SensorInterface::SensorInterface(const ExtensionSystem::SensorBasic *sensor,
                                 QMdiSubWindow *subWindow)
    : window(new SensorWindow(*sensor, subWindow))
{
    subWindow->setWidget(window);
    window->resize(800, 500);
    window->show();

    connect(window, SIGNAL(vSendData(const QString &)), this,
            SLOT(vSendDataBytes(const QString &)));
    connect(window, SIGNAL(vComPortSelected(const QString &)), this,
            SLOT(vComPortChanged(const QString &)));
    connect(window, SIGNAL(vAboutToClose()), this, SLOT(vAboutToClose()));
    connected = false;
}

SensorInterface::~SensorInterface()
{
    vUnregisterPlugin(this);
    delete window;
}

QString SensorInterface::getPluginType()
{
    return QStringLiteral("BravoSensorPlugin");
}

QString SensorInterface::getSensorGroup()
{
    return QStringLiteral("BravoSensors");
}

QList<QVariant> SensorInterface::getExtraList()
{
    return {};
}

SensorWindow *SensorInterface::sensorWindow() const
{
    return window;
}

bool SensorInterface::isConnected() const
{
    return connected;
}

const ExtensionSystem::PortSettings &SensorInterface::registeredPortSettings() const
{
    return portSettings;
}

ExtensionSystem::CommunicationInterface *SensorInterface::registeredConnection() const
{
    return connection;
}

void SensorInterface::vUpdate(QVariant value)
{
    if (window)
        window->vSetPresentationMode(value.toBool());
}

void SensorInterface::vComPortListChanged() {}

void SensorInterface::vComPortChanged(const QString &port)
{
    if (!port.isEmpty()) {
        // The same port is never registered twice in a row, not even after a failed attempt.
        if (port == portSettings.portName)
            return;
        if (connected)
            vUnregisterConnection(this);
        connected = false;
        portSettings.vInit();
        portSettings.portName = port;
        if (window) {
            portSettings.characterDelay = window->sensorRecord().getCharacterDelay();
            portSettings.lineDelay = window->sensorRecord().getLineDelay();
        }
        portSettings.responseDelay = 0;
        ExtensionSystem::CommunicationInterface *registered = nullptr;
        vRegisterConnection(portSettings, &registered, this);
        connection = registered;
        connected = registered != nullptr;
        setWindowConnection(connection);
    } else if (connected) {
        vUnregisterConnection(this);
        connection = nullptr;
        setWindowConnection(nullptr);
        portSettings.vInit();
        connected = false;
    }
}

void SensorInterface::vSendDataBytes(const QString &text)
{
    if (connection)
        connection->vSendRawData(text.toLatin1().toStdString());
}

void SensorInterface::vReceivedData(const QString &) {}

void SensorInterface::vAvailablePortsUpdated(QStringList ports)
{
    if (!window)
        return;
    // Refilling the window's list must not register the port it happens to select.
    disconnect(window, SIGNAL(vComPortSelected(const QString &)), this,
               SLOT(vComPortChanged(const QString &)));
    QStringList listed = ports;
    if (connected) {
        listed.append(portSettings.portName);
        qCDebug(lcPlugin) << "port in use:" << portSettings.portName;
    }
    window->updateComPortList(listed);
    connect(window, SIGNAL(vComPortSelected(const QString &)), this,
            SLOT(vComPortChanged(const QString &)));
}

void SensorInterface::vActionOpen(QString fileName)
{
    if (window)
        window->bOpenSettings(fileName);
}

void SensorInterface::vActionExit(QString)
{
    if (window)
        window->close();
}

void SensorInterface::setWindowActive(bool active)
{
    if (window && active)
        window->setWindowActive(active);
}

void SensorInterface::vAboutToClose()
{
    vUnregisterConnection(this);
}

void SensorInterface::vAutoConnect(QString port)
{
    if (window)
        window->vAutoConnect(port);
}

void SensorInterface::setSensorName(QString name)
{
    sensorName = name;
}

QString SensorInterface::getSensorName()
{
    return sensorName;
}

bool SensorInterface::bConnectionFailed()
{
    return !window || !window->isSensorConnected();
}

bool SensorInterface::bOpenSettingsFrom(const QString &fileName)
{
    return window && window->bOpenSettings(fileName);
}

bool SensorInterface::bSaveSettingsTo(const QString &fileName)
{
    return window && window->saveSettingsFile(fileName);
}

bool SensorInterface::bExportChartDataTo(const QString &fileName, const QString &delimiter)
{
    return window && window->exportChartData(fileName, delimiter);
}

int SensorInterface::iCompareSettingsWith(const QString &fileName, QStringList *differences)
{
    return window ? window->compareSettingsFile(fileName, differences) : -1;
}

QStringList SensorInterface::unconfirmedValues()
{
    return window ? window->unconfirmedParameterReport() : QStringList();
}

void SensorInterface::receivedData(std::string) {}

void SensorInterface::setWindowConnection(ExtensionSystem::CommunicationInterface *newConnection)
{
    if (window)
        window->setConnection(newConnection);
}

} // namespace Core
} // namespace BravoSensorPlugin
