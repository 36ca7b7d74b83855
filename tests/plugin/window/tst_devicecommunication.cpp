#include <support/devicetestkit.h>

#include <comm/fixedframes.h>
#include <comm/platformsleep.h>
#include <model/parameterids.h>
#include <model/valuerules.h>
#include <plugin/sensorcatalogue.h>
#include <window/ui_sensorwindow.h>

#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qtpropertymanager.h>
#include <propertybrowser/qttreepropertybrowser.h>
#include <utils/connectionstatus.h>
#include <utils/fiberrunner.h>
#include <utils/genericchart.h>
#include <utils/progressbarui.h>
#include <utils/thresholdwindowwidget.h>
#include <utils/valueovertime.h>

#include <QAction>
#include <QGridLayout>
#include <QProgressBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTreeWidgetItem>
#include <QtTest>

#include <array>
#include <functional>

using BravoSensorPlugin::Core::SensorWindow;
using BravoSensorPlugin::Core::SensorWindowData;
namespace ParameterIds = BravoSensorPlugin::Core::ParameterIds;

namespace {

const QString simulatedPort = QStringLiteral("SIM-TEST");
const QString mismatchBox = QStringLiteral("Connecting to sensor...|The connected sensor does not "
                                           "match currently selected sensor, please try again with "
                                           "the proper sensor");
const QByteArray identitySetup = QByteArray::fromHex("0473110903");
const QByteArray probe = QByteArray::fromHex("03511201");

QList<QByteArray> frames(const QStringList &hexFrames)
{
    QList<QByteArray> list;
    for (const QString &frame : hexFrames)
        list << QByteArray::fromHex(frame.toLatin1());
    return list;
}

QList<QByteArray> queriesOf(const ScriptedConnection &connection)
{
    QList<QByteArray> queries;
    for (const auto &record : connection.records())
        queries << QByteArray::fromStdString(record.query);
    return queries;
}

// "index;subIndex" of a read or write frame.
QString addressOf(const QByteArray &frame)
{
    const int index = quint8(frame.at(3)) | quint8(frame.at(4)) << 8;
    return QString::number(index) + QLatin1Char(';') + QString::number(quint8(frame.at(5)));
}

// Latency in ms, then every how many answers one is lost, one damaged, unplugged after ms.
using Faults = Kr7dSim::FaultSettings;

} // namespace

Q_DECLARE_METATYPE(QList<ModalHand::Answer>)
Q_DECLARE_METATYPE(Kr7dSim::FaultSettings)

// The window's frames, sequences, connection workflow and polling, driven as the host and the
// user drive it, against scripted masters and simulated ones the connection registry hands out.
class tst_DeviceCommunication : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void answersDecideSendRequestAndProbe_data();
    void answersDecideSendRequestAndProbe();
    void waitIndicationOnlyWhileTransfersMayShowIt_data();
    void waitIndicationOnlyWhileTransfersMayShowIt();
    void aDeletedConnectionEndsTheWait();
    void identitySequenceWaitsForTheSerialLine_data();
    void identitySequenceWaitsForTheSerialLine();
    void decoding_data();
    void decoding();
    void writeFrames_data();
    void writeFrames();
    void writeAllStoresEverythingButReadOnlyAndTeach();
    void factoryReset_data();
    void factoryReset();
    void updateDialogEndsThenFinishesTheConnection_data();
    void updateDialogEndsThenFinishesTheConnection();
    void framesKeepTheirSpacingWhileAnotherWindowRuns_data();
    void framesKeepTheirSpacingWhileAnotherWindowRuns();
    void sequenceEndsAtOnceWhenItsWaitIsCutShort_data();
    void sequenceEndsAtOnceWhenItsWaitIsCutShort();
    void leavingTheDialogsChangesNothing_data();
    void leavingTheDialogsChangesNothing();
    void sensorToPcConnectsReadsThenGoesOffline();
    void pcToSensorWritesThenReadsBack();
    void sensorIsGivenUpWhenItDoesNotAnswer_data();
    void sensorIsGivenUpWhenItDoesNotAnswer();
    void offlineAttemptsFailSilently();
    void answersReachPlotsAndRows_data();
    void answersReachPlotsAndRows();
    void pollingGoesOnWithLiveDataOffAndOnePollAtATime();
    void everyPointIsStoredInBarAndCelsius_data();
    void everyPointIsStoredInBarAndCelsius();
    void marksEqualTheirPoints_data();
    void marksEqualTheirPoints();
    void pendingEditGoesOutBeforeTheNextSequence_data();
    void pendingEditGoesOutBeforeTheNextSequence();
    void editInsideASequenceIsWrittenAfterIt_data();
    void editInsideASequenceIsWrittenAfterIt();
    void actionStartedInsideASequenceRunsAfterIt_data();
    void actionStartedInsideASequenceRunsAfterIt();

private:
    SensorWindow &window() { return m_session->window(); }
    SensorWindowData &data() { return *window().windowData(); }
    QtProperty *property(const char *id) { return window().findProperty(data().rootProperty, id); }
    ModalHand &hand() { return m_session->hand; }
    bool indicatorOn() { return data().connectionStatus->isConnected(); }
    // Connected, the master's log cleared, and no polling.
    void connectQuietly();
    // Connected, and the first poll answered once the update dialog has run out.
    void connectAndPoll();
    // Connected quietly, an edit of OnDelay1 waiting with its send delay stopped.
    void connectWithAnEditWaiting();
    int plotSize(int plot) { return data().chart->getData(plot)->size(); }
    // Rows 0..4 as shown, each followed by the name of its icon if it has one.
    QStringList rowTexts();
    // Every way of going offline leaves the port, the indicator, the operations and the watchdog so.
    void verifyOffline();
    QStringList idsOf(const QList<QByteArray> &log, quint8 command) const;
    QStringList allIds() const;
    // What a user or a timer starts: "Read", "Write", "Offline", "bOpenSettings" (of the window's
    // own file), "dropMark" (a mark let go on the pressure plot) or a slot of the window.
    void start(const QString &what);
    // The window's own values saved, then opened again and confirmed.
    void openOwnSettings();
    // What the simulated sensor stores for a double, in bar or °C.
    double stored(const char *id);

    ExtensionSystem::SensorBasic m_sensor = BravoSensorPlugin::Core::buildSensorCatalogue().front();
    SimulatedPort m_port{simulatedPort, m_sensor};
    QPointer<Kr7dSim::SimulatedConnection> &m_master = m_port.master;
    std::unique_ptr<WindowSession> m_session;
    QMap<QString, QString> m_ids; // "index;subIndex" -> parameter id
};

void tst_DeviceCommunication::initTestCase()
{
    BravoSensorPlugin::Core::setPlatformSleepScale(0);
    init();
    // Where each parameter lives, as the window's own reads address it.
    ScriptedConnection echo([](const QByteArray &query) { return query; });
    window().setConnection(&echo);
    for (QtProperty *parameter : window().allSubProperties(data().rootProperty)) {
        if (parameter->propertyManager() == data().groupManager)
            continue;
        const int sent = int(echo.records().size());
        window().readParameter(parameter->propertyId(), false);
        m_ids.insert(addressOf(queriesOf(echo).value(sent)), parameter->propertyId());
    }
    m_session.reset();
}

void tst_DeviceCommunication::init()
{
    m_port.reset();
    m_session = std::make_unique<WindowSession>(m_sensor, QStringList{simulatedPort}, m_master);
}

void tst_DeviceCommunication::cleanup()
{
    const QString problems = m_session->boxProblems();
    m_session.reset();
    BravoSensorPlugin::Core::setPlatformSleepScale(0);
    QVERIFY2(problems.isEmpty(), qPrintable(problems));
    QTRY_VERIFY(!m_master);
}

