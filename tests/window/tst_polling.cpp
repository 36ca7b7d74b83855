#include "devicetestkit.h"

#include <comm/fixedframes.h>
#include <comm/platformsleep.h>
#include <plugin/sensorcatalogue.h>
#include <plugin/sensorinterface.h>
#include <window/sensorwindow.h>
#include <window/sensorwindowdata.h>
#include <window/ui_sensorwindow.h>

#include <extensionsystem/connectionregistry.h>
#include <utils/connectionstatus.h>
#include <utils/genericchart.h>
#include <utils/valueovertime.h>

#include <QAction>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QToolBar>
#include <QTreeWidgetItem>
#include <QtTest>

using BravoSensorPlugin::Core::SensorInterface;
using BravoSensorPlugin::Core::SensorWindow;
using BravoSensorPlugin::Core::SensorWindowData;

namespace {

const QString simulatedPort = QStringLiteral("SIM-POLL");
const int simulatedPortIndex = 2; // "Offline", separator, then the simulated port
const QString silentSensorBox = QStringLiteral(
    "Connecting to sensor|The sensor did not respond, please make sure it is properly connected.");
const QString icons = QStringLiteral(":/newPrefix/icons/");

// The last sample of a plot: value and analog value.
QPair<double, double> lastSample(const Utils::ValueOverTime *history)
{
    const int last = history->size() - 1;
    return {history->pyData()[last], history->pAnalogData()[last]};
}

} // namespace

Q_DECLARE_METATYPE(Kr7dSim::FaultSettings)

class tst_Polling : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void answersReachPlotsAndRows_data();
    void answersReachPlotsAndRows();
    void liveDataOffShowsNothingButPollingGoesOn();
    void foreignCompletionLeavesThePendingPollAlone();
    void silentSensorIsGivenUpAtTheThirdMiss_data();
    void silentSensorIsGivenUpAtTheThirdMiss();
    void writeFlashesTheWriteIcon();

private:
    SensorWindow &window() { return *m_session->object().sensorWindow(); }
    SensorWindowData &data() { return *window().windowData(); }
    QString rowText(int row) { return data().processDataItems.at(row)->text(1); }
    QString rowIcon(int row)
    {
        return data().processDataItems.at(row)->data(1, Qt::UserRole).toString();
    }
    int plotSize(int plot) { return data().chart->getData(plot)->size(); }
    // Connects sensor to PC as a user would and waits for the first answered poll.
    void connectAndPoll();

    ExtensionSystem::SensorBasic m_sensor;
    std::unique_ptr<WindowSession> m_session;
    QPointer<Kr7dSim::SimulatedConnection> m_master; // owned by the connection registry
};

void tst_Polling::initTestCase()
{
    BravoSensorPlugin::Core::setPlatformSleepScale(0);
    m_sensor = BravoSensorPlugin::Core::buildSensorCatalogue().front();
    ExtensionSystem::ConnectionRegistry::instance().setFactory(
        [this](const ExtensionSystem::PortSettings &settings)
            -> std::unique_ptr<ExtensionSystem::CommunicationInterface> {
            std::unique_ptr<Kr7dSim::SimulatedConnection> master = simulatedMaster(
                QString::fromStdString(m_sensor.name()), QString(), settings.portName);
            m_master = master.get();
            return master;
        });
}

void tst_Polling::init()
{
    m_session = std::make_unique<WindowSession>(m_sensor, QStringList{simulatedPort}, m_master);
}

void tst_Polling::cleanup()
{
    const QString problems = m_session->boxProblems();
    m_session.reset();
    QVERIFY2(problems.isEmpty(), qPrintable(problems));
    QTRY_VERIFY(!m_master);
}

void tst_Polling::connectAndPoll()
{
    m_session->hand.expect(ModalHand::push(QStringLiteral("sensorToPc")));
    data().portCombo->setCurrentIndex(simulatedPortIndex);
    emit data().portCombo->activated(simulatedPortIndex);
    QVERIFY(data().connectionStatus->isConnected());
    // Polling starts once the update dialog has run out.
    data().progressBar->setValue(data().progressBar->maximum());
    QTRY_VERIFY(plotSize(1) > 0);
}

