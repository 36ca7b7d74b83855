#include "devicetestkit.h"

#include <comm/platformsleep.h>
#include <plugin/sensorcatalogue.h>
#include <plugin/sensorinterface.h>
#include <window/sensorwindow.h>
#include <window/sensorwindowdata.h>
#include <window/ui_sensorwindow.h>

#include <extensionsystem/connectionregistry.h>
#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qtpropertymanager.h>
#include <utils/connectionstatus.h>

#include <QAction>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QToolBar>
#include <QtTest>

using BravoSensorPlugin::Core::SensorInterface;
using BravoSensorPlugin::Core::SensorWindow;
using BravoSensorPlugin::Core::SensorWindowData;

namespace {

const QString simulatedPort = QStringLiteral("SIM-TEST");
const int simulatedPortIndex = 3; // "Offline", separator, "COM9", then the simulated port

const QString mismatchBox = QStringLiteral("Connecting to sensor...|The connected sensor does not "
                                           "match currently selected sensor, please try again with "
                                           "the proper sensor");
const QString silentSensorBox = QStringLiteral(
    "Connecting to sensor|The sensor did not respond, please make sure it is properly connected.");

const QByteArray identitySetup = QByteArray::fromHex("0473110903");
const QByteArray probe = QByteArray::fromHex("03511201");

} // namespace

Q_DECLARE_METATYPE(QList<ModalHand::Answer>)

class tst_ConnectionWorkflow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void leavingTheDialogsChangesNothing_data();
    void leavingTheDialogsChangesNothing();
    void sensorToPcConnectsAndReadsEverything();
    void pcToSensorWritesThenReadsBack();
    void foreignSensorFailsAfterTenIdentityChecks();
    void silentMasterFailsAfterFiveProbes();
    void withoutConnectionObjectTheAttemptFailsSilently();
    void watchdogGivesUpAfterElevenChecks();
    void watchdogCheckThatPassesChangesNothing();
    void watchdogWhileOfflineShowsNothing();
    void choosingOfflineReleasesTheConnection();
    void readShowsAValueChangedInTheSensor();
    void failedAutoConnectLeavesLiveDataOn();

private:
    SensorWindow &window() { return *m_session->object().sensorWindow(); }
    SensorWindowData &data() { return *window().windowData(); }
    QtProperty *property(const char *id) { return window().findProperty(data().rootProperty, id); }
    bool indicatorOn() { return data().connectionStatus->isConnected(); }
    // Picks the port in the combo as a user would, answering the direction dialog.
    void choosePort(int index);
    void connectSensorToPc();

    ExtensionSystem::SensorBasic m_sensor;
    std::unique_ptr<WindowSession> m_session;
    QPointer<Kr7dSim::SimulatedConnection> m_master; // owned by the connection registry
    QString m_productId;
    Kr7dSim::FaultSettings m_faults;
};

void tst_ConnectionWorkflow::initTestCase()
{
    BravoSensorPlugin::Core::setPlatformSleepScale(0);
    m_sensor = BravoSensorPlugin::Core::buildSensorCatalogue().front();
    ExtensionSystem::ConnectionRegistry::instance().setFactory(
        [this](const ExtensionSystem::PortSettings &settings)
            -> std::unique_ptr<ExtensionSystem::CommunicationInterface> {
            if (settings.portName != simulatedPort)
                return nullptr;
            std::unique_ptr<Kr7dSim::SimulatedConnection> master = simulatedMaster(
                QString::fromStdString(m_sensor.name()), m_productId, settings.portName);
            master->simulator().setFaults(m_faults);
            m_master = master.get();
            return master;
        });
}

void tst_ConnectionWorkflow::init()
{
    m_productId.clear();
    m_faults = {};
    m_session = std::make_unique<WindowSession>(
        m_sensor, QStringList{QStringLiteral("COM9"), simulatedPort}, m_master);
    QCOMPARE(data().portCombo->itemText(simulatedPortIndex), simulatedPort);
}