void tst_DeviceCommunication::connectQuietly()
{
    m_session->connectSensorToPc();
    data().pollTimer.stop();
    m_master->clearQueryLog();
}

void tst_DeviceCommunication::connectWithAnEditWaiting()
{
    connectQuietly();
    edit(property("OnDelay1"), 1200);
    window().sendDelayTimer()->stop();
}

void tst_DeviceCommunication::connectAndPoll()
{
    m_session->connectSensorToPc();
    data().progressBar->setValue(data().progressBar->maximum());
    QTRY_VERIFY(plotSize(1) > 0);
}

QStringList tst_DeviceCommunication::rowTexts()
{
    QStringList texts;
    for (int row = 0; row < 5; ++row) {
        const QTreeWidgetItem *item = data().processDataItems.at(row);
        QString icon = item->data(1, Qt::UserRole).toString();
        icon.remove(QStringLiteral(":/newPrefix/icons/")).remove(QStringLiteral(".svg"));
        texts << (icon.isEmpty() ? item->text(1) : item->text(1) + QLatin1Char(' ') + icon);
    }
    return texts;
}

void tst_DeviceCommunication::verifyOffline()
{
    QCOMPARE(data().portCombo->currentIndex(), 0);
    QCOMPARE(data().activePortIndex, 0);
    QVERIFY(!indicatorOn());
    QVERIFY(!window().isSensorConnected());
    QVERIFY(!window().form()->sensorOperationsToolbar->isEnabled());
    QVERIFY(!data().watchdogTimer.isActive());
}

QStringList tst_DeviceCommunication::idsOf(const QList<QByteArray> &log, quint8 command) const
{
    QStringList ids;
    for (const QByteArray &frame : withCommand(log, command))
        ids << m_ids.value(addressOf(frame));
    return ids;
}

double tst_DeviceCommunication::stored(const char *id)
{
    const QString name = QLatin1String(id);
    return BravoSensorPlugin::Core::decodeDeviceDouble(
        name, m_master->simulator().parameter(name).toInt(), data().pressureDivisor);
}

void tst_DeviceCommunication::start(const QString &what)
{
    if (what == QLatin1String("Read"))
        window().form()->actionRead->trigger();
    else if (what == QLatin1String("Write"))
        window().form()->actionWriting->trigger();
    else if (what == QLatin1String("Offline"))
        emit data().portCombo->activated(0);
    else if (what == QLatin1String("readParameter"))
        window().readParameter(QStringLiteral("OnDelay1"), false);
    else if (what == QLatin1String("bFactoryResetSequence"))
        window().bFactoryResetSequence();
    else if (what == QLatin1String("dropMark"))
        emit data().thresholdWidgets.at(BravoSensorPlugin::Core::pressurePlot)
            ->emitValueChanged(Utils::ThresholdWindowWidget::LowerMark, 1.0);
    else if (what == QLatin1String("bOpenSettings"))
        openOwnSettings();
    else
        QVERIFY(QMetaObject::invokeMethod(&window(), what.toLatin1()));
}

void tst_DeviceCommunication::openOwnSettings()
{
    const QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("own.tgs"));
    QVERIFY(window().saveSettingsFile(file));
    hand().expect(ModalHand::click(QMessageBox::Ok));
    window().bOpenSettings(file);
}

QStringList tst_DeviceCommunication::allIds() const
{
    QStringList ids = m_ids.values();
    std::sort(ids.begin(), ids.end());
    return ids;
}

void tst_DeviceCommunication::answersDecideSendRequestAndProbe_data()
{
    QTest::addColumn<QByteArray>("answer"); // none: unanswered
    QTest::addColumn<bool>("sent");
    QTest::addColumn<bool>("probed");
    QTest::newRow("four bytes") << QByteArray::fromHex("03501200") << true << true;
    QTest::newRow("three bytes") << QByteArray::fromHex("025012") << true << false;
    QTest::newRow("five bytes") << QByteArray::fromHex("0450120000") << true << false;
    // What the master answers to a damaged frame; the plain request hands it back.
    QTest::newRow("error") << QByteArray("\x06\x40"
                                         "ERROR")
                           << false << false;
    QTest::newRow("none") << QByteArray() << false << false;
}

void tst_DeviceCommunication::answersDecideSendRequestAndProbe()
{
    QFETCH(QByteArray, answer);
    ScriptedConnection connection([answer](const QByteArray &) -> std::optional<QByteArray> {
        return answer.isEmpty() ? std::nullopt : std::optional<QByteArray>(answer);
    });
    window().setConnection(&connection);
    QTEST(window().bSendFrame(QByteArray::fromHex("027022"), false), "sent");
    QCOMPARE(window().requestAnswer(QByteArray::fromHex("027327")), answer);
    bool probed = false;
    QVERIFY(QMetaObject::invokeMethod(&window(), "bCheckConnection", Q_RETURN_ARG(bool, probed)));
    QTEST(probed, "probed");
    QCOMPARE(queriesOf(connection), frames({"027022", "027327", "03511201"}));
}

void tst_DeviceCommunication::waitIndicationOnlyWhileTransfersMayShowIt_data()
{
    QTest::addColumn<bool>("showUi");
    QTest::addColumn<bool>("showTransferUi");
    QTest::addColumn<bool>("shown");
    QTest::newRow("asked and allowed") << true << true << true;
    QTest::newRow("asked while the update dialog shows") << true << false << false;
    QTest::newRow("not asked") << false << true << false;
}

void tst_DeviceCommunication::waitIndicationOnlyWhileTransfersMayShowIt()
{
    QFETCH(bool, showUi);
    QFETCH(bool, showTransferUi);
    QFETCH(bool, shown);
    ScriptedConnection connection([](const QByteArray &query) { return query; });
    bool waitCursor = false;
    bool indicator = false;
    connection.setWhileInFlight([&] {
        waitCursor = QApplication::overrideCursor()
                     && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        const auto waits = window().findChildren<Utils::ProgressBarUi *>();
        indicator = !waits.isEmpty() && waits.last()->isUiVisible();
    });
    window().setConnection(&connection);
    data().showTransferUi = showTransferUi;
    QVERIFY(window().bSendFrame(QByteArray::fromHex("027022"), showUi));

    QCOMPARE(waitCursor, shown);
    QCOMPARE(indicator, shown);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    // Each transfer's wait is released once control is back in the event loop.
    QTRY_VERIFY(window().findChildren<Utils::ProgressBarUi *>().isEmpty());
}

void tst_DeviceCommunication::aDeletedConnectionEndsTheWait()
{
    auto *deleted = new ScriptedConnection([](const QByteArray &query) { return query; });
    deleted->holdTransfers();
    window().setConnection(deleted);
    QTimer::singleShot(0, deleted, &QObject::deleteLater);
    QVERIFY(!window().bSendFrame(QByteArray::fromHex("027022"), false));
    QVERIFY(!data().connection);
}

void tst_DeviceCommunication::identitySequenceWaitsForTheSerialLine_data()
{
    QTest::addColumn<int>("sensor"); // in the catalogue
    QTest::addColumn<double>("fetchTimeoutMs");
    // linedelay + characterdelay x 3 + 2000
    QTest::newRow("KR7D-P025, no character delay") << 0 << 2005.0;
    QTest::newRow("KR7D-P600, with character delay") << 2 << 2013.0;
}

