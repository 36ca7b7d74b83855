#include "devicetestkit.h"

#include <comm/platformsleep.h>
#include <plugin/sensorcatalogue.h>
#include <plugin/sensorinterface.h>
#include <window/sensorwindow.h>
#include <window/sensorwindowdata.h>
#include <window/ui_sensorwindow.h>

#include <extensionsystem/connectionregistry.h>
#include <propertybrowser/qtproperty.h>
#include <utils/connectionstatus.h>

#include <QAction>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QtTest>

using BravoSensorPlugin::Core::SensorInterface;
using BravoSensorPlugin::Core::SensorWindow;

namespace {

const QString faultyPort = QStringLiteral("SIM-FAULTS");
const int faultyPortIndex = 2;

const QString mismatchBox = QStringLiteral("Connecting to sensor...|The connected sensor does not "
                                           "match currently selected sensor, please try again with "
                                           "the proper sensor");
const QString silentSensorBox = QStringLiteral(
    "Connecting to sensor|The sensor did not respond, please make sure it is properly connected.");

enum class Phase { Connecting, ReadAll, WriteAll };
enum class Outcome { Connected, Offline };

// Every parameter value of the window, by id.
QMap<QString, QString> valuesOf(SensorWindow &window)
{
    QMap<QString, QString> values;
    const QList<QtProperty *> properties
        = window.allSubProperties(window.windowData()->rootProperty);
    for (QtProperty *property : properties)
        values.insert(property->propertyId(), property->valueText());
    return values;
}

} // namespace

Q_DECLARE_METATYPE(Kr7dSim::FaultSettings)
Q_DECLARE_METATYPE(Phase)
Q_DECLARE_METATYPE(Outcome)

// Faults of the master (lost, damaged and late answers, unplugging at chosen requests) while the
// window connects, reads all or writes all: each cell ends connected with values the sensor gave,
// or offline with the description's message, and idle.
class tst_FaultMatrix : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void everyFaultEndsConnectedOrOffline_data();
    void everyFaultEndsConnectedOrOffline();

private:
    void openWindow();
    // Through the port list, Sensor -> PC; a refused attempt ends with a warning to acknowledge.
    void connectSensorToPc(bool refused = false);
    void setFaults(const Kr7dSim::FaultSettings &faults);
    SensorWindow &window() { return *m_object->sensorWindow(); }
    bool connected() { return window().windowData()->connectionStatus->isConnected(); }

    ExtensionSystem::SensorBasic m_sensor;
    std::unique_ptr<QMdiSubWindow> m_subWindow;
    std::unique_ptr<SensorInterface> m_object;
    std::unique_ptr<ModalHand> m_hand;
    QPointer<Kr7dSim::SimulatedConnection> m_master; // owned by the connection registry
    std::optional<Kr7dSim::FaultSettings> m_faultsAtConnect;
    // What a read gives with every answer, and with none.
    QMap<QString, QString> m_sensorValues;
    QMap<QString, QString> m_unansweredValues;
};

void tst_FaultMatrix::initTestCase()
{
    BravoSensorPlugin::Core::setPlatformSleepScale(0.01);
    m_sensor = BravoSensorPlugin::Core::buildSensorCatalogue().front();
    ExtensionSystem::ConnectionRegistry::instance().setFactory(
        [this](const ExtensionSystem::PortSettings &settings)
            -> std::unique_ptr<ExtensionSystem::CommunicationInterface> {
            if (settings.portName != faultyPort)
                return nullptr;
            auto master = simulatedMaster(QString::fromStdString(m_sensor.name()), QString(),
                                          settings.portName);
            // Time is counted in requests, so that the master unplugs at a chosen frame.
            Kr7dSim::MasterSimulator *simulator = &master->simulator();
            simulator->setClock([simulator] { return qint64(simulator->counters().requestsSeen); });
            if (m_faultsAtConnect)
                simulator->setFaults(*m_faultsAtConnect);
            m_master = master.get();
            return master;
        });

    openWindow();
    connectSensorToPc();
    m_sensorValues = valuesOf(window());
    Kr7dSim::FaultSettings silent;
    silent.dropEvery = 1;
    setFaults(silent);
    window().readAllParameters();
    m_unansweredValues = valuesOf(window());
    QVERIFY(m_sensorValues != m_unansweredValues);
    cleanup();
}

void tst_FaultMatrix::cleanup()
{
    m_object.reset();
    m_subWindow.reset();
    m_hand.reset();
    m_faultsAtConnect.reset();
    QTRY_VERIFY(!m_master);
}

void tst_FaultMatrix::openWindow()
{
    m_hand = std::make_unique<ModalHand>();
    m_subWindow = std::make_unique<QMdiSubWindow>();
    m_object = std::make_unique<SensorInterface>(&m_sensor, m_subWindow.get());
    m_object->vAvailablePortsUpdated({faultyPort});
}

void tst_FaultMatrix::connectSensorToPc(bool refused)
{
    m_hand->expect(ModalHand::push(QStringLiteral("sensorToPc")));
    if (refused)
        m_hand->expect(ModalHand::click(QMessageBox::Ok));
    window().windowData()->portCombo->setCurrentIndex(faultyPortIndex);
    emit window().windowData()->portCombo->activated(faultyPortIndex);
}

void tst_FaultMatrix::setFaults(const Kr7dSim::FaultSettings &faults)
{
    QVERIFY(m_master);
    m_master->simulator().setFaults(faults);
}

