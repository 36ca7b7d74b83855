#include <support/fakeconnection.h>

#include <plugin/exports.h>
#include <plugin/sensorcatalogue.h>
#include <plugin/sensorinterface.h>
#include <window/sensorwindow.h>
#include <window/sensorwindowdata.h>

#include <extensionsystem/communicationinterface.h>
#include <extensionsystem/connectionregistry.h>
#include <extensionsystem/portsettings.h>

#include <QComboBox>
#include <QDockWidget>
#include <QMdiSubWindow>
#include <QMetaMethod>
#include <QPointer>
#include <QtTest>

#include <memory>

using BravoSensorPlugin::Core::SensorInterface;
using BravoSensorPlugin::Core::SensorWindow;
using ExtensionSystem::CommunicationInterface;
using ExtensionSystem::ConnectionRegistry;
using ExtensionSystem::PortSettings;

namespace {

// What the host's registry was asked to open.
struct Registrations
{
    QList<PortSettings> requested;
};

const char MissingPort[] = "/dev/kr7d-no-such-port";

} // namespace

class tst_SensorInterface : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void slotsInTheirContractOrder();
    void instanceNeedsSensorAndSubWindow();

    void choosingAPortRegistersItOnceWithTheSensorDelays();
    void failedRegistrationKeepsThePortName();
    void anotherPortReplacesTheRegistration();
    void emptyPortReleasesOnlyWhileConnected_data();
    void emptyPortReleasesOnlyWhileConnected();
    void windowSignalsReachThePluginObject();

    void portListGetsThePortInUseLast_data();
    void portListGetsThePortInUseLast();
    void presentationModeReachesTheWindow();
    void exitClosesTheWindowAndReleasesThePort();
    void windowIsDestroyedOnceWhicheverGoesFirst_data();
    void windowIsDestroyedOnceWhicheverGoesFirst();

private:
    SensorInterface *plugin() const { return m_plugin.get(); }
    SensorWindow *window() const { return m_plugin->sensorWindow(); }

    ExtensionSystem::SensorBasic m_sensor;
    std::shared_ptr<Registrations> m_registrations;
    std::unique_ptr<QMdiSubWindow> m_subWindow;
    std::unique_ptr<SensorInterface> m_plugin;
};

void tst_SensorInterface::initTestCase()
{
    const std::list<ExtensionSystem::SensorBasic> catalogue
        = BravoSensorPlugin::Core::buildSensorCatalogue();
    QVERIFY(!catalogue.empty());
    m_sensor = catalogue.front();
}

void tst_SensorInterface::init()
{
    m_registrations = std::make_shared<Registrations>();
    // Port names starting with "FAKE" get a fake connection; any other name goes to the
    // real serial path, which fails for the names these tests use.
    ConnectionRegistry::instance().setFactory(
        [registrations = m_registrations](
            const PortSettings &settings) -> std::unique_ptr<CommunicationInterface> {
            registrations->requested.append(settings);
            if (!settings.portName.startsWith(QLatin1String("FAKE")))
                return nullptr;
            return std::make_unique<FakeConnection>(settings);
        });
    m_subWindow = std::make_unique<QMdiSubWindow>();
    m_plugin = std::make_unique<SensorInterface>(&m_sensor, m_subWindow.get());
}

void tst_SensorInterface::cleanup()
{
    m_plugin.reset();
    m_subWindow.reset();
    ConnectionRegistry::instance().setFactory(nullptr);
    QCOMPARE(ConnectionRegistry::instance().openConnectionCount(), 0);
}

void tst_SensorInterface::slotsInTheirContractOrder()
{
    const QMetaObject *meta = plugin()->metaObject();
    QCOMPARE(meta->className(), "BravoSensorPlugin::Core::SensorInterface");
    QStringList signatures;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        QCOMPARE(method.methodType(), QMetaMethod::Slot);
        signatures << QString::fromLatin1(method.methodSignature());
    }
    QCOMPARE(signatures,
             QStringList({"vUpdate(QVariant)", "vComPortListChanged()", "vComPortChanged(QString)",
                          "vSendDataBytes(QString)", "vReceivedData(QString)",
                          "vAvailablePortsUpdated(QStringList)", "vActionOpen(QString)",
                          "vActionExit(QString)", "setWindowActive(bool)", "vAboutToClose()",
                          "vAutoConnect(QString)", "setSensorName(QString)", "getSensorName()",
                          "receivedData(std::string)"}));
    QCOMPARE(meta->method(meta->indexOfSlot("receivedData(std::string)")).access(),
             QMetaMethod::Private);
}