void tst_DeviceCommunication::identitySequenceWaitsForTheSerialLine()
{
    QFETCH(int, sensor);
    QFETCH(double, fetchTimeoutMs);
    const auto catalogue = BravoSensorPlugin::Core::buildSensorCatalogue();
    SensorWindow window(*std::next(catalogue.cbegin(), sensor));
    ScriptedConnection connection([](const QByteArray &query) { return query; });
    window.setConnection(&connection);
    window.bCheckSensorIdentity();

    QCOMPARE(queriesOf(connection), frames({"03511201", "0473110903", "027022", "03702103",
                                            "054626130000", "027022", "027022", "027327"}));
    const auto &records = connection.records();
    for (size_t i = 0; i + 1 < records.size(); ++i)
        QCOMPARE(records[i].timeoutMs, 2000.0);
    QCOMPARE(records.back().answerPattern, std::string());
    QCOMPARE(records.back().timeoutMs, fetchTimeoutMs);
}

void tst_DeviceCommunication::decoding_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("decodeText");
    QTest::addColumn<QString>("shown");
    const auto row
        = [](const char *id, const char *answer, const char *shown, bool decodeText = false) {
              QTest::newRow(shown) << QString::fromLatin1(id) << QByteArray::fromHex(answer)
                                   << decodeText << QString::fromUtf8(shown);
          };
    row("OnDelay1", "05002700012c", "300");
    row("ThresholdsPressure1A1", "05002700ff38", "-2.00");  // at the sensor's scale, signed
    row("ThresholdsPressure1A1", "050027007fff", "327.67"); // beyond the range it had
    row("ThresholdsTemp1A1", "0500270009c4", "25.000");
    row(ParameterIds::temperatureSettings, "0500270021",
        "psi / °F"); // Fahrenheit units come down by 0x1C
    row("ApplicationTag", "0d552700506e65756d6174696373", "Pneumatics", true);
    row("ApplicationTag", "0d552700506e65756d6174696373", "Hydraulics"); // texts left alone
}

void tst_DeviceCommunication::decoding()
{
    QFETCH(QString, id);
    QFETCH(QByteArray, answer);
    QFETCH(bool, decodeText);
    ScriptedConnection master(fetchAnswers(answer));
    window().setConnection(&master);
    data().pressureDivisor = 100.0;
    data().decodeTextParameters = decodeText;
    data().stringManager->setValue(property("ApplicationTag"), QStringLiteral("Hydraulics"));
    window().readParameter(id, false);
    QTEST(property(id.toLatin1())->valueText(), "shown");
}

void tst_DeviceCommunication::writeFrames_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("liveData");
    QTest::addColumn<QStringList>("sent");
    // Live data off unless the row says otherwise: fetch, write, process data.
    const auto row
        = [](const char *name, const char *id, const QVariant &value, const char *write) {
              QTest::newRow(name) << QString::fromLatin1(id) << value << true << false
                                  << QStringList({"027327", QString::fromLatin1(write), "027022"});
          };
    row("Fahrenheit units go up by 0x1C", ParameterIds::temperatureSettings, 5, "066e2440000021");
    row("pressure at the sensor's scale", "ThresholdsPressure1A1", 2.5, "074a244a000100fa");
    QTest::newRow("live data on: no process-data frame after it")
        << QString::fromLatin1(ParameterIds::temperatureSettings) << QVariant(2) << true << true
        << QStringList({"027327", "067a2440000002"});
    QTest::newRow("no sensor: nothing at all")
        << QString::fromLatin1(ParameterIds::temperatureSettings) << QVariant(2) << false << false
        << QStringList();
}

void tst_DeviceCommunication::writeFrames()
{
    QFETCH(QString, id);
    QFETCH(bool, connected);
    QFETCH(bool, liveData);
    QFETCH(QStringList, sent);
    const auto master = simulatedMaster(QString::fromStdString(m_sensor.name()));
    connectQuietly();
    if (!connected)
        QVERIFY(QMetaObject::invokeMethod(&window(), "vDisconnect"));
    window().setConnection(master.get());
    data().pressureDivisor = 100.0;
    data().liveDataEnabled = liveData;
    QFETCH(QVariant, value);
    edit(property(id.toLatin1()), value);
    QVERIFY(window().sendDelayTimer()->isActive());

    QVERIFY(QMetaObject::invokeMethod(&window(), "sendDelayValue"));
    QCOMPARE(master->queryLog(), frames(sent));
    QVERIFY(!window().sendDelayTimer()->isActive());
}

void tst_DeviceCommunication::writeAllStoresEverythingButReadOnlyAndTeach()
{
    connectQuietly();
    edit(property("OnDelay1"), 1500);
    window().form()->actionEnable_live_data->setChecked(true);
    data().liveDataEnabled = true;
    QtProperty *editable = property("OffDelay1");
    editable->setEnabled(false);
    window().sendDelayTimer()->stop();

    const auto shows = [this](const char *icon) {
        const QImage expected = QIcon(QLatin1String(icon)).pixmap(16).toImage();
        return window().form()->actionWriting->icon().pixmap(16).toImage() == expected;
    };
    QVERIFY(QMetaObject::invokeMethod(&window(), "vWriteAllSettings", Q_ARG(bool, false)));
    QVERIFY(shows(":/icons/icons/schreiben2cerc.svg"));
    QTRY_VERIFY_WITH_TIMEOUT(shows(":/icons/icons/schreiben.svg"), 2000);
    // The edit still pending goes out first, then every parameter.
    QStringList expected = QStringList{QStringLiteral("OnDelay1")} + allIds();
    for (const char *leftOut :
         {"VendorNameReadOnly", "ProductNameReadOnly", "ProductIdReadOnly", "ProductTextReadOnly",
          "SerialNumberReadOnly", "HardwareRevisionReadOnly", "FirmwareRevisionReadOnly",
          "DeviceStatusReadOnly", "OperatingHoursReadOnly", "TeachInputMode",
          "ZeroPointTEACHBUTTON"})
        QVERIFY(expected.removeOne(QLatin1String(leftOut)));
    QCOMPARE(idsOf(m_master->queryLog(), 0x24), expected);
    QCOMPARE(m_master->simulator().parameter(QStringLiteral("OnDelay1")), QVariant(1500));
    QVERIFY(window().form()->actionEnable_live_data->isChecked());
    QVERIFY(data().liveDataEnabled);
    QVERIFY(editable->isEnabled());
    QVERIFY(!window().sendDelayTimer()->isActive());
    QVERIFY(data().watchdogTimer.isActive());
}

void tst_DeviceCommunication::factoryReset_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QString>("answer"); // to the question; empty where none may be asked
    QTest::addColumn<bool>("reset");
    QTest::newRow("Ok") << true << "Ok" << true;
    QTest::newRow("Cancel") << true << "Cancel" << false;
    QTest::newRow("not connected: no question") << false << "" << false;
    // Nothing is reset or read from nowhere.
    QTest::newRow("Ok after the port went offline") << true << "Offline, Ok" << false;
}