void tst_FaultMatrix::everyFaultEndsConnectedOrOffline_data()
{
    QTest::addColumn<Phase>("phase");
    QTest::addColumn<Kr7dSim::FaultSettings>("faults");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("message");

    const auto fault
        = [](int dropEvery, int corruptEvery, int latencyMs, qint64 unplugAfterRequests) {
              Kr7dSim::FaultSettings faults;
              faults.dropEvery = dropEvery;
              faults.corruptEvery = corruptEvery;
              faults.latencyMs = latencyMs;
              faults.unplugAfterMs = unplugAfterRequests;
              return faults;
          };
    // Answers later than the 2000 ms of a record are lost.
    const Kr7dSim::FaultSettings drop = fault(5, 0, 0, -1), corrupt = fault(0, 5, 0, -1),
                                 late = fault(0, 0, 2500, -1), unplugAtOnce = fault(0, 0, 0, 0);
    QTest::newRow("connecting, drop")
        << Phase::Connecting << drop << Outcome::Connected << QString();
    QTest::newRow("connecting, corrupt")
        << Phase::Connecting << corrupt << Outcome::Connected << QString();
    QTest::newRow("connecting, late")
        << Phase::Connecting << late << Outcome::Offline << mismatchBox;
    QTest::newRow("connecting, unplug at once")
        << Phase::Connecting << unplugAtOnce << Outcome::Offline << mismatchBox;
    QTest::newRow("connecting, unplug in the identity check")
        << Phase::Connecting << fault(0, 0, 0, 4) << Outcome::Offline << mismatchBox;
    QTest::newRow("connecting, unplug in the read after it")
        << Phase::Connecting << fault(0, 0, 0, 60) << Outcome::Offline << silentSensorBox;
    for (const Phase phase : {Phase::ReadAll, Phase::WriteAll}) {
        const char *name = phase == Phase::ReadAll ? "read-all" : "write-all";
        QTest::addRow("%s, drop", name) << phase << drop << Outcome::Connected << QString();
        QTest::addRow("%s, corrupt", name) << phase << corrupt << Outcome::Connected << QString();
        QTest::addRow("%s, late", name) << phase << late << Outcome::Offline << silentSensorBox;
        QTest::addRow("%s, unplug at once", name)
            << phase << unplugAtOnce << Outcome::Offline << silentSensorBox;
        QTest::addRow("%s, unplug early", name)
            << phase << fault(0, 0, 0, 10) << Outcome::Offline << silentSensorBox;
        QTest::addRow("%s, unplug midway", name)
            << phase << fault(0, 0, 0, 60) << Outcome::Offline << silentSensorBox;
    }
}

void tst_FaultMatrix::everyFaultEndsConnectedOrOffline()
{
    QFETCH(Phase, phase);
    QFETCH(Kr7dSim::FaultSettings, faults);
    QFETCH(Outcome, outcome);
    QFETCH(QString, message);

    if (phase == Phase::Connecting)
        m_faultsAtConnect = faults;
    openWindow();
    // Frames sent, counted until the master goes with its released connection.
    int frames = 0;
    const auto count = [&] {
        if (m_master)
            frames = m_master->queryLog().size();
    };
    connect(&window(), &SensorWindow::vComPortSelected, this, count);
    QElapsedTimer clock;
    clock.start();
    connectSensorToPc(message == mismatchBox);
    QMap<QString, QString> before;
    if (phase != Phase::Connecting) {
        QVERIFY(connected());
        before = valuesOf(window());
        setFaults(faults);
        // Live polling goes on between the sequence's frames and may find the silence first.
        if (message == silentSensorBox)
            m_hand->expect(ModalHand::click(QMessageBox::Ok));
        QAction *action = phase == Phase::ReadAll ? window().form()->actionRead
                                                  : window().form()->actionWriting;
        action->trigger();
    }
    // The watchdog's period passes: a sensor that no longer answers is found out.
    if (connected()) {
        if (message == silentSensorBox && phase == Phase::Connecting)
            m_hand->expect(ModalHand::click(QMessageBox::Ok));
        QVERIFY(QMetaObject::invokeMethod(&window(), "slotContinousDataTimeout"));
    }
    count();
    // Each unanswered record waits out its time-out (2000 ms, scaled to 20 ms), answered ones far
    // less.
    const qint64 idleAfter = clock.elapsed();
    QVERIFY(m_hand->allAnswered());
    QVERIFY2(idleAfter < 2000 + 25 * qint64(frames),
             qPrintable(QStringLiteral("%1 ms for %2 frames").arg(idleAfter).arg(frames)));

    QCOMPARE(connected(), outcome == Outcome::Connected);
    QVERIFY(m_hand->unexpected().isEmpty());
    if (outcome == Outcome::Offline) {
        QCOMPARE(m_hand->boxesSeen().last(), message);
        QCOMPARE(window().windowData()->portCombo->currentIndex(), 0);
        return;
    }
    const QMap<QString, QString> values = valuesOf(window());
    for (auto value = values.cbegin(); value != values.cend(); ++value) {
        const QString &id = value.key();
        if (phase == Phase::WriteAll)
            QCOMPARE(value.value(), before.value(id));
        else
            QVERIFY2(value.value() == m_sensorValues.value(id)
                         || value.value() == m_unansweredValues.value(id),
                     qPrintable(id + QLatin1String(": ") + value.value()));
    }
}

QTEST_MAIN(tst_FaultMatrix)
#include "tst_faultmatrix.moc"