void tst_ConnectionWorkflow::cleanup()
{
    const QString problems = m_session->boxProblems();
    m_session.reset();
    QVERIFY2(problems.isEmpty(), qPrintable(problems));
    QTRY_VERIFY(!m_master);
}

void tst_ConnectionWorkflow::choosePort(int index)
{
    data().portCombo->setCurrentIndex(index);
    emit data().portCombo->activated(index);
}

void tst_ConnectionWorkflow::connectSensorToPc()
{
    m_session->hand.expect(ModalHand::push(QStringLiteral("sensorToPc")));
    choosePort(simulatedPortIndex);
    QVERIFY(indicatorOn());
    QVERIFY(m_master);
}

void tst_ConnectionWorkflow::leavingTheDialogsChangesNothing_data()
{
    QTest::addColumn<QList<ModalHand::Answer>>("answers");
    QTest::newRow("Cancel in the direction dialog")
        << QList<ModalHand::Answer>{ModalHand::push(QStringLiteral("cancel"))};
    QTest::newRow("Escape in the direction dialog")
        << QList<ModalHand::Answer>{ModalHand::pressEscape()};
    QTest::newRow("Cancel in the PC -> Sensor confirmation") << QList<ModalHand::Answer>{
        ModalHand::push(QStringLiteral("pcToSensor")), ModalHand::click(QMessageBox::Cancel)};
}

void tst_ConnectionWorkflow::leavingTheDialogsChangesNothing()
{
    QFETCH(QList<ModalHand::Answer>, answers);
    QSignalSpy selections(&window(), SIGNAL(vComPortSelected(QString)));
    for (const ModalHand::Answer &answer : answers)
        m_session->hand.expect(answer);
    choosePort(simulatedPortIndex);

    QCOMPARE(m_session->hand.boxesSeen().size(), answers.size());
    QCOMPARE(m_session->hand.boxesSeen().first(), QStringLiteral("connectionSwitchingDialog"));
    QCOMPARE(data().portCombo->currentIndex(), 0);
    QCOMPARE(data().activePortIndex, 0);
    QVERIFY(selections.isEmpty());
    QVERIFY(!m_master);
    QVERIFY(!indicatorOn());
    QVERIFY(!window().form()->sensorOperationsToolbar->isEnabled());
}

void tst_ConnectionWorkflow::sensorToPcConnectsAndReadsEverything()
{
    connectSensorToPc();
    const QString title = QString::fromStdString(m_sensor.name()) + QStringLiteral(" (SIM-TEST)");
    QCOMPARE(window().windowTitle(), title);
    QCOMPARE(data().rootProperty->propertyName(), title);
    QVERIFY(window().sensorConnected);
    QVERIFY(window().form()->sensorOperationsToolbar->isEnabled());
    QVERIFY(!window().form()->actionOpen_Settings->isEnabled());
    QCOMPARE(data().activePortIndex, simulatedPortIndex);
    QCOMPARE(data().selectedSensorId, QStringLiteral("K7DA"));
    QCOMPARE(m_master->poGetPortSettings()->baudRate, 38400);
    // Texts too: a disconnect before the attempt switched their decoding on.
    QCOMPARE(data().stringManager->value(property("ProductIdReadOnly")), QStringLiteral("K7DA010"));
    QCOMPARE(window().connectedSensorText, QStringLiteral("K7DA010"));
    QVERIFY(data().watchdogTimer.isActive());
    QVERIFY(data().liveDataEnabled);
    QVERIFY(window().form()->actionEnable_live_data->isChecked());
    QVERIFY(m_session->hand.boxesSeen().size() == 1);
}