void tst_DeviceCommunication::factoryReset()
{
    QFETCH(bool, connected);
    QFETCH(QString, answer);
    QFETCH(bool, reset);
    m_port.stored.insert(QStringLiteral("OnDelay1"), 1500);
    if (connected)
        connectQuietly();
    window().form()->actionEnable_live_data->setChecked(false);
    data().liveDataEnabled = false;
    const int before = data().intManager->value(property("OnDelay1"));
    // Cleanup finds a question that never came, or one that came unasked.
    if (!answer.isEmpty()) {
        hand().expect([this, answer](QDialog *box) {
            // A poll still running from the connection would restart the polling.
            QTRY_COMPARE(data().pendingPollId, 0u);
            data().pollTimer.stop();
            m_master->clearQueryLog();
            if (answer.startsWith(QLatin1String("Offline")))
                start(QStringLiteral("Offline"));
            ModalHand::click(answer.endsWith(QLatin1String("Ok")) ? QMessageBox::Ok
                                                                     : QMessageBox::Cancel)(box);
        });
    }
    start(QStringLiteral("vRestoreFactorySettings"));

    const QList<QByteArray> log = m_master ? m_master->queryLog() : m_session->logAtRelease;
    QCOMPARE(log.contains(BravoSensorPlugin::Core::factoryResetFrame()), reset);
    QCOMPARE(data().intManager->value(property("OnDelay1")), reset ? 0 : before);
    QCOMPARE(data().liveDataEnabled, reset);
    QCOMPARE(window().form()->actionEnable_live_data->isChecked(), reset);
    if (answer == QLatin1String("Offline, Ok")) {
        QCOMPARE(log, QList<QByteArray>());
        QCOMPARE(window().form()->statusBar->currentMessage(),
                 QStringLiteral("Restore factory defaults did not run: the sensor is no longer "
                                "connected"));
    }
    if (!reset)
        return;
    // The reset frame, every parameter read back, then the identity's product id; polls may
    // come in between once live data is back on.
    const int reads = m_ids.size();
    QCOMPARE(log.mid(0, 4), frames({"027327", "066b2402000082", "027022", "027022"}));
    QCOMPARE(withCommand(log, 0x24).size(), 1);
    const QList<QByteArray> readRequests = withCommand(log, 0x26);
    QCOMPARE(readRequests.size(), reads + 1);
    QCOMPARE(readRequests.last(), QByteArray::fromHex("056b26410000"));
    // The bar counted just these frames and closed with the last one.
    QVERIFY(!data().progressDialog.isVisible());
    QCOMPARE(data().progressBar->maximum(), 4 + 4 * reads + 4);
}

void tst_DeviceCommunication::updateDialogEndsThenFinishesTheConnection_data()
{
    QTest::addColumn<bool>("autoConnecting");
    QTest::addColumn<bool>("liveDataChosen");
    QTest::addColumn<bool>("liveData");
    QTest::newRow("chosen port, live data off") << false << false << false;
    QTest::newRow("chosen port, live data on") << false << true << true;
    QTest::newRow("automatic connection switches live data on") << true << false << true;
}

void tst_DeviceCommunication::updateDialogEndsThenFinishesTheConnection()
{
    QFETCH(bool, autoConnecting);
    QFETCH(bool, liveDataChosen);
    QFETCH(bool, liveData);
    connectQuietly();
    data().activePortIndex = 0;
    window().form()->actionEnable_live_data->setChecked(liveDataChosen);
    window().form()->chartToolbar->setEnabled(false);
    data().justConnected = true;
    data().autoConnecting = autoConnecting;
    data().progressMaximum = 2;
    window().vShowUpdateDialog(true);
    QDialog &dialog = data().progressDialog;
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.isModal());
    QVERIFY(!data().showTransferUi);
    // Shown again, the same two widgets are laid out once.
    window().vShowUpdateDialog(true);
    QCOMPARE(data().progressLayout->count(), 2);

    // More frames than counted wait at the step before the end.
    for (int frame = 0; frame < 3; ++frame)
        QVERIFY(QMetaObject::invokeMethod(&window(), "vUpdateProgressBar"));
    QCOMPARE(data().progressBar->value(), 1);
    QVERIFY(dialog.isVisible() && data().justConnected);
    data().progressBar->setValue(data().progressBar->maximum());
    QVERIFY(!data().justConnected);
    QVERIFY(!dialog.isVisible());
    QVERIFY(data().showTransferUi);
    QCOMPARE(data().progressMaximum, 350);
    QCOMPARE(window().form()->actionEnable_live_data->isChecked(), liveData);
    QCOMPARE(data().liveDataEnabled, liveData);
    QCOMPARE(data().activePortIndex, simulatedPortIndex);
    QVERIFY(data().pollTimer.isActive());
    QVERIFY(data().watchdogTimer.isActive());
    QVERIFY(window().form()->chartToolbar->isEnabled());
}

// Each window's frames keep at least their pauses between them while another window's sequence
// runs inside those pauses.
void tst_DeviceCommunication::framesKeepTheirSpacingWhileAnotherWindowRuns_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("identity check beside a read") << "identity check" << "read";
    QTest::newRow("read beside an identity check") << "read" << "identity check";
    QTest::newRow("read beside a read") << "read" << "read";
}

void tst_DeviceCommunication::framesKeepTheirSpacingWhileAnotherWindowRuns()
{
    struct Paced
    {
        std::function<void(SensorWindow &)> run;
        QList<unsigned int> pausesBefore; // ms before each frame
        QByteArray fetched;               // taken at the first try: no step is repeated
    };
    const QMap<QString, Paced> sequences{
        {QStringLiteral("identity check"),
         {[](SensorWindow &window) { window.bCheckSensorIdentity(); },
          {0, 0, 0, 0, 0, 0, 50, 50},
          QByteArray::fromHex("050b26") + m_sensor.name().c_str()}},
        {QStringLiteral("read"),
         {[](SensorWindow &window) { window.readParameter(QStringLiteral("OnDelay1"), false); },
          {0, 50, 70, 70},
          QByteArray::fromHex("05002700012c")}},
    };
    QFETCH(QString, first);
    QFETCH(QString, second);
    BravoSensorPlugin::Core::setPlatformSleepScale(0.2);
    QElapsedTimer clock;
    clock.start();
    struct Side
    {
        Paced paced;
        std::unique_ptr<ScriptedConnection> master;
        std::unique_ptr<SensorWindow> window;
        QList<qint64> sentAtNs;
        bool done = false;
    };
    std::array<Side, 2> sides{Side{sequences.value(first), {}, {}, {}},
                              Side{sequences.value(second), {}, {}, {}}};
    for (Side &side : sides) {
        side.window = std::make_unique<SensorWindow>(m_sensor);
        side.master = std::make_unique<ScriptedConnection>(
            [&side, &clock, answers = fetchAnswers(side.paced.fetched)](const QByteArray &query) {
                side.sentAtNs << clock.nsecsElapsed();
                return answers(query);
            });
        side.window->setConnection(side.master.get());
        QTimer::singleShot(0, side.window.get(), [&side] {
            side.paced.run(*side.window);
            side.done = true;
        });
    }
    QTRY_VERIFY(sides[0].done && sides[1].done);

    const QList<qint64> &outer = sides[0].sentAtNs;
    QVERIFY(std::any_of(sides[1].sentAtNs.cbegin(), sides[1].sentAtNs.cend(),
                        [&outer](qint64 at) { return at > outer.first() && at < outer.last(); }));
    for (const Side &side : sides) {
        QCOMPARE(side.sentAtNs.size(), side.paced.pausesBefore.size());
        for (int i = 1; i < side.sentAtNs.size(); ++i) {
            const qint64 pauseNs
                = qint64(BravoSensorPlugin::Core::platformSleepMs(side.paced.pausesBefore.at(i)))
                  * 1000000;
            QVERIFY2(side.sentAtNs.at(i) - side.sentAtNs.at(i - 1) >= pauseNs,
                     qPrintable(QStringLiteral("frame %1").arg(i)));
        }
    }
}