void tst_SensorInterface::instanceNeedsSensorAndSubWindow()
{
    QMdiSubWindow subWindow;
    const int widgets = QApplication::allWidgets().size();
    QCOMPARE(poGetInterfaceInstance(&m_sensor, nullptr), nullptr);
    QCOMPARE(poGetInterfaceInstance(nullptr, &subWindow), nullptr);
    QCOMPARE(QApplication::allWidgets().size(), widgets);
    QCOMPARE(subWindow.widget(), nullptr);

    std::unique_ptr<ExtensionSystem::PluginInterface> instance(
        poGetInterfaceInstance(&m_sensor, &subWindow));
    QVERIFY(qobject_cast<SensorInterface *>(instance.get()));
    QVERIFY(qobject_cast<SensorWindow *>(subWindow.widget()));
}

void tst_SensorInterface::choosingAPortRegistersItOnceWithTheSensorDelays()
{
    plugin()->vComPortChanged(QStringLiteral("FAKE1"));
    plugin()->vComPortChanged(QStringLiteral("FAKE1"));

    QVERIFY(plugin()->isConnected());
    QVERIFY(plugin()->registeredConnection());
    QCOMPARE(window()->windowData()->connection.data(), plugin()->registeredConnection());
    QCOMPARE(ConnectionRegistry::instance().connectionOf(plugin()),
             plugin()->registeredConnection());
    QCOMPARE(m_registrations->requested.size(), 1);
    const PortSettings &settings = m_registrations->requested.first();
    QCOMPARE(settings.portName, QStringLiteral("FAKE1"));
    QCOMPARE(settings.characterDelay, window()->sensorRecord().getCharacterDelay());
    QCOMPARE(settings.lineDelay, window()->sensorRecord().getLineDelay());
    QCOMPARE(settings.responseDelay, 0);
}

void tst_SensorInterface::failedRegistrationKeepsThePortName()
{
    const QString missing = QLatin1String(MissingPort);
    plugin()->vComPortChanged(missing);
    QVERIFY(!plugin()->isConnected());
    QCOMPARE(plugin()->registeredConnection(), nullptr);
    QCOMPARE(window()->windowData()->connection.data(), nullptr);
    QCOMPARE(plugin()->registeredPortSettings().portName, missing);

    // An empty name while disconnected does not clear it, so the same name stays refused.
    plugin()->vComPortChanged(QString());
    plugin()->vComPortChanged(missing);
    QCOMPARE(m_registrations->requested.size(), 1);

    plugin()->vComPortChanged(QStringLiteral("FAKE2"));
    plugin()->vComPortChanged(missing);
    QCOMPARE(m_registrations->requested.size(), 3);
}

void tst_SensorInterface::anotherPortReplacesTheRegistration()
{
    plugin()->vComPortChanged(QStringLiteral("FAKE1"));
    const QPointer<CommunicationInterface> first = plugin()->registeredConnection();
    plugin()->vComPortChanged(QStringLiteral("FAKE2"));

    QVERIFY(plugin()->isConnected());
    QCOMPARE(plugin()->registeredPortSettings().portName, QStringLiteral("FAKE2"));
    QCOMPARE(ConnectionRegistry::instance().connectionOf(plugin()),
             plugin()->registeredConnection());
    QCOMPARE(ConnectionRegistry::instance().openConnectionCount(), 1);
    QTRY_VERIFY(first.isNull());
}

void tst_SensorInterface::emptyPortReleasesOnlyWhileConnected_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QString>("portNameAfterwards");
    QTest::newRow("while connected") << "FAKE1" << true << QString();
    QTest::newRow("after a failed registration")
        << QString::fromLatin1(MissingPort) << false << QString::fromLatin1(MissingPort);
}

void tst_SensorInterface::emptyPortReleasesOnlyWhileConnected()
{
    QFETCH(QString, port);
    plugin()->vComPortChanged(port);
    QTEST(plugin()->isConnected(), "connected");

    plugin()->vComPortChanged(QString());
    QVERIFY(!plugin()->isConnected());
    QCOMPARE(plugin()->registeredConnection(), nullptr);
    QCOMPARE(window()->windowData()->connection.data(), nullptr);
    QCOMPARE(ConnectionRegistry::instance().openConnectionCount(), 0);
    QTEST(plugin()->registeredPortSettings().portName, "portNameAfterwards");
}