void tst_ConnectionWorkflow::pcToSensorWritesThenReadsBack()
{
    data().intManager->setValue(property("OnDelay1"), 1500);
    window().sendDelayTimer()->stop();
    m_session->hand.expect(ModalHand::push(QStringLiteral("pcToSensor")));
    m_session->hand.expect(ModalHand::click(QMessageBox::Ok));
    choosePort(simulatedPortIndex);

    QCOMPARE(m_session->hand.boxesSeen().value(1),
             QStringLiteral("tGauge|Sensor settings will be overwritten with the ones from PC"));
    QVERIFY(indicatorOn());
    QCOMPARE(m_master->simulator().parameter(QStringLiteral("OnDelay1")), QVariant(1500));
    const QList<QByteArray> log = m_master->queryLog();
    const auto isWrite
        = [](const QByteArray &frame) { return frame.size() > 2 && frame.at(2) == 0x24; };
    const auto isRead
        = [](const QByteArray &frame) { return frame.size() > 2 && frame.at(2) == 0x26; };
    const auto lastWrite = std::find_if(log.crbegin(), log.crend(), isWrite);
    QVERIFY(lastWrite != log.crend());
    // Every parameter is read back after the last write (the product id read of the identity
    // aside).
    QCOMPARE(int(std::count_if(log.crbegin(), lastWrite, isRead)),
             window().parameterAddresses.size());
    QCOMPARE(data().intManager->value(property("OnDelay1")), 1500);
    QVERIFY(window().editForwarding);
    QCOMPARE(data().progressBar->maximum(), 470);
    QVERIFY(!data().decodeTextParameters);
    QVERIFY(data().liveDataEnabled);
    QVERIFY(data().pollTimer.isActive());
    QVERIFY(window().form()->sensorOperationsToolbar->isEnabled());
}

void tst_ConnectionWorkflow::foreignSensorFailsAfterTenIdentityChecks()
{
    m_productId = QStringLiteral("K7DB025");
    QSignalSpy selections(&window(), SIGNAL(vComPortSelected(QString)));
    m_session->hand.expect(ModalHand::push(QStringLiteral("sensorToPc")));
    // However long the warning stays open, no watchdog may fire behind it.
    bool watchdogBehindWarning = true;
    m_session->hand.expect([this, &watchdogBehindWarning](QDialog *box) {
        watchdogBehindWarning = data().watchdogTimer.isActive();
        ModalHand::click(QMessageBox::Ok)(box);
    });
    choosePort(simulatedPortIndex);
    QVERIFY(!watchdogBehindWarning);

    QCOMPARE(m_session->hand.boxesSeen().value(1), mismatchBox);
    QCOMPARE(countOf(m_session->logAtRelease, identitySetup), 10);
    QCOMPARE(countOf(m_session->logAtRelease, QByteArray::fromHex("027327")), 10);
    QCOMPARE(countOf(m_session->logAtRelease, probe), 1 + 10);
    QVERIFY(!window().sensorConnected);
    QVERIFY(!indicatorOn());
    QCOMPARE(data().portCombo->currentIndex(), 0);
    QCOMPARE(window().windowTitle(),
             QString::fromStdString(m_sensor.name()) + QStringLiteral(" (Offline)"));
    QCOMPARE(selections.last().first().toString(), QString());
    QTRY_VERIFY(!m_master);
}

void tst_ConnectionWorkflow::silentMasterFailsAfterFiveProbes()
{
    m_faults.dropEvery = 1;
    m_session->hand.expect(ModalHand::push(QStringLiteral("sensorToPc")));
    m_session->hand.expect(ModalHand::click(QMessageBox::Ok));
    choosePort(simulatedPortIndex);

    QCOMPARE(m_session->hand.boxesSeen().value(1), mismatchBox);
    QCOMPARE(m_session->logAtRelease, QList<QByteArray>({probe, probe, probe, probe, probe}));
    QVERIFY(!indicatorOn());
    QCOMPARE(data().portCombo->currentIndex(), 0);
}

void tst_ConnectionWorkflow::withoutConnectionObjectTheAttemptFailsSilently()
{
    bool connected = true;
    QVERIFY(
        QMetaObject::invokeMethod(&window(), "bConnectToSensor", Q_RETURN_ARG(bool, connected)));
    QVERIFY(!connected);
    QVERIFY(m_session->hand.boxesSeen().isEmpty());
}

