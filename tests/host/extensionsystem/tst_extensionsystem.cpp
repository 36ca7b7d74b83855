#include <support/fakeconnection.h>
#include <support/ptydevice.h>

#include <extensionsystem/communicationinterface.h>
#include <extensionsystem/connectionregistry.h>
#include <extensionsystem/plugininterface.h>
#include <extensionsystem/portsettings.h>
#include <extensionsystem/sensorbasic.h>

#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <sstream>

using namespace ExtensionSystem;

namespace {

class TestPlugin final : public PluginInterface
{
public:
    // Starts from a non-null value so that a failed registration must clear it.
    CommunicationInterface *registerPort(const QString &portName)
    {
        PortSettings settings;
        settings.portName = portName;
        CommunicationInterface *connection = &m_sentinel;
        vRegisterConnection(settings, &connection, this);
        return connection;
    }
    void unregisterConnection() { vUnregisterConnection(this); }
    void unregisterPlugin() { vUnregisterPlugin(this); }

private:
    FakeConnection m_sentinel{PortSettings()};
};

const QString simulatedPrefix = QStringLiteral("SIM");

// An entry as a catalogue builder writes it: the sensor element's children,
// without the element's own tag, after the XML declaration.
std::string entryText(const std::string &children)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n" + children
           + "<max>600</max><min>-1</min>";
}

ConnectionRegistry &registry()
{
    return ConnectionRegistry::instance();
}

} // namespace

class tst_ExtensionSystem : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void unopenablePortYieldsNull();
    void portServesOneOwnerAtATime();
    void releaseInsideTheConnectionsOwnSignalIsSafe();
    void releaseStillFinishesPendingListsBeforeDeletion();
    void endOfOwnershipClosesThenDeletesTheConnection_data();
    void endOfOwnershipClosesThenDeletesTheConnection();
    void sensorEntriesAppendedToOneStreamReadOneEachEvenAfterABrokenOne();
    void unusableSensorEntryLeavesTheRecordAsItWas_data();
    void unusableSensorEntryLeavesTheRecordAsItWas();
};

void tst_ExtensionSystem::init()
{
    registry().setFactory(
        [](const PortSettings &settings) -> std::unique_ptr<CommunicationInterface> {
            if (!settings.portName.startsWith(simulatedPrefix))
                return nullptr;
            return std::make_unique<FakeConnection>(settings);
        });
}

void tst_ExtensionSystem::cleanup()
{
    registry().releaseAll();
    registry().setFactory(nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void tst_ExtensionSystem::unopenablePortYieldsNull()
{
    const QString portName = QStringLiteral("/dev/missing");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Cannot open port ")));
    TestPlugin plugin;
    QCOMPARE(plugin.registerPort(portName), nullptr);
    QCOMPARE(registry().openConnectionCount(), 0);
    QVERIFY(!registry().isPortInUse(portName));
}

void tst_ExtensionSystem::portServesOneOwnerAtATime()
{
    const QString portName = simulatedPrefix + QLatin1Char('1');
    TestPlugin first;
    TestPlugin second;
    CommunicationInterface *held = first.registerPort(portName);
    QVERIFY(held);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("already in use")));
    QCOMPARE(second.registerPort(portName), nullptr);
    QCOMPARE(registry().connectionOf(&first), held);

    first.unregisterConnection();
    QVERIFY(second.registerPort(portName));
    QCOMPARE(registry().openConnectionCount(), 1);
}

void tst_ExtensionSystem::releaseInsideTheConnectionsOwnSignalIsSafe()
{
    TestPlugin plugin;
    auto *connection = dynamic_cast<FakeConnection *>(plugin.registerPort(QStringLiteral("SIM1")));
    QVERIFY(connection);
    QPointer<FakeConnection> guard = connection;
    connect(connection, &CommunicationInterface::emitFinished, &plugin,
            [&plugin] { plugin.unregisterConnection(); });

    QVERIFY(connection->finishAndCheckState(1));
    QVERIFY(guard);
    QCOMPARE(registry().connectionOf(&plugin), nullptr);
    QTRY_VERIFY(!guard);
}

void tst_ExtensionSystem::releaseStillFinishesPendingListsBeforeDeletion()
{
    PtyDevice silentDevice;
    TestPlugin plugin;
    QPointer<CommunicationInterface> connection = plugin.registerPort(silentDevice.portName());
    QVERIFY(connection);
    CommunicationInterface::DataFrame frames(2);
    QSignalSpy finished(connection.data(), &CommunicationInterface::emitFinished);
    const unsigned int id = connection->uiSendDataFrames(&frames);

    plugin.unregisterConnection();
    QVERIFY(connection);
    QTRY_VERIFY(!connection);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toUInt(), id);
    for (const CommunicationInterface::DataFrameRecord &record : frames)
        QCOMPARE(record.status, 0);
}

void tst_ExtensionSystem::endOfOwnershipClosesThenDeletesTheConnection_data()
{
    QTest::addColumn<int>("end");

    QTest::newRow("plugin unregistered") << 0;
    QTest::newRow("plugin destroyed without unregistering") << 1;
    QTest::newRow("plugin registered another port") << 2;
}

void tst_ExtensionSystem::endOfOwnershipClosesThenDeletesTheConnection()
{
    QFETCH(int, end);

    auto plugin = std::make_unique<TestPlugin>();
    QPointer<CommunicationInterface> connection = plugin->registerPort(QStringLiteral("SIM1"));
    QVERIFY(connection);
    if (end == 0)
        plugin->unregisterPlugin();
    if (end == 2)
        QVERIFY(plugin->registerPort(QStringLiteral("SIM2")));
    else
        plugin.reset();

    QVERIFY(connection && !connection->bIsOpen());
    QCOMPARE(registry().openConnectionCount(), end == 2 ? 1 : 0);
    QVERIFY(!registry().isPortInUse(QStringLiteral("SIM1")));
    QTRY_VERIFY(!connection);
}

void tst_ExtensionSystem::sensorEntriesAppendedToOneStreamReadOneEachEvenAfterABrokenOne()
{
    std::stringstream stream;
    SensorBasic record;

    stream << entryText("<name>KR7D-1</name><id>KR7D</id>");
    QVERIFY(record.fromXMLStream(stream));
    stream << "<name>broken";
    QVERIFY(!record.fromXMLStream(stream));
    stream << entryText("<name>KR7D-2</name><id>KR7E</id>");
    QVERIFY(record.fromXMLStream(stream));
    QCOMPARE(record.name(), std::string("KR7D-2"));
    QCOMPARE(record.id(), std::string("KR7E"));
    QVERIFY(stream.good());
}

void tst_ExtensionSystem::unusableSensorEntryLeavesTheRecordAsItWas_data()
{
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("not XML") << QByteArray("name=KR7D id=7");
    QTest::newRow("no name") << QByteArray::fromStdString(entryText("<id>KR7D</id>"));
    QTest::newRow("no id") << QByteArray::fromStdString(entryText("<name>KR7D-1</name>"));
    QTest::newRow("nothing written") << QByteArray();
}

void tst_ExtensionSystem::unusableSensorEntryLeavesTheRecordAsItWas()
{
    QFETCH(QByteArray, text);

    SensorBasic record("old-id", "old-name");
    std::stringstream stream;
    stream << text.toStdString();
    QVERIFY(!record.fromXMLStream(stream));
    QCOMPARE(record.id(), std::string("old-id"));
    QCOMPARE(record.name(), std::string("old-name"));
}

QTEST_GUILESS_MAIN(tst_ExtensionSystem)
#include "tst_extensionsystem.moc"