// Closed, deleted or quit inside a wait for an answer or inside a pause between two frames: no
// further frame, no pause runs out. A cut in a pause comes from a timer, so it also shows that
// the event loop runs on during a pause.
void tst_DeviceCommunication::sequenceEndsAtOnceWhenItsWaitIsCutShort_data()
{
    QTest::addColumn<QString>("sequence");
    QTest::addColumn<QString>("cut");
    QTest::addColumn<bool>("inPause");
    QTest::addColumn<int>("framesSent"); // before the cut
    QTest::addColumn<bool>("onFiber");
    // Without an event loop to leave, a quit does not reach a fiber's wait in a test.
    for (const char *cut : {"window closed", "window deleted", "quit"}) {
        if (qstrcmp(cut, "quit") != 0) {
            QTest::addRow("%s during an identity check on a fiber", cut)
                << "slotContinousDataTimeout" << cut << false << 7 << true;
            QTest::addRow("%s in a pause of a single write on a fiber", cut)
                << "sendDelayValue" << cut << true << 1 << true;
            QTest::addRow("%s in a pause of read-all on a fiber", cut)
                << "Read" << cut << true << 1 << true;
        }
        QTest::addRow("%s during an identity check", cut)
            << "slotContinousDataTimeout" << cut << false << 7 << false;
        QTest::addRow("%s during read-all", cut) << "Read" << cut << false << 2 << false;
        QTest::addRow("%s during write-all", cut) << "Write" << cut << false << 3 << false;
        QTest::addRow("%s during a single write", cut)
            << "sendDelayValue" << cut << false << 1 << false;
        QTest::addRow("%s during the write of a dropped mark", cut)
            << "dropMark" << cut << false << 1 << false;
        QTest::addRow("%s while writing an opened settings file", cut)
            << "bOpenSettings" << cut << false << 8 << false;
        QTest::addRow("%s while connecting", cut)
            << "bConnectToSensor" << cut << false << 4 << false;
        QTest::addRow("%s in a pause of an identity check", cut)
            << "slotContinousDataTimeout" << cut << true << 7 << false;
        QTest::addRow("%s in a pause of read-all", cut) << "Read" << cut << true << 1 << false;
        QTest::addRow("%s in a pause of write-all", cut) << "Write" << cut << true << 1 << false;
        QTest::addRow("%s in a pause of a single write", cut)
            << "sendDelayValue" << cut << true << 1 << false;
    }
}

void tst_DeviceCommunication::sequenceEndsAtOnceWhenItsWaitIsCutShort()
{
    QFETCH(QString, sequence);
    QFETCH(QString, cut);
    QFETCH(bool, inPause);
    QFETCH(int, framesSent);
    QFETCH(bool, onFiber);
    connectWithAnEditWaiting();
    BravoSensorPlugin::Core::setPlatformSleepScale(1.0);
    ScriptedConnection master([](const QByteArray &query) { return query; });
    window().setConnection(&master);
    QPointer<SensorWindow> target = &window();
    QElapsedTimer sinceCut;
    const auto cutNow = [&] {
        sinceCut.start();
        if (cut == QLatin1String("quit"))
            QCoreApplication::exit(0);
        else if (cut == QLatin1String("window closed"))
            target->close();
        else
            delete target;
    };
    master.setWhileInFlight([&] {
        if (int(master.records().size()) != framesSent)
            return;
        if (inPause)
            QTimer::singleShot(1, Qt::PreciseTimer, &master, cutNow);
        else
            cutNow();
    });
    if (onFiber) {
        Utils::FiberRunner *runner = Utils::FiberRunner::instance();
        runner->start([this, sequence] { start(sequence); });
        QTRY_COMPARE_WITH_TIMEOUT(runner->unfinished(), 0, 1000);
    } else {
        start(sequence);
    }
    const qint64 endedAfter = sinceCut.elapsed();
    // Counted at once: the transfer whose wait found the application quitting is still queued.
    // After a pause, a frame handed over at all went out after the cut.
    const int sent = inPause ? int(master.transfersStarted()) : int(master.records().size());
    if (cut == QLatin1String("quit"))
        forgetQuit();

    QVERIFY(sinceCut.isValid());
    QCOMPARE(sent, framesSent);
    QCOMPARE(bool(target), cut != QLatin1String("window deleted"));
    QVERIFY2(endedAfter < 1000, qPrintable(QString::number(endedAfter)));
    QVERIFY(!BravoSensorPlugin::Core::platformSleepInterrupted());
}

void tst_DeviceCommunication::leavingTheDialogsChangesNothing_data()
{
    QTest::addColumn<QList<ModalHand::Answer>>("answers");
    QTest::newRow("Cancel in the direction dialog")
        << QList<ModalHand::Answer>{ModalHand::push(QStringLiteral("cancel"))};
    QTest::newRow("Escape in the direction dialog")
        << QList<ModalHand::Answer>{ModalHand::pressEscape()};
    QTest::newRow("Cancel in the PC -> Sensor confirmation") << QList<ModalHand::Answer>{
        ModalHand::push(QStringLiteral("pcToSensor")), ModalHand::click(QMessageBox::Cancel)};
}

void tst_DeviceCommunication::leavingTheDialogsChangesNothing()
{
    QFETCH(QList<ModalHand::Answer>, answers);
    QSignalSpy selections(&window(), SIGNAL(vComPortSelected(QString)));
    for (const ModalHand::Answer &answer : answers)
        hand().expect(answer);
    m_session->choosePort(simulatedPortIndex);

    QCOMPARE(hand().boxesSeen().first(), QStringLiteral("connectionSwitchingDialog"));
    QVERIFY(selections.isEmpty());
    verifyOffline();
}

void tst_DeviceCommunication::sensorToPcConnectsReadsThenGoesOffline()
{
    m_port.productId = QStringLiteral("K7DA016");
    QSignalSpy status(window().statusBar(), &QStatusBar::messageChanged);
    m_session->connectSensorToPc();
    // The status bar said what ran, and ends with the title.
    const QStringList ids = allIds();
    const auto reading = [&](int done) {
        return QStringLiteral("Reading parameters %1 / %2: %3")
            .arg(done)
            .arg(ids.size())
            .arg(property(ids.at(done - 1).toLatin1().constData())->propertyName());
    };
    QStringList messages;
    for (const QList<QVariant> &message : qAsConst(status))
        messages << message.first().toString();
    QVERIFY(messages.contains(QStringLiteral("Connecting to %1 on SIM-TEST...")
                                  .arg(QString::fromStdString(m_sensor.name()))));
    QCOMPARE(messages.filter(QStringLiteral("Reading parameters")).size(), ids.size());
    QVERIFY2(messages.contains(reading(1)) && messages.contains(reading(ids.size())),
             qPrintable(messages.join(QLatin1Char('\n'))));
    QCOMPARE(window().statusBar()->currentMessage(), window().windowTitle());
    // Read-all's last answer ends the update bar, and live data starts at once.
    QCOMPARE(data().progressBar->value(), data().progressBar->maximum());
    QVERIFY(data().pollTimer.isActive() && !data().progressDialog.isVisible());
    const QString title = QString::fromStdString(m_sensor.name()) + QStringLiteral(" (SIM-TEST)");
    QCOMPARE(window().windowTitle(), title);
    QCOMPARE(data().rootProperty->propertyName(), title);
    QVERIFY(window().isSensorConnected());
    QVERIFY(window().form()->sensorOperationsToolbar->isEnabled());
    QVERIFY(!window().form()->actionOpen_Settings->isEnabled());
    QCOMPARE(data().activePortIndex, simulatedPortIndex);
    QCOMPARE(m_master->poGetPortSettings()->baudRate, 38400);
    // Texts too: a disconnect before the attempt switched their decoding on.
    QCOMPARE(property("ProductIdReadOnly")->valueText(), m_port.productId);
    // The identity the device gave chooses the range of its variant.
    QCOMPARE(data().pressureRangeMax, 16.0);
    QCOMPARE(data().pressureDivisor, 100.0);
    QVERIFY(data().watchdogTimer.isActive());
    QVERIFY(data().liveDataEnabled);

    m_master->simulator().setParameter(QStringLiteral("OnDelay1"), 4321);
    QSignalSpy steps(data().progressBar, &QProgressBar::valueChanged);
    window().form()->actionRead->trigger();
    QCOMPARE(data().intManager->value(property("OnDelay1")), 4321);
    // Decoded values are never written back.
    QVERIFY(!window().sendDelayTimer()->isActive());
    QVERIFY(withCommand(m_master->queryLog(), 0x24).isEmpty());
    QVERIFY(data().decodeTextParameters);
    // One step a frame from 0, the last one with the last frame.
    const int frames = 4 * allIds().size();
    QCOMPARE(data().progressBar->maximum(), frames);
    QCOMPARE(steps.size(), frames + 1);
    for (int step = 0; step <= frames; ++step)
        QCOMPARE(steps.at(step).first().toInt(), step);
    QVERIFY(!data().progressDialog.isVisible());

    QSignalSpy selections(&window(), SIGNAL(vComPortSelected(QString)));
    m_session->choosePort(0);
    QCOMPARE(selections.size(), 1);
    QCOMPARE(selections.first().first().toString(), QString());
    verifyOffline();
    QVERIFY(window().form()->actionOpen_Settings->isEnabled());
    QVERIFY(!data().progressDialog.isVisible());
}