void tst_ConnectionWorkflow::watchdogGivesUpAfterElevenChecks()
{
    connectSensorToPc();
    Kr7dSim::FaultSettings silent;
    silent.dropEvery = 1;
    m_master->simulator().setFaults(silent);
    m_master->clearQueryLog();
    QSignalSpy selections(&window(), SIGNAL(vComPortSelected(QString)));
    m_session->hand.expect(ModalHand::click(QMessageBox::Ok));
    QVERIFY(QMetaObject::invokeMethod(&window(), "slotContinousDataTimeout"));

    QCOMPARE(m_session->hand.boxesSeen().value(1), silentSensorBox);
    QCOMPARE(countOf(m_session->logAtRelease, identitySetup), 11);
    QCOMPARE(data().portCombo->currentIndex(), 0);
    QCOMPARE(data().activePortIndex, 0);
    QVERIFY(!indicatorOn());
    QVERIFY(!window().form()->sensorOperationsToolbar->isEnabled());
    QVERIFY(!window().form()->outuptsComboToolBar->isEnabled());
    QVERIFY(!data().watchdogTimer.isActive());
    QCOMPARE(selections.size(), 1);
    QCOMPARE(selections.first().first().toString(), QString());
    QTRY_VERIFY(!m_master);
}

void tst_ConnectionWorkflow::watchdogCheckThatPassesChangesNothing()
{
    connectSensorToPc();
    m_master->clearQueryLog();
    data().watchdogTimer.stop();
    QVERIFY(QMetaObject::invokeMethod(&window(), "slotContinousDataTimeout"));
    QCOMPARE(countOf(m_master->queryLog(), identitySetup), 1);
    QVERIFY(indicatorOn());
    QVERIFY(data().watchdogTimer.isActive());
    QCOMPARE(data().portCombo->currentIndex(), simulatedPortIndex);
}

void tst_ConnectionWorkflow::watchdogWhileOfflineShowsNothing()
{
    data().watchdogTimer.start();
    QVERIFY(QMetaObject::invokeMethod(&window(), "slotContinousDataTimeout"));
    QVERIFY(!data().watchdogTimer.isActive());
    QVERIFY(m_session->hand.boxesSeen().isEmpty());
}

void tst_ConnectionWorkflow::choosingOfflineReleasesTheConnection()
{
    connectSensorToPc();
    QSignalSpy selections(&window(), SIGNAL(vComPortSelected(QString)));
    choosePort(0);

    QCOMPARE(selections.size(), 1);
    QCOMPARE(selections.first().first().toString(), QString());
    QVERIFY(!indicatorOn());
    QVERIFY(!window().sensorConnected);
    QVERIFY(!window().form()->sensorOperationsToolbar->isEnabled());
    QVERIFY(window().form()->actionOpen_Settings->isEnabled());
    QVERIFY(!data().watchdogTimer.isActive());
    QVERIFY(!data().progressDialog.isVisible());
    QCOMPARE(data().activePortIndex, 0);
    QTRY_VERIFY(!m_master);
}

void tst_ConnectionWorkflow::readShowsAValueChangedInTheSensor()
{
    connectSensorToPc();
    m_master->simulator().setParameter(QStringLiteral("OnDelay1"), 4321);
    window().form()->actionRead->trigger();
    QCOMPARE(data().intManager->value(property("OnDelay1")), 4321);
    QVERIFY(data().decodeTextParameters);
    QCOMPARE(data().progressBar->maximum(), 430);
}

void tst_ConnectionWorkflow::failedAutoConnectLeavesLiveDataOn()
{
    m_session->object().vAutoConnect(QStringLiteral("NOT-LISTED"));
    QVERIFY(m_session->hand.boxesSeen().isEmpty());
    QVERIFY(!indicatorOn());
    QCOMPARE(data().portCombo->currentIndex(), 0);
    QVERIFY(!data().autoConnecting);
    QVERIFY(data().liveDataEnabled);
    QVERIFY(window().form()->actionEnable_live_data->isChecked());
}

QTEST_MAIN(tst_ConnectionWorkflow)
#include "tst_connectionworkflow.moc"