void tst_SensorInterface::windowSignalsReachThePluginObject()
{
    QVERIFY(QMetaObject::invokeMethod(window(), "vConnectToPort",
                                      Q_ARG(QString, QStringLiteral("FAKE7"))));
    QVERIFY(plugin()->isConnected());
    QCOMPARE(plugin()->registeredPortSettings().portName, QStringLiteral("FAKE7"));

    emit window()->vSendData(QStringLiteral("\x02\x70\x22\xE9"));
    auto *connection = static_cast<FakeConnection *>(plugin()->registeredConnection());
    QCOMPARE(connection->sent, std::vector<std::string>({std::string("\x02\x70\x22\xE9")}));

    QSignalSpy released(connection, &QObject::destroyed);
    emit window()->vAboutToClose();
    QVERIFY(released.wait());
    QCOMPARE(ConnectionRegistry::instance().openConnectionCount(), 0);
    QCOMPARE(plugin()->registeredConnection(), nullptr);
}

void tst_SensorInterface::portListGetsThePortInUseLast_data()
{
    QTest::addColumn<QString>("registered");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("port in use") << "FAKE3"
                                 << QStringList({"Offline", "", "COM1", "COM4", "FAKE3"});
    QTest::newRow("no port in use") << QString() << QStringList({"Offline", "", "COM1", "COM4"});
}

void tst_SensorInterface::portListGetsThePortInUseLast()
{
    QFETCH(QString, registered);
    plugin()->vComPortChanged(registered);
    plugin()->vAvailablePortsUpdated({QStringLiteral("COM1"), QStringLiteral("COM4")});

    const QComboBox *combo = window()->windowData()->portCombo;
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i)
        shown << combo->itemText(i);
    QTEST(shown, "items");
}

void tst_SensorInterface::presentationModeReachesTheWindow()
{
    plugin()->vUpdate(QVariant(true));
    QVERIFY(window()->windowData()->propertyDock->isHidden());
    plugin()->vUpdate(QVariant(false));
    QVERIFY(!window()->windowData()->propertyDock->isHidden());
}

void tst_SensorInterface::exitClosesTheWindowAndReleasesThePort()
{
    m_subWindow->show();
    QVERIFY(window()->isVisible());
    plugin()->vComPortChanged(QStringLiteral("FAKE1"));
    QSignalSpy aboutToClose(window(), SIGNAL(vAboutToClose()));

    plugin()->vActionExit(QStringLiteral("any reason"));

    QVERIFY(!window()->isVisible());
    QCOMPARE(aboutToClose.count(), 1);
    QCOMPARE(ConnectionRegistry::instance().connectionOf(plugin()), nullptr);
    QTRY_COMPARE(plugin()->registeredConnection(), nullptr);
}

void tst_SensorInterface::windowIsDestroyedOnceWhicheverGoesFirst_data()
{
    QTest::addColumn<bool>("subWindowFirst");
    QTest::newRow("sub-window first") << true;
    QTest::newRow("plugin object first") << false;
}

void tst_SensorInterface::windowIsDestroyedOnceWhicheverGoesFirst()
{
    QFETCH(bool, subWindowFirst);
    plugin()->vComPortChanged(QStringLiteral("FAKE1"));
    QSignalSpy destroyed(window(), &QObject::destroyed);

    if (subWindowFirst) {
        m_subWindow.reset();
        QCOMPARE(destroyed.count(), 1);
        QCOMPARE(plugin()->sensorWindow(), nullptr);
        // The plugin object stays usable without its window.
        plugin()->vAvailablePortsUpdated({QStringLiteral("COM1")});
        plugin()->vComPortChanged(QStringLiteral("FAKE2"));
        plugin()->vActionExit(QString());
    }
    m_plugin.reset();
    m_subWindow.reset();
    QCOMPARE(destroyed.count(), 1);
    QCOMPARE(ConnectionRegistry::instance().openConnectionCount(), 0);
}

QTEST_MAIN(tst_SensorInterface)
#include "tst_sensorinterface.moc"