void tst_DeviceCommunication::pcToSensorWritesThenReadsBack()
{
    edit(property("OnDelay1"), 1500);
    window().sendDelayTimer()->stop();
    hand().expect(ModalHand::push(QStringLiteral("pcToSensor")));
    hand().expect(ModalHand::click(QMessageBox::Ok));
    m_session->choosePort(simulatedPortIndex);

    QCOMPARE(hand().boxesSeen().value(1),
             QStringLiteral("tGauge|Sensor settings will be overwritten with the ones from PC"));
    QVERIFY(indicatorOn());
    QCOMPARE(m_master->simulator().parameter(QStringLiteral("OnDelay1")), QVariant(1500));
    // Texts are pushed as 0; edited later, as 1.
    QVERIFY(m_master->queryLog().contains(QByteArray::fromHex("06752418000000")));
    // Every parameter is read back after the last write.
    const QList<QByteArray> log = m_master->queryLog();
    const int lastWrite = log.lastIndexOf(withCommand(log, 0x24).last());
    QCOMPARE(idsOf(log.mid(lastWrite), 0x26), allIds());
    QCOMPARE(data().progressBar->maximum(), 4 * allIds().size());
    QCOMPARE(data().progressBar->value(), data().progressBar->maximum());
    QVERIFY(!data().decodeTextParameters);
    QVERIFY(data().liveDataEnabled);
    QVERIFY(data().pollTimer.isActive());
    QVERIFY(window().form()->sensorOperationsToolbar->isEnabled());
}

void tst_DeviceCommunication::sensorIsGivenUpWhenItDoesNotAnswer_data()
{
    QTest::addColumn<QString>("when"); // connecting, at a watchdog check or while polling
    QTest::addColumn<QString>("productId");
    QTest::addColumn<Faults>("faults");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QList<int>>("sent"); // probes and identity checks until given up
    QTest::newRow("connecting to a foreign sensor: ten identity checks")
        << "connecting" << "K7DB025" << Faults{} << mismatchBox << QList<int>{11, 10};
    // Not told it holds the wrong sensor: nothing answered at all.
    QTest::newRow("connecting to a silent master: five probes")
        << "connecting" << "" << Faults{0, 1} << silentSensorBox << QList<int>{5, 0};
    QTest::newRow("watchdog: eleven identity checks")
        << "watchdog" << "" << Faults{0, 1} << silentSensorBox << QList<int>{11, 11};
    for (const auto &[name, faults] : {std::pair{"answers lost", Faults{0, 1}},
                                       {"answers damaged", Faults{0, 0, 1}},
                                       {"answers after the time-out", Faults{2100}},
                                       {"cable pulled", Faults{0, 0, 0, 0}}})
        QTest::addRow("polling, %s: the third miss", name)
            << "polling" << "" << faults << silentSensorBox << QList<int>{0, 0};
}

void tst_DeviceCommunication::sensorIsGivenUpWhenItDoesNotAnswer()
{
    QFETCH(QString, when);
    QFETCH(Faults, faults);
    QFETCH(QList<int>, sent);
    QFETCH(QString, productId);
    m_port.productId = productId;
    if (when == QLatin1String("connecting")) {
        m_port.faults = faults;
        hand().expect(ModalHand::push(QStringLiteral("sensorToPc")));
    } else if (when == QLatin1String("watchdog")) {
        connectQuietly();
        data().watchdogTimer.stop();
        // A check the sensor answers keeps it.
        QVERIFY(QMetaObject::invokeMethod(&window(), "slotContinousDataTimeout"));
        QCOMPARE(countOf(m_master->queryLog(), identitySetup), 1);
        QVERIFY(indicatorOn() && data().watchdogTimer.isActive());
    } else {
        connectAndPoll();
    }
    QSignalSpy selections(&window(), SIGNAL(vComPortSelected(QString)));
    // However long the warning stays open, no watchdog may fire behind it.
    bool watchdogBehindWarning = true;
    hand().expect([this, &watchdogBehindWarning](QDialog *box) {
        watchdogBehindWarning = data().watchdogTimer.isActive();
        ModalHand::click(QMessageBox::Ok)(box);
    });
    if (when == QLatin1String("connecting")) {
        m_session->choosePort(simulatedPortIndex);
    } else {
        m_master->simulator().setFaults(faults);
        m_master->clearQueryLog();
        if (when == QLatin1String("watchdog"))
            QVERIFY(QMetaObject::invokeMethod(&window(), "slotContinousDataTimeout"));
    }

    QTRY_VERIFY(hand().allAnswered());
    QTRY_VERIFY(!m_master);
    QVERIFY(!watchdogBehindWarning);
    QTEST(hand().boxesSeen().last(), "box");
    const QList<QByteArray> &log = m_session->logAtRelease;
    QCOMPARE(QList<int>({countOf(log, probe), countOf(log, identitySetup)}), sent);
    // Polls give the sensor up on their own, with no other frame in between.
    if (when == QLatin1String("polling"))
        QCOMPARE(log, QVector<QByteArray>(3, BravoSensorPlugin::Core::processDataFrame()).toList());
    verifyOffline();
    QVERIFY(!data().pollTimer.isActive());
    QCOMPARE(data().pendingPollId, 0u);
    QCOMPARE(window().windowTitle(),
             QString::fromStdString(m_sensor.name()) + QStringLiteral(" (Offline)"));
    QCOMPARE(selections.last().first().toString(), QString());
    if (when == QLatin1String("connecting"))
        return;
    // A connected window lets its port go once, and its outputs choice with it until the
    // sensor is back.
    QCOMPARE(selections.size(), 1);
    QToolBar *outputs = window().form()->outuptsComboToolBar;
    QVERIFY(!outputs->isEnabled());
    connectQuietly();
    QVERIFY(outputs->isEnabled());
}

