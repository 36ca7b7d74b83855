#include <app/simulatedmaster.h>
#include <support/simulatedmaster.h>

#include <extensionsystem/connectionregistry.h>
#include <extensionsystem/plugininterface.h>
#include <extensionsystem/portsettings.h>

#include <simulator/devicedescription.h>
#include <simulator/mastersimulator.h>
#include <simulator/simulatedconnection.h>

#include <QtTest>

using ExtensionSystem::ConnectionRegistry;

namespace {

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

    const auto description = Kr7dSim::DeviceDescription::fromFile(descriptionPath());
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
    TGauge::serveSimulatedMaster(QStringLiteral("SIM-A"), sensorName, descriptionPath());
    const auto simulated = qobject_cast<Kr7dSim::SimulatedConnection *>(
        ConnectionRegistry::instance().connect(portNamed(QStringLiteral("SIM-A")), &m_owner));
    QVERIFY(simulated);
    QCOMPARE(simulated->portName(), QStringLiteral("SIM-A"));
    QTEST(simulated->simulator().device().sensor.name, "expectedSensor");
}

void TestSimulatedMaster::otherPortsStaySerial()
{
    TGauge::serveSimulatedMaster(QStringLiteral("SIM-C"), QString(), descriptionPath());
    QTest::ignoreMessage(
        QtWarningMsg, QRegularExpression(QStringLiteral("^Cannot open port /dev/tgauge-absent")));
    QCOMPARE(ConnectionRegistry::instance().connect(portNamed(QStringLiteral("/dev/tgauge-absent")),
                                                    &m_owner),
             nullptr);
}

void TestSimulatedMaster::unknownSensorLeavesThePortClosed()
{
    TGauge::serveSimulatedMaster(QStringLiteral("SIM-D"), QStringLiteral("KR7D-NONE"),
                                 descriptionPath());
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^cannot simulate SIM-D: ")));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^Cannot open port SIM-D")));
    QCOMPARE(ConnectionRegistry::instance().connect(portNamed(QStringLiteral("SIM-D")), &m_owner),
             nullptr);
}

QTEST_GUILESS_MAIN(TestSimulatedMaster)
#include "tst_simulatedmaster.moc"
