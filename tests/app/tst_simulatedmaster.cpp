#include <simulatedmaster.h>

#include <extensionsystem/communicationinterface.h>
#include <extensionsystem/connectionregistry.h>
#include <extensionsystem/plugininterface.h>
#include <extensionsystem/portsettings.h>

#include <devicedescription.h>
#include <mastersimulator.h>
#include <simulatedconnection.h>

#include <QtTest>

using ExtensionSystem::CommunicationInterface;
using ExtensionSystem::ConnectionRegistry;

namespace {

const QString descriptionPath = QStringLiteral(KR7D_APP_DIR "/IoLinkKR7Dfamily.xml");

ExtensionSystem::PortSettings portNamed(const QString &name)
{
    ExtensionSystem::PortSettings settings;
    settings.portName = name;
    return settings;
}

} // namespace

class TestSimulatedMaster : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void simulatedPortCarriesTheChosenSensor_data();
    void simulatedPortCarriesTheChosenSensor();
    void simulatedMasterAnswersTheProbe();
    void otherPortsStaySerial();
    void unknownSensorLeavesThePortClosed();

private:
    ExtensionSystem::PluginInterface m_owner;
};

void TestSimulatedMaster::cleanup()
{
    ConnectionRegistry::instance().release(&m_owner);
    ConnectionRegistry::instance().setFactory(nullptr);
}

void TestSimulatedMaster::simulatedPortCarriesTheChosenSensor_data()
{
    QTest::addColumn<QString>("sensorName");
    QTest::addColumn<QString>("expectedSensor");

    const auto description = Kr7dSim::DeviceDescription::fromFile(descriptionPath);
    QVERIFY(description);
    QVERIFY(description->sensors().size() >= 2);
    const QString first = description->sensors().at(0).name;
    const QString second = description->sensors().at(1).name;
    QTest::newRow("first sensor when none is named") << QString() << first;
    QTest::newRow("the named sensor") << second << second;
}

void TestSimulatedMaster::simulatedPortCarriesTheChosenSensor()
{
    QFETCH(QString, sensorName);
    TGauge::serveSimulatedMaster(QStringLiteral("SIM-A"), sensorName, descriptionPath);
    CommunicationInterface *connection
        = ConnectionRegistry::instance().connect(portNamed(QStringLiteral("SIM-A")), &m_owner);
    const auto simulated = qobject_cast<Kr7dSim::SimulatedConnection *>(connection);
    QVERIFY(simulated);
    QCOMPARE(simulated->portName(), QStringLiteral("SIM-A"));
    QTEST(simulated->simulator().device().sensor.name, "expectedSensor");
}

void TestSimulatedMaster::simulatedMasterAnswersTheProbe()
{
    TGauge::serveSimulatedMaster(QStringLiteral("SIM-B"), QString(), descriptionPath);
    CommunicationInterface *connection
        = ConnectionRegistry::instance().connect(portNamed(QStringLiteral("SIM-B")), &m_owner);
    QVERIFY(connection);

    CommunicationInterface::DataFrame frames(1);
    frames.front().query = std::string("\x03\x51\x12\x01", 4);
    frames.front().answerPattern = ".*";
    QSignalSpy finished(connection, &CommunicationInterface::emitFinished);
    const unsigned int id = connection->uiSendDataFrames(&frames);
    QVERIFY(finished.wait(2000));
    QCOMPARE(finished.at(0).at(0).toUInt(), id);
    QCOMPARE(frames.front().status, 1);
    QCOMPARE(frames.front().answer.size(), size_t(4));
    QCOMPARE(frames.front().answer[2], '\x12');
}

void TestSimulatedMaster::otherPortsStaySerial()
{
    TGauge::serveSimulatedMaster(QStringLiteral("SIM-C"), QString(), descriptionPath);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Cannot open port /dev/tgauge-absent")));
    QCOMPARE(ConnectionRegistry::instance().connect(portNamed(QStringLiteral("/dev/tgauge-absent")), &m_owner),
             nullptr);
}

void TestSimulatedMaster::unknownSensorLeavesThePortClosed()
{
    TGauge::serveSimulatedMaster(QStringLiteral("SIM-D"), QStringLiteral("KR7D-NONE"), descriptionPath);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^tgauge: cannot simulate SIM-D: ")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Cannot open port SIM-D")));
    QCOMPARE(ConnectionRegistry::instance().connect(portNamed(QStringLiteral("SIM-D")), &m_owner), nullptr);
}

QTEST_GUILESS_MAIN(TestSimulatedMaster)
#include "tst_simulatedmaster.moc"