void tst_DeviceCommunication::offlineAttemptsFailSilently()
{
    bool connected = true;
    QVERIFY(
        QMetaObject::invokeMethod(&window(), "bConnectToSensor", Q_RETURN_ARG(bool, connected)));
    QVERIFY(!connected);
    data().watchdogTimer.start();
    start("slotContinousDataTimeout");
    QVERIFY(!data().watchdogTimer.isActive());
    // A failed automatic connection leaves live data on.
    m_session->object().vAutoConnect(QStringLiteral("NOT-LISTED"));
    QVERIFY(!indicatorOn());
    QCOMPARE(data().portCombo->currentIndex(), 0);
    QVERIFY(!data().autoConnecting);
    QVERIFY(data().liveDataEnabled);
    QVERIFY(window().form()->actionEnable_live_data->isChecked());
}

void tst_DeviceCommunication::answersReachPlotsAndRows_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("unitIndex");
    QTest::addColumn<int>("analogMode"); // 0: volts, else milliamperes; points 0 and 100
    QTest::addColumn<bool>("output2IsSwitching");
    // Pressure, its analog value, temperature, its analog value.
    QTest::addColumn<QList<double>>("plotted");
    QTest::addColumn<QString>("rows");
    QTest::newRow("bar, volts, A1 and A2 on, signal too low")
        << "08402200ff380197" << 0 << 0 << true << QList<double>{-2.0, -0.2, 2.5, 0.25}
        << "On led_state_2_1|On led_state_2_2|Signal too low !_galben_cerc_negru_mare|  2.5|  -2";
    QTest::newRow("bar, milliamperes, all bits clear")
        << "0190fff0" << 0 << 1 << true << QList<double>{4.0, 4.64, 409.5, 69.52}
        << "Off led_state_1_1|Off led_state_1_2|OK Check_box_galben_Negru_mare|  409.5|  4";
    QTest::newRow("psi and Fahrenheit, A2 not switching")
        << "ff380196" << 5 << 0 << false << QList<double>{-29.008, -2.9008, 36.5, 3.65}
        << "Off led_state_1_1|  led_state_0|Signal too low !_galben_cerc_negru_mare|  36.5|  -29.008";
}

void tst_DeviceCommunication::answersReachPlotsAndRows()
{
    QFETCH(QString, answer);
    QFETCH(QList<double>, plotted);
    connectAndPoll();
    data().pressureDivisor = 100.0;
    QFETCH(int, unitIndex);
    data().unitIndex = unitIndex;
    QFETCH(int, analogMode);
    data().analogMode = analogMode;
    data().analogPoint0 = 0.0;
    data().analogPoint10 = 100.0;
    QFETCH(bool, output2IsSwitching);
    data().output2IsSwitching = output2IsSwitching;

    // No poll can complete in between: the event loop does not run.
    window().vUpdateProcessData(answer);
    for (int plot = 0; plot < 2; ++plot) {
        const Utils::ValueOverTime *history = data().chart->getData(plot);
        const Utils::Sample newest = history->sample(history->size() - 1);
        QCOMPARE(newest.value, plotted.at(2 * plot));
        QCOMPARE(newest.analogValue, plotted.at(2 * plot + 1));
    }
    QTEST(rowTexts().join(QLatin1Char('|')), "rows");
}

void tst_DeviceCommunication::pollingGoesOnWithLiveDataOffAndOnePollAtATime()
{
    connectAndPoll();
    window().form()->actionEnable_live_data->trigger();
    QVERIFY(!data().liveDataEnabled);
    window().form()->chartToolbar->setEnabled(false);
    const QList<int> sizes{plotSize(0), plotSize(1)};
    const QStringList texts = rowTexts();
    m_master->clearQueryLog();

    QTRY_VERIFY(countOf(m_master->queryLog(), BravoSensorPlugin::Core::processDataFrame()) >= 3);
    QVERIFY(window().form()->chartToolbar->isEnabled());
    QCOMPARE(QList<int>({plotSize(0), plotSize(1)}), sizes);
    QCOMPARE(rowTexts(), texts);

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

void tst_DeviceCommunication::everyPointIsStoredInBarAndCelsius_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<int>("unitIndex");
    QTest::addColumn<double>("perBar"); // of the shown pressure unit
    QTest::newRow("Write, psi and Fahrenheit") << "Write" << 5 << 14.504;
    QTest::newRow("PC -> Sensor connection, psi and Fahrenheit") << "pcToSensor" << 5 << 14.504;
    QTest::newRow("settings file in kPa and Fahrenheit") << "bOpenSettings" << 7 << 100.0;
}

// Output A2 switches, so the analog groups are hidden; every point still reaches the sensor
// converted, whichever way all settings are written.
void tst_DeviceCommunication::everyPointIsStoredInBarAndCelsius()
{
    QFETCH(QString, route);
    QFETCH(int, unitIndex);
    QFETCH(double, perBar);
    const QList<std::pair<const char *, double>> points{
        {"ThresholdsPressure1A1", 5.0}, {"ThresholdsPressure2A1", 2.0},
        {"ThresholdsPressure1A2", 4.0}, {"ThresholdsPressure2A2", 1.0},
        {"analogPressure0V", 0.5},      {"analogPressure10V", 8.0},
        {"ThresholdsTemp1A1", 80.0},    {"ThresholdsTemp2A1", 70.0},
        {"ThresholdsTemp1A2", 60.0},    {"ThresholdsTemp2A2", 50.0},
        {"analogTemp0V", 0.0},          {"analogTemp10V", 90.0}};
    const auto shown = [perBar](const char *id, double base) {
        return QByteArray(id).contains("Pressure") ? base * perBar : base * 1.8 + 32.0;
    };
    if (route != QLatin1String("pcToSensor"))
        connectQuietly();
    edit(property(ParameterIds::temperatureSettings), unitIndex);
    edit(property("PinFunctionA2"), 0);
    QVERIFY(QMetaObject::invokeMethod(&window(), "sendDelayValue"));
    for (const auto &[id, base] : points)
        setQuietly(window(), id, shown(id, base));
    QVERIFY(!window().isPropertyVisible(QStringLiteral("AnalogPointsTemperature")));
    QVERIFY(!window().isPropertyVisible(QStringLiteral("AnalogPointsPressure")));

    if (route == QLatin1String("pcToSensor")) {
        hand().expect(ModalHand::push(QStringLiteral("pcToSensor")));
        hand().expect(ModalHand::click(QMessageBox::Ok));
        m_session->choosePort(simulatedPortIndex);
    } else {
        start(route);
    }
    QVERIFY(window().isSensorConnected());
    for (const auto &[id, base] : points) {
        QCOMPARE(stored(id), base);
        QCOMPARE(data().doubleManager->value(property(id)), shown(id, base));
    }
}

void tst_DeviceCommunication::marksEqualTheirPoints_data()
{
    // "connect": Sensor -> PC; "Read"; a unit edit alone or made in the first wait of write-all.
    // The edit is not written yet: points and marks must both be in psi at once.
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("plot");
    QTest::addColumn<QString>("lowerId");
    QTest::addColumn<QString>("upperId");
    QTest::addColumn<int>("unitIndex");
    const auto row = [](const char *name, const char *after, int plot, int unitIndex) {
        const QString ids = QStringLiteral("Thresholds%1%2A1")
                                .arg(QLatin1String(plot == 0 ? "Pressure" : "Temp"));
        QTest::newRow(name) << QString::fromLatin1(after) << plot << ids.arg(1) << ids.arg(2)
                            << unitIndex;
    };
    row("psi, connecting", "connect", 0, 5);
    row("Fahrenheit, Read", "Read", 1, 5);
    row("unit edit alone", "edit", 0, 1);
    row("unit edit during write-all", "edit during Write", 0, 1);
}