void tst_Polling::answersReachPlotsAndRows_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<double>("divisor");
    QTest::addColumn<int>("unitIndex");
    QTest::addColumn<int>("analogMode");
    QTest::addColumn<double>("analogPoint10"); // point 0 is 0
    QTest::addColumn<bool>("output2IsSwitching");
    QTest::addColumn<QList<double>>(
        "plotted"); // pressure, its analog value, temperature, its analog value
    QTest::addColumn<QStringList>("texts");    // rows 0..4
    QTest::addColumn<QStringList>("rowIcons"); // rows 0..2

    QTest::newRow("bar, volts, A1 on, signal too low")
        << "08402200ff380195" << 100.0 << 0 << 0 << 10.0 << true
        << QList<double>{-2.0, -2.0, 2.5, 2.5}
        << QStringList{"On", "Off", "Signal too low", "  2.5", "  -2"}
        << QStringList{icons + "led_state_2_1.svg", icons + "led_state_1_2.svg",
                       icons + "!_galben_cerc_negru_mare.svg"};
    QTest::newRow("bar, milliamperes, all bits clear")
        << "03e8fff0" << 1000.0 << 0 << 1 << 10.0 << true << QList<double>{1.0, 5.6, 409.5, 659.2}
        << QStringList{"Off", "Off", "OK", "  409.5", "  1"}
        << QStringList{icons + "led_state_1_1.svg", icons + "led_state_1_2.svg",
                       icons + "Check_box_galben_Negru_mare.svg"};
    QTest::newRow("psi and Fahrenheit, A2 not switching")
        << "ff380196" << 100.0 << 5 << 0 << 100.0 << false
        << QList<double>{-29.008, -2.9008, 36.5, 3.65}
        << QStringList{"Off", " ", "Signal too low", "  36.5", "  -29.008"}
        << QStringList{icons + "led_state_1_1.svg", icons + "led_state_0.svg",
                       icons + "!_galben_cerc_negru_mare.svg"};
}

void tst_Polling::answersReachPlotsAndRows()
{
    QFETCH(QString, answer);
    QFETCH(double, divisor);
    QFETCH(int, unitIndex);
    QFETCH(int, analogMode);
    QFETCH(double, analogPoint10);
    QFETCH(bool, output2IsSwitching);
    QFETCH(QList<double>, plotted);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, rowIcons);
    connectAndPoll();
    data().pressureDivisor = divisor;
    data().unitIndex = unitIndex;
    data().analogMode = analogMode;
    data().analogPoint0 = 0.0;
    data().analogPoint10 = analogPoint10;
    data().output2IsSwitching = output2IsSwitching;

    // No poll can complete in between: the event loop does not run.
    window().vUpdateProcessData(answer);
    const QPair<double, double> pressure = lastSample(data().chart->getData(0));
    const QPair<double, double> temperature = lastSample(data().chart->getData(1));
    const QList<double> samples{pressure.first, pressure.second, temperature.first,
                                temperature.second};
    for (int value = 0; value < samples.size(); ++value)
        QCOMPARE(samples.at(value), plotted.at(value));
    for (int row = 0; row < texts.size(); ++row)
        QCOMPARE(rowText(row), texts.at(row));
    for (int row = 0; row < rowIcons.size(); ++row)
        QCOMPARE(rowIcon(row), rowIcons.at(row));
}

void tst_Polling::liveDataOffShowsNothingButPollingGoesOn()
{
    connectAndPoll();
    window().form()->actionEnable_live_data->trigger();
    QVERIFY(!data().liveDataEnabled);
    window().form()->chartToolbar->setEnabled(false);
    const QList<int> sizes{plotSize(0), plotSize(1)};
    QStringList texts;
    for (int row = 0; row < 5; ++row)
        texts << rowText(row);
    m_master->clearQueryLog();

    QTRY_VERIFY(countOf(m_master->queryLog(), BravoSensorPlugin::Core::processDataFrame()) >= 3);
    QVERIFY(window().form()->chartToolbar->isEnabled());
    QCOMPARE(QList<int>({plotSize(0), plotSize(1)}), sizes);
    for (int row = 0; row < 5; ++row)
        QCOMPARE(rowText(row), texts.at(row));
}

