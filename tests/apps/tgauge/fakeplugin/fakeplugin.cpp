// A sensor plug-in for the host's tests. Built once complete and once per
// entry point with that entry point left out (FAKE_WITHOUT_<name>).
#include <extensionsystem/plugininterface.h>
#include <extensionsystem/sensorbasic.h>
#include <utils/fiberwait.h>

#include <QCoreApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>

#include <list>

namespace {

bool initialised = false;

// Records every call from the host in its "calls" property, one text per call.
class FakeSensorObject final : public ExtensionSystem::PluginInterface
{
public:
    FakeSensorObject(const ExtensionSystem::SensorBasic &sensor, QMdiSubWindow *subWindow)
        : m_window(new QLabel(QString::fromStdString(sensor.name())))
    {
        subWindow->setWidget(m_window);
        m_window->resize(800, 500);
        m_window->show();
    }
    ~FakeSensorObject() override { delete m_window.data(); }

    void vAvailablePortsUpdated(QStringList ports) override
    {
        record(QStringLiteral("ports:") + ports.join(QLatin1Char(',')));
    }
    void vActionOpen(QString fileName) override { record(QStringLiteral("open:") + fileName); }
    // Connecting waits as a real plug-in's transfers do: on a fiber it yields, elsewhere it runs
    // the event loop.
    void vAutoConnect(QString port) override
    {
        record(QStringLiteral("connect:") + port);
        Utils::FiberWait transfer;
        QTimer::singleShot(30, this, [&transfer] { transfer.quit(); });
        transfer.exec();
        record(QStringLiteral("connected:") + port);
    }
    void vUpdate(QVariant value) override { record(QStringLiteral("update:") + value.toString()); }
    void vActionExit(QString) override
    {
        record(QStringLiteral("exit"));
        if (m_window)
            m_window->close();
    }
    void setWindowActive(bool active) override
    {
        record(QStringLiteral("active:") + QVariant(active).toString());
    }
    bool bSaveSettingsTo(const QString &fileName) override
    {
        record(QStringLiteral("save:") + fileName);
        return true;
    }
    // What a test put into the "unconfirmed" property.
    QStringList unconfirmedValues() override { return property("unconfirmed").toStringList(); }
    void setSensorName(QString name) override { m_name = name; }
    QString getSensorName() override { return m_name; }

private:
    // Also in the application's "calls", after the sensor's name, for the order across sensors.
    void record(const QString &call)
    {
        setProperty("calls", property("calls").toStringList() << call);
        qApp->setProperty("calls", qApp->property("calls").toStringList()
                                       << m_name + QLatin1Char(' ') + call);
    }

    QPointer<QLabel> m_window; // owned, unless its sub-window goes first
    QString m_name;
};

} // namespace

extern "C" {

#ifndef FAKE_WITHOUT_vInitialisePlugin
Q_DECL_EXPORT void vInitialisePlugin()
{
    initialised = true;
}
#endif

#ifndef FAKE_WITHOUT_pcTessvorTGaugePluginName
Q_DECL_EXPORT const char *pcTessvorTGaugePluginName()
{
    return "FakeGauge";
}
#endif

#ifndef FAKE_WITHOUT_pcPluginVersion
Q_DECL_EXPORT const char *pcPluginVersion()
{
    return "0.1.2";
}
#endif

#ifndef FAKE_WITHOUT_pcDescription
Q_DECL_EXPORT const char *pcDescription()
{
    return "Fake plug-in  for the host's tests";
}
#endif

#ifndef FAKE_WITHOUT_pcCommunicationType
Q_DECL_EXPORT const char *pcCommunicationType()
{
    return "SERIAL";
}
#endif

#ifndef FAKE_WITHOUT_poGetInterfaceInstance
Q_DECL_EXPORT ExtensionSystem::PluginInterface *
poGetInterfaceInstance(ExtensionSystem::SensorBasic *sensor, QMdiSubWindow *subWindow)
{
    if (!sensor || !subWindow)
        return nullptr;
    return new FakeSensorObject(*sensor, subWindow);
}
#endif

// Like a real plug-in, the catalogue is only there once the plug-in was initialised.
#ifndef FAKE_WITHOUT_vSensorMap
Q_DECL_EXPORT void vSensorMap(std::list<ExtensionSystem::SensorBasic> *sensors)
{
    sensors->clear();
    if (!initialised)
        return;
    sensors->emplace_back("F001", "Fake-A");
    sensors->emplace_back("F002", "Fake-B");
}
#endif
}