void tst_DeviceCommunication::marksEqualTheirPoints()
{
    QFETCH(QString, after);
    QFETCH(int, plot);
    QFETCH(QString, lowerId);
    QFETCH(QString, upperId);
    // psi and °F, as the device stores the unit choice; output A1 on the plot's quantity.
    const QMap<QString, QVariant> sensorValues = {{QLatin1String(ParameterIds::temperatureSettings), 5 + 0x1C},
                                                  {QStringLiteral("PinFunctionA1"), 1 - plot},
                                                  {lowerId, 400},
                                                  {upperId, 300}};
    if (after == QLatin1String("connect"))
        m_port.stored = sensorValues;
    connectQuietly();
    QList<double> marksAndPoints;
    const auto look = [&] {
        const Utils::ThresholdWindowWidget *marks = data().thresholdWidgets.at(plot);
        marksAndPoints = {marks->lowerMark(), marks->upperMark(),
                          data().doubleManager->value(property(lowerId.toLatin1())),
                          data().doubleManager->value(property(upperId.toLatin1()))};
    };
    const auto editUnit = [&] {
        edit(property(ParameterIds::temperatureSettings), 1);
        look();
    };
    if (after == QLatin1String("Read")) {
        for (auto value = sensorValues.cbegin(); value != sensorValues.cend(); ++value)
            m_master->simulator().setParameter(value.key(), value.value());
        start(after);
        look();
    } else if (after == QLatin1String("edit")) {
        editUnit();
    } else if (after == QLatin1String("edit during Write")) {
        QTimer::singleShot(0, &window(), editUnit);
        start(QStringLiteral("Write"));
    } else {
        look();
    }
    QCOMPARE(marksAndPoints.size(), 4);
    QCOMPARE(marksAndPoints.at(0), marksAndPoints.at(2));
    QCOMPARE(marksAndPoints.at(1), marksAndPoints.at(3));
    QTEST(data().unitIndex, "unitIndex");
}

void tst_DeviceCommunication::pendingEditGoesOutBeforeTheNextSequence_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("Read") << "Read";
    QTest::newRow("factory reset") << "vRestoreFactorySettings";
    QTest::newRow("going offline") << "Offline";
    QTest::newRow("closing the window") << "close";
}

// Started while an edit waits for its send delay: the edit is the first write, before any read.
void tst_DeviceCommunication::pendingEditGoesOutBeforeTheNextSequence()
{
    QFETCH(QString, action);
    connectQuietly();
    edit(property("OnDelay1"), 1234);
    QVERIFY(window().sendDelayTimer()->isActive());
    if (action == QLatin1String("vRestoreFactorySettings"))
        hand().expect(ModalHand::click(QMessageBox::Ok));
    start(action);

    const QList<QByteArray> log
        = action == QLatin1String("Offline") ? m_session->logAtRelease : m_master->queryLog();
    const QList<QByteArray> writes = withCommand(log, 0x24);
    QCOMPARE(idsOf(writes, 0x24).value(0), QStringLiteral("OnDelay1"));
    QCOMPARE(writes.first().right(2), QByteArray::fromHex("04d2"));
    const QList<QByteArray> reads = withCommand(log, 0x26);
    if (!reads.isEmpty())
        QVERIFY(log.indexOf(writes.first()) < log.indexOf(reads.first()));
    if (action == QLatin1String("Read"))
        QCOMPARE(data().intManager->value(property("OnDelay1")), 1234);
}

void tst_DeviceCommunication::editInsideASequenceIsWrittenAfterIt_data()
{
    QTest::addColumn<QString>("sequence");
    QTest::newRow("single write") << "sendDelayValue";
    QTest::newRow("read-all") << "Read";
    QTest::newRow("write-all") << "Write";
    QTest::newRow("factory reset") << "bFactoryResetSequence";
}

// Made in the first wait of the sequence, on the parameter it reads or writes first: the sensor
// ends up with the edit, and the window still shows it.
void tst_DeviceCommunication::editInsideASequenceIsWrittenAfterIt()
{
    QFETCH(QString, sequence);
    connectWithAnEditWaiting();
    const int before = data().enumManager->value(property("AnalogMode"));
    const int edited = 1 - before;
    QTimer::singleShot(0, &window(), [this, before, edited] {
        for (int value : {edited, before, edited})
            data().enumManager->setValue(property("AnalogMode"), value);
    });
    start(sequence);

    QTRY_COMPARE(m_master->simulator().parameter(QStringLiteral("AnalogMode")), QVariant(edited));
    QCOMPARE(data().enumManager->value(property("AnalogMode")), edited);
    QVERIFY(window().isSensorConnected());
}

void tst_DeviceCommunication::actionStartedInsideASequenceRunsAfterIt_data()
{
    QTest::addColumn<QString>("sequence"); // the actions start in its first wait
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QString>("outcome"); // afterwards; empty: the sequence's frames stayed together
    for (const char *source : {"slotContinousDataTimeout", "Read", "Write", "Offline"})
        QTest::addRow("%s during a single read", source)
            << "readParameter" << QStringList{QLatin1String(source)} << "";
    QTest::newRow("write coming due during a single read")
        << "readParameter" << QStringList{"sendDelayValue"} << "written";
    QTest::newRow("Read during a single write")
        << "sendDelayValue" << QStringList{"Read"} << "read";
    QTest::newRow("factory reset confirmed during the watchdog's check")
        << "slotContinousDataTimeout" << QStringList{"vRestoreFactorySettings"} << "reset";
    QTest::newRow("going offline during a single write")
        << "sendDelayValue" << QStringList{"Offline"} << "offline";
    QTest::newRow("Read after going offline, both during Write")
        << "Write" << QStringList{"Offline", "Read"} << "told";
}

void tst_DeviceCommunication::actionStartedInsideASequenceRunsAfterIt()
{
    QFETCH(QString, sequence);
    QFETCH(QStringList, actions);
    QFETCH(QString, outcome);
    connectWithAnEditWaiting();
    m_master->simulator().setParameter(QStringLiteral("OffDelay1"), 4321);
    if (actions.contains(QStringLiteral("vRestoreFactorySettings")))
        hand().expect(ModalHand::click(QMessageBox::Ok));
    QTimer::singleShot(0, &window(), [this, actions] {
        for (const QString &action : actions)
            start(action);
    });
    start(sequence);

    if (sequence == QLatin1String("readParameter")) {
        const QList<QByteArray> read = m_master->queryLog();
        QCOMPARE(read.size(), 4);
        QCOMPARE(read.last(), QByteArray::fromHex("027327"));
        QVERIFY(window().isSensorConnected());
        QVERIFY(data().watchdogTimer.isActive());
    }
    if (outcome == QLatin1String("read")) {
        QTRY_COMPARE(data().intManager->value(property("OffDelay1")), 4321);
    } else if (outcome == QLatin1String("reset")) {
        QTRY_VERIFY(m_master->queryLog().contains(BravoSensorPlugin::Core::factoryResetFrame()));
    } else if (outcome == QLatin1String("written")) {
        QTRY_COMPARE(withCommand(m_master->queryLog(), 0x24).size(), 1);
        QCOMPARE(m_master->simulator().parameter(QStringLiteral("OnDelay1")), QVariant(1200));
    } else if (!outcome.isEmpty()) {
        QTRY_VERIFY(!window().isSensorConnected());
    }
    if (outcome == QLatin1String("told"))
        QTRY_COMPARE(window().form()->statusBar->currentMessage(),
                     QStringLiteral("Read did not run: the sensor is no longer connected"));
}

QTEST_MAIN(tst_DeviceCommunication)
#include "tst_devicecommunication.moc"