void tst_Polling::foreignCompletionLeavesThePendingPollAlone()
{
    connectAndPoll();
    QTRY_COMPARE(data().pendingPollId, 0u);
    data().pollTimer.stop();
    m_master->clearQueryLog();

    QVERIFY(QMetaObject::invokeMethod(&window(), "queryStatusData", Q_ARG(unsigned int, 0)));
    const unsigned int pending = data().pendingPollId;
    QVERIFY(pending != 0);
    // A second start while one is in flight sends nothing.
    QVERIFY(QMetaObject::invokeMethod(&window(), "queryStatusData", Q_ARG(unsigned int, 0)));
    QVERIFY(
        QMetaObject::invokeMethod(&window(), "queryStatusData", Q_ARG(unsigned int, pending + 1)));
    QCOMPARE(data().pendingPollId, pending);
    QCOMPARE(int(data().pendingPolls.count(pending)), 1);
    QCOMPARE(m_master->iPendingTransfers(), 1);

    // The chain goes on from the real completion.
    QTRY_VERIFY(countOf(m_master->queryLog(), BravoSensorPlugin::Core::processDataFrame()) >= 2);
}

void tst_Polling::silentSensorIsGivenUpAtTheThirdMiss_data()
{
    QTest::addColumn<Kr7dSim::FaultSettings>("faults");
    Kr7dSim::FaultSettings unplugged;
    unplugged.unplugAfterMs = 0;
    Kr7dSim::FaultSettings dropped;
    dropped.dropEvery = 1;
    Kr7dSim::FaultSettings corrupted;
    corrupted.corruptEvery = 1;
    Kr7dSim::FaultSettings late;
    late.latencyMs = 2100;
    QTest::newRow("cable pulled") << unplugged;
    QTest::newRow("answers dropped") << dropped;
    QTest::newRow("answers corrupted") << corrupted;
    QTest::newRow("answers after the time-out") << late;
}

void tst_Polling::silentSensorIsGivenUpAtTheThirdMiss()
{
    QFETCH(Kr7dSim::FaultSettings, faults);
    connectAndPoll();
    m_session->hand.expect(ModalHand::click(QMessageBox::Ok));
    m_master->clearQueryLog();
    m_master->simulator().setFaults(faults);

    QTRY_VERIFY(!m_master);
    QTRY_VERIFY(m_session->hand.allAnswered());
    QCOMPARE(m_session->hand.boxesSeen(),
             QStringList({QStringLiteral("connectionSwitchingDialog"), silentSensorBox}));
    const QByteArray poll = BravoSensorPlugin::Core::processDataFrame();
    QCOMPARE(m_session->logAtRelease, QList<QByteArray>({poll, poll, poll}));
    QCOMPARE(data().portCombo->currentIndex(), 0);
    QVERIFY(!data().connectionStatus->isConnected());
    QVERIFY(!window().form()->sensorOperationsToolbar->isEnabled());
    QVERIFY(!data().watchdogTimer.isActive());
    QVERIFY(!data().pollTimer.isActive());
    QCOMPARE(data().pendingPollId, 0u);
}

void tst_Polling::writeFlashesTheWriteIcon()
{
    connectAndPoll();
    const auto shows = [this](const char *icon) {
        const QImage expected = QIcon(QLatin1String(icon)).pixmap(16).toImage();
        return window().form()->actionWriting->icon().pixmap(16).toImage() == expected;
    };
    QVERIFY(shows(":/icons/icons/schreiben.svg"));
    QVERIFY(QMetaObject::invokeMethod(&window(), "vWriteAllSettings", Q_ARG(bool, false)));
    QVERIFY(data().writeModeIconTimer.isActive());
    QVERIFY(shows(":/icons/icons/schreiben2cerc.svg"));
    QTRY_VERIFY_WITH_TIMEOUT(shows(":/icons/icons/schreiben.svg"), 2000);
}

QTEST_MAIN(tst_Polling)
#include "tst_polling.moc"
