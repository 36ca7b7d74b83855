#include "devicetestkit.h"

#include <comm/platformsleep.h>
#include <plugin/sensorcatalogue.h>
#include <window/sensorwindow.h>
#include <window/sensorwindowdata.h>
#include <window/ui_sensorwindow.h>

#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qtpropertymanager.h>

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QProgressBar>
#include <QToolBar>
#include <QtTest>

using BravoSensorPlugin::Core::SensorWindow;
using BravoSensorPlugin::Core::SensorWindowData;

namespace {

QList<QByteArray> frames(const QStringList &hexFrames)
{
    QList<QByteArray> list;
    for (const QString &frame : hexFrames)
        list << QByteArray::fromHex(frame.toLatin1());
    return list;
}

// "index;subIndex" of a read or write frame.
QString addressOf(const QByteArray &frame)
{
    const int index = quint8(frame.at(3)) | quint8(frame.at(4)) << 8;
    return QString::number(index) + QLatin1Char(';') + QString::number(quint8(frame.at(5)));
}

QVariant valueOf(QtProperty *property)
{
    if (auto *texts = qobject_cast<QtStringPropertyManager *>(property->propertyManager()))
        return texts->value(property);
    if (auto *doubles = qobject_cast<QtDoublePropertyManager *>(property->propertyManager()))
        return doubles->value(property);
    if (auto *bools = qobject_cast<QtBoolPropertyManager *>(property->propertyManager()))
        return bools->value(property);
    if (auto *ints = qobject_cast<QtIntPropertyManager *>(property->propertyManager()))
        return ints->value(property);
    if (auto *choices = qobject_cast<QtEnumPropertyManager *>(property->propertyManager()))
        return choices->value(property);
    return QVariant();
}

} // namespace

class tst_Sequences : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void identitySequenceSendsItsEightFrames();
    void identityAnswer_data();
    void identityAnswer();
    void readSendsRequestTwoPollsAndFetch();
    void readOfAnUnknownIdSendsNothing();
    void readAllWalksAddressesInKeyOrder();
    void decodedValuesAreNeverWrittenBack();
    void decoding_data();
    void decoding();
    void writeFrames_data();
    void writeFrames();
    void writeAllSkipsReadOnlyTeachAndPropertylessEntries();
    void writeAllStoresTheWindowsValuesInTheSensor();
    void factoryResetThenReadsEverythingBack();
    void updateDialogPacesAndCloses();
    void endOfUpdateDialogAfterConnecting_data();
    void endOfUpdateDialogAfterConnecting();
    void sequenceEndsAtOnceWhenItsWaitIsCutShort_data();
    void sequenceEndsAtOnceWhenItsWaitIsCutShort();
    void noSecondSequenceStartsInsideAWait_data();
    void noSecondSequenceStartsInsideAWait();

private:
    SensorWindowData &data() { return *m_window->windowData(); }
    QtProperty *property(const char *id) { return m_window->findProperty(data().rootProperty, id); }
    // A simulated master behind the window, which takes the sensor as connected.
    void attachMaster();
    QtProperty *addIntProperty(const QString &id, const QString &address);
    // The parameter at "index;subIndex".
    QString idAt(const QString &address) const;
    // Starts the named sequence and returns once it has ended.
    void runSequence(SensorWindow *window, const QString &name);

    ExtensionSystem::SensorBasic m_sensor;
    std::unique_ptr<SensorWindow> m_window;
    std::unique_ptr<Kr7dSim::SimulatedConnection> m_master;
};

void tst_Sequences::initTestCase()
{
    BravoSensorPlugin::Core::setPlatformSleepScale(0);
    m_sensor = BravoSensorPlugin::Core::buildSensorCatalogue().front();
    QCOMPARE(m_sensor.id(), std::string("K7DA"));
}

void tst_Sequences::init()
{
    m_window = std::make_unique<SensorWindow>(m_sensor);
    QVERIFY(property("OnDelay1"));
}

void tst_Sequences::cleanup()
{
    m_window.reset();
    m_master.reset();
}

void tst_Sequences::attachMaster()
{
    m_master = simulatedMaster(QString::fromStdString(m_sensor.name()));
    data().connection = m_master.get();
    m_window->sensorConnected = true;
}

QtProperty *tst_Sequences::addIntProperty(const QString &id, const QString &address)
{
    QtProperty *added = data().intManager->addProperty(id);
    added->setPropertyId(id);
    data().intManager->setRange(added, 0, 1000);
    data().rootProperty->addSubProperty(added);
    m_window->parameterAddresses.insert(id, address);
    return added;
}

QString tst_Sequences::idAt(const QString &address) const
{
    for (auto it = m_window->parameterAddresses.cbegin(); it != m_window->parameterAddresses.cend();
         ++it) {
        if (it.value().section(QLatin1Char(';'), 0, 1) == address)
            return it.key();
    }
    return QString();
}

void tst_Sequences::identitySequenceSendsItsEightFrames()
{
    attachMaster();
    data().selectedSensorId = QStringLiteral("K7DA");
    QVERIFY(m_window->bCheckSensorIdentity());
    QCOMPARE(m_master->queryLog(), frames({"03511201", "0473110903", "027022", "03702103",
                                           "054626130000", "027022", "027022", "027327"}));
    QCOMPARE(m_window->connectedSensorText, QStringLiteral("K7DA010"));
    QVERIFY(data().watchdogTimer.isActive());
}

void tst_Sequences::identityAnswer_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("sensorId");
    QTest::addColumn<bool>("matches");
    QTest::addColumn<QString>("identity");
    const QByteArray k7da010 = QByteArray::fromHex("0a5527004b374441303130");
    QTest::newRow("the chosen sensor") << k7da010 << "K7DA" << true << "K7DA010";
    QTest::newRow("another sensor of the family") << k7da010 << "K7DB" << false << "K7DA010";
    // Zeros go first, then the three leading bytes: "K7" is left.
    QTest::newRow("shorter than 3 bytes once cleaned")
        << QByteArray::fromHex("055527004b37") << "K7" << false << QString();
    QTest::newRow("no answer") << QByteArray() << "K7DA" << false << QString();
}

void tst_Sequences::identityAnswer()
{
    QFETCH(QByteArray, answer);
    QFETCH(QString, sensorId);
    QFETCH(bool, matches);
    QFETCH(QString, identity);
    ScriptedConnection master(fetchAnswers(answer));
    data().connection = &master;
    data().selectedSensorId = sensorId;
    QCOMPARE(m_window->bCheckSensorIdentity(), matches);
    QCOMPARE(m_window->connectedSensorText, identity);
    QVERIFY(data().watchdogTimer.isActive());
}

void tst_Sequences::readSendsRequestTwoPollsAndFetch()
{
    attachMaster();
    data().decodeTextParameters = true;
    QVERIFY(m_window->readParameter(QStringLiteral("ProductIdReadOnly"), false));
    QCOMPARE(m_master->queryLog(), frames({"054626130000", "027022", "027022", "027327"}));
    QCOMPARE(valueOf(property("ProductIdReadOnly")), QVariant(QStringLiteral("K7DA010")));
}

void tst_Sequences::readOfAnUnknownIdSendsNothing()
{
    attachMaster();
    QVERIFY(m_window->readParameter(QStringLiteral("NoSuchParameter"), true));
    QVERIFY(m_master->queryLog().isEmpty());
}

void tst_Sequences::readAllWalksAddressesInKeyOrder()
{
    attachMaster();
    m_window->readAllParameters();

    // Hidden parameters are read like any other.
    const QStringList expected = m_window->parameterAddresses.keys();
    QVERIFY(expected.contains(QStringLiteral("DeviceStatusReadOnly")));
    const QList<QByteArray> log = m_master->queryLog();
    QCOMPARE(log.size(), 4 * expected.size());
    QStringList readIds;
    for (const QByteArray &request : withCommand(log, 0x26))
        readIds << idAt(addressOf(request));
    QCOMPARE(readIds, expected);
    QVERIFY(data().watchdogTimer.isActive());
}

void tst_Sequences::decodedValuesAreNeverWrittenBack()
{
    attachMaster();
    m_master->simulator().setParameter(QStringLiteral("OnDelay1"), 1234);
    m_master->simulator().setParameter(QStringLiteral("RemoteSwitchingOutput"), 1);
    m_master->simulator().setParameter(QStringLiteral("TemperatureSettings"), 0x21);
    m_window->readAllParameters();

    QCOMPARE(valueOf(property("OnDelay1")), QVariant(1234));
    QCOMPARE(valueOf(property("RemoteSwitchingOutput")), QVariant(true));
    QCOMPARE(valueOf(property("TemperatureSettings")), QVariant(5));
    // An echoed value would have armed the 400 ms write.
    QVERIFY(!m_window->sendDelayTimer()->isActive());
    QCOMPARE(m_window->pendingProperty, nullptr);
    QVERIFY(withCommand(m_master->queryLog(), 0x24).isEmpty());
}

void tst_Sequences::decoding_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<double>("divisor");
    QTest::addColumn<bool>("decodeText");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("decimals"); // pressures only
    const auto row = [](const char *name, const char *id, const char *answer, double divisor,
                        const QVariant &value, int decimals = -1, bool decodeText = false) {
        QTest::newRow(name) << QString::fromLatin1(id) << QByteArray::fromHex(answer) << divisor
                            << decodeText << value << decimals;
    };
    row("int: first byte above 4 takes two bytes", "OnDelay1", "05002700012c", 100.0, 300);
    row("int: first byte 3 takes the last byte", "OnDelay1", "0300012c", 100.0, 0x2C);
    row("int: first byte 0A reads as 0", "OnDelay1", "0a002700012c", 100.0, 0x2C);
    row("int: no answer is 0", "OnDelay1", "", 100.0, 0);
    row("pressure at scale 100 keeps its sign", "ThresholdsPressure1A1", "05002700ff38", 100.0,
        -2.0, 2);
    row("pressure at scale 1", "ThresholdsPressure1A1", "0500270001f4", 1.0, 500.0, 0);
    row("pressure at scale 10", "ThresholdsPressure1A1", "0500270001f4", 10.0, 50.0, 1);
    row("pressure at scale 1000", "ThresholdsPressure1A1", "0500270001f4", 1000.0, 0.5, 3);
    row("temperature in hundredths", "ThresholdsTemp1A1", "0500270009c4", 100.0, 25.0);
    row("short answer ending A7 00 is 0", "ThresholdsTemp1A1", "0300a700", 100.0, 0.0);
    row("A7 00 in a long answer is a number", "ThresholdsTemp1A1", "05002700a700", 100.0, -227.84);
    row("bool on", "RemoteSwitchingOutput", "0500270001", 100.0, true);
    row("bool off", "RemoteSwitchingOutput", "0500270000", 100.0, false);
    row("Fahrenheit units come down by 0x1C", "TemperatureSettings", "0500270021", 100.0, 5);
    row("Celsius units stay", "TemperatureSettings", "0500270002", 100.0, 2);
    row("data storage lock 2 is locked", "DataStorageLock", "0500270002", 100.0, 1);
    row("text while texts are decoded", "ApplicationTag", "0d552700506e65756d6174696373", 100.0,
        QStringLiteral("Pneumatics"), -1, true);
    row("text left alone otherwise", "ApplicationTag", "0d552700506e65756d6174696373", 100.0,
        QStringLiteral("Hydraulics"));
}

void tst_Sequences::decoding()
{
    QFETCH(QString, id);
    QFETCH(QByteArray, answer);
    QFETCH(double, divisor);
    QFETCH(bool, decodeText);
    QFETCH(QVariant, value);
    QFETCH(int, decimals);
    ScriptedConnection master(fetchAnswers(answer));
    data().connection = &master;
    data().pressureDivisor = divisor;
    data().decodeTextParameters = decodeText;
    QtProperty *decoded = property(id.toLatin1());
    QVERIFY(decoded);
    // Ranges are the description's business; a wide one shows the decoded number itself.
    if (id.startsWith(QLatin1String("ThresholdsTemp")))
        data().doubleManager->setRange(decoded, -1000.0, 1000.0);
    if (id == QLatin1String("OnDelay1"))
        data().intManager->setValue(decoded, 77);
    if (id == QLatin1String("ApplicationTag"))
        data().stringManager->setValue(decoded, QStringLiteral("Hydraulics"));
    m_window->previousUnitIndex = -1;

    m_window->readParameter(id, false);
    const QVariant shown = valueOf(decoded);
    if (value.userType() == QMetaType::Double)
        QVERIFY2(qAbs(shown.toDouble() - value.toDouble()) < 1e-9, qPrintable(shown.toString()));
    else
        QCOMPARE(shown, value);
    if (decimals >= 0) {
        QCOMPARE(data().doubleManager->decimals(decoded), decimals);
        QCOMPARE(data().doubleManager->maximum(decoded), 10000000.0);
        QVERIFY(data().doubleManager->minimum(decoded) <= -1.0);
    }
    QCOMPARE(m_window->previousUnitIndex,
             id == QLatin1String("TemperatureSettings") ? value.toInt() : -1);
}

void tst_Sequences::writeFrames_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("forwarding");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("liveData");
    QTest::addColumn<QStringList>("sent");
    // Connected with live data off unless the row says otherwise: fetch, write, process data.
    const auto row = [](const char *name, const char *id, const QVariant &value, const char *write,
                        bool forwarding = true) {
        QTest::newRow(name) << QString::fromLatin1(id) << value << forwarding << true << false
                            << QStringList({"027327", QString::fromLatin1(write), "027022"});
    };
    row("two-byte value, high byte first", "TwoByteTest", 300, "077f244d0000012c");
    row("one-byte value", "TemperatureSettings", 2, "067a2440000002");
    row("Fahrenheit units go up by 0x1C", "TemperatureSettings", 5, "066e2440000021");
    row("pressure at the sensor's scale", "ThresholdsPressure1A1", 2.5, "074a244a000100fa");
    row("negative temperature in hundredths", "ThresholdsTemp1A1", -10.5, "076d244b0001fbe6");
    row("bool", "RemoteSwitchingOutput", true, "066d2459000001");
    row("text while edits are forwarded", "ApplicationTag", QStringLiteral("Pneumatics"),
        "06642418000001");
    row("text while settings are pushed", "ApplicationTag", QStringLiteral("Pneumatics"),
        "06752418000000", false);
    QTest::newRow("size outside the write frame")
        << "OddSizeTest" << QVariant(3) << true << true << false << QStringList({"027022"});
    QTest::newRow("live data on: no process-data frame after it")
        << "TemperatureSettings" << QVariant(2) << true << true << true
        << QStringList({"027327", "067a2440000002"});
    QTest::newRow("no sensor: nothing at all")
        << "TemperatureSettings" << QVariant(2) << true << false << false << QStringList();
}

void tst_Sequences::writeFrames()
{
    QFETCH(QString, id);
    QFETCH(QVariant, value);
    QFETCH(bool, forwarding);
    QFETCH(bool, connected);
    QFETCH(bool, liveData);
    QFETCH(QStringList, sent);
    attachMaster();
    m_window->sensorConnected = connected;
    addIntProperty(QStringLiteral("TwoByteTest"), QStringLiteral("77;0;7"));
    addIntProperty(QStringLiteral("OddSizeTest"), QStringLiteral("78;0;5"));
    data().pressureDivisor = 100.0;
    data().liveDataEnabled = liveData;
    m_window->editForwarding = forwarding;
    m_window->pendingProperty = property(id.toLatin1());
    m_window->pendingValue = value;
    m_window->sendDelayTimer()->start();

    QVERIFY(QMetaObject::invokeMethod(m_window.get(), "sendDelayValue"));
    QCOMPARE(m_master->queryLog(), frames(sent));
    QVERIFY(!m_window->sendDelayTimer()->isActive());
}

void tst_Sequences::writeAllSkipsReadOnlyTeachAndPropertylessEntries()
{
    attachMaster();
    addIntProperty(QStringLiteral("Valuereadonly"), QStringLiteral("99;0;6"));
    m_window->parameterAddresses.insert(QStringLiteral("Orphan"), QStringLiteral("98;0;6"));
    QVERIFY(QMetaObject::invokeMethod(m_window.get(), "vWriteAllSettings", Q_ARG(bool, false)));

    QStringList written;
    for (const QByteArray &write : withCommand(m_master->queryLog(), 0x24))
        written << idAt(addressOf(write));
    QCOMPARE(written, QStringList({"AnalogMode",
                                   "ApplicationTag",
                                   "DataStorageLock",
                                   "FilterSettings",
                                   "NONCA1",
                                   "NONCA2",
                                   "OffDelay1",
                                   "OffDelay2",
                                   "OnDelay1",
                                   "OnDelay2",
                                   "PinFunctionA1",
                                   "PinFunctionA2",
                                   "RemoteSwitchingOutput",
                                   "TemperatureSettings",
                                   "ThresholdsPressure1A1",
                                   "ThresholdsPressure1A2",
                                   "ThresholdsPressure2A1",
                                   "ThresholdsPressure2A2",
                                   "ThresholdsTemp1A1",
                                   "ThresholdsTemp1A2",
                                   "ThresholdsTemp2A1",
                                   "ThresholdsTemp2A2",
                                   "Valuereadonly",
                                   "analogPressure0V",
                                   "analogPressure10V",
                                   "analogTemp0V",
                                   "analogTemp10V",
                                   "remoteAnalogValue"}));
    QVERIFY(data().watchdogTimer.isActive());
}

void tst_Sequences::writeAllStoresTheWindowsValuesInTheSensor()
{
    attachMaster();
    data().intManager->setValue(property("OnDelay1"), 1500);
    data().enumManager->setValue(property("TemperatureSettings"), 6);
    m_window->form()->actionEnable_live_data->setChecked(true);
    data().liveDataEnabled = true;
    QtProperty *editable = property("OffDelay1");
    editable->setEnabled(false);
    m_window->sendDelayTimer()->stop();

    QVERIFY(QMetaObject::invokeMethod(m_window.get(), "vWriteAllSettings", Q_ARG(bool, false)));
    QCOMPARE(m_master->simulator().parameter(QStringLiteral("OnDelay1")), QVariant(1500));
    QCOMPARE(m_master->simulator().parameter(QStringLiteral("TemperatureSettings")),
             QVariant(6 + 0x1C));
    QVERIFY(m_window->form()->actionEnable_live_data->isChecked());
    QVERIFY(data().liveDataEnabled);
    QVERIFY(editable->isEnabled());
    QVERIFY(!m_window->sendDelayTimer()->isActive());
}

void tst_Sequences::factoryResetThenReadsEverythingBack()
{
    attachMaster();
    m_master->simulator().setParameter(QStringLiteral("OnDelay1"), 1500);
    data().intManager->setValue(property("OnDelay1"), 1500);
    m_window->form()->actionEnable_live_data->setChecked(false);

    QVERIFY(m_window->bFactoryResetSequence());
    const QList<QByteArray> log = m_master->queryLog();
    const int reads = m_window->parameterAddresses.size();
    QCOMPARE(log.size(), 4 + 4 * reads + 4);
    QCOMPARE(log.mid(0, 4), frames({"027327", "066b2402000082", "027022", "027022"}));
    QCOMPARE(log.mid(4 + 4 * reads), frames({"056b26410000", "027022", "027022", "027327"}));
    QCOMPARE(valueOf(property("OnDelay1")), QVariant(0));
    QVERIFY(m_window->form()->actionEnable_live_data->isChecked());
    QVERIFY(data().progressDialog.isVisible());
    QCOMPARE(data().progressBar->maximum(), 380);
}

void tst_Sequences::updateDialogPacesAndCloses()
{
    m_window->show();
    data().progressMaximum = 5;
    m_window->vShowUpdateDialog(true);
    QDialog &dialog = data().progressDialog;
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.isModal());
    QVERIFY(!data().showTransferUi);

    QTRY_VERIFY(!dialog.isVisible());
    QCOMPARE(data().progressBar->value(), 5);
    QVERIFY(data().showTransferUi);
    QCOMPARE(data().progressMaximum, 350);

    // Shown again, the same two widgets are laid out once.
    m_window->vShowUpdateDialog(true);
    QCOMPARE(data().progressLayout->count(), 2);
    m_window->vShowUpdateDialog(false);
    QVERIFY(!dialog.isVisible());
    QVERIFY(data().showTransferUi);
}

void tst_Sequences::endOfUpdateDialogAfterConnecting_data()
{
    QTest::addColumn<bool>("autoConnecting");
    QTest::addColumn<bool>("liveDataChosen");
    QTest::addColumn<bool>("liveData");
    QTest::newRow("chosen port, live data off") << false << false << false;
    QTest::newRow("chosen port, live data on") << false << true << true;
    QTest::newRow("automatic connection switches live data on") << true << false << true;
}

void tst_Sequences::endOfUpdateDialogAfterConnecting()
{
    QFETCH(bool, autoConnecting);
    QFETCH(bool, liveDataChosen);
    QFETCH(bool, liveData);
    attachMaster();
    m_window->updateComPortList({QStringLiteral("COM1"), QStringLiteral("SIM")});
    data().portCombo->setCurrentIndex(3);
    m_window->form()->actionEnable_live_data->setChecked(liveDataChosen);
    m_window->form()->chartToolbar->setEnabled(false);
    data().justConnected = true;
    data().autoConnecting = autoConnecting;
    data().progressMaximum = 2;
    m_window->vShowUpdateDialog(true);

    QTRY_VERIFY(!data().justConnected);
    QCOMPARE(m_window->form()->actionEnable_live_data->isChecked(), liveData);
    QCOMPARE(data().liveDataEnabled, liveData);
    QCOMPARE(data().activePortIndex, 3);
    QVERIFY(data().pollTimer.isActive());
    QVERIFY(data().watchdogTimer.isActive());
    QVERIFY(m_window->form()->chartToolbar->isEnabled());
}

void tst_Sequences::runSequence(SensorWindow *window, const QString &name)
{
    window->sensorConnected = true;
    window->pendingProperty = property("OnDelay1");
    window->pendingValue = 1200;
    if (name == QLatin1String("identity check"))
        window->bCheckSensorIdentity();
    else if (name == QLatin1String("read-all"))
        window->readAllParameters();
    else if (name == QLatin1String("write-all"))
        window->vWriteAllSettings(false);
    else if (name == QLatin1String("single write"))
        window->sendDelayValue();
    else if (name == QLatin1String("connecting"))
        window->bConnectToSensor();
    else
        QFAIL("unknown sequence");
}

// Closing or deleting the window, or quitting the host, inside a wait: no further frame, no pause
// runs out.
void tst_Sequences::sequenceEndsAtOnceWhenItsWaitIsCutShort_data()
{
    QTest::addColumn<QString>("sequence");
    QTest::addColumn<QString>("cut");
    QTest::addColumn<int>("framesSent");
    for (const char *cut : {"window closed", "window deleted", "quit"}) {
        QTest::addRow("%s during an identity check", cut) << "identity check" << cut << 7;
        QTest::addRow("%s during read-all", cut) << "read-all" << cut << 2;
        QTest::addRow("%s during write-all", cut) << "write-all" << cut << 3;
        QTest::addRow("%s during a single write", cut) << "single write" << cut << 1;
        QTest::addRow("%s while connecting", cut) << "connecting" << cut << 4;
    }
}

void tst_Sequences::sequenceEndsAtOnceWhenItsWaitIsCutShort()
{
    QFETCH(QString, sequence);
    QFETCH(QString, cut);
    QFETCH(int, framesSent);
    BravoSensorPlugin::Core::setPlatformSleepScale(1.0);
    ScriptedConnection master([](const QByteArray &query) { return query; });
    data().connection = &master;
    QElapsedTimer sinceCut;
    master.setWhileInFlight([&] {
        if (int(master.records().size()) != framesSent)
            return;
        sinceCut.start();
        if (cut == QLatin1String("quit"))
            QCoreApplication::exit(0);
        else if (cut == QLatin1String("window closed"))
            m_window->close();
        else
            m_window.reset();
    });
    runSequence(m_window.get(), sequence);
    const qint64 endedAfter = sinceCut.elapsed();
    // Counted before the event loop runs again: the transfer whose wait found the application
    // quitting is queued, but nothing waits for it.
    const int sent = int(master.records().size());
    if (cut == QLatin1String("quit"))
        forgetQuit();
    BravoSensorPlugin::Core::setPlatformSleepScale(0);

    QCOMPARE(sent, framesSent);
    QCOMPARE(bool(m_window), cut != QLatin1String("window deleted"));
    QVERIFY2(endedAfter < 1000, qPrintable(QString::number(endedAfter)));
    QVERIFY(!BravoSensorPlugin::Core::platformSleepInterrupted());
}

// A timer or a user action that comes inside the wait of a read: the read's four frames stay
// together.
void tst_Sequences::noSecondSequenceStartsInsideAWait_data()
{
    QTest::addColumn<QString>("source");
    QTest::newRow("write coming due") << "write";
    QTest::newRow("watchdog") << "watchdog";
    QTest::newRow("Read") << "Read";
    QTest::newRow("Write") << "Write";
    QTest::newRow("choosing Offline") << "Offline";
}

void tst_Sequences::noSecondSequenceStartsInsideAWait()
{
    QFETCH(QString, source);
    attachMaster();
    m_window->pendingProperty = property("OnDelay1");
    m_window->pendingValue = 1200;
    QTimer::singleShot(0, m_window.get(), [this, source] {
        if (source == QLatin1String("write"))
            QMetaObject::invokeMethod(m_window.get(), "sendDelayValue");
        else if (source == QLatin1String("watchdog"))
            QMetaObject::invokeMethod(m_window.get(), "slotContinousDataTimeout");
        else if (source == QLatin1String("Read"))
            m_window->form()->actionRead->trigger();
        else if (source == QLatin1String("Write"))
            m_window->form()->actionWriting->trigger();
        else
            emit data().portCombo->activated(0);
    });
    m_window->readParameter(QStringLiteral("OnDelay1"), false);

    const QList<QByteArray> read = m_master->queryLog();
    QCOMPARE(read.size(), 4);
    QCOMPARE(read.last(), QByteArray::fromHex("027327"));
    QVERIFY(m_window->sensorConnected);
    if (source == QLatin1String("watchdog"))
        QVERIFY(data().watchdogTimer.isActive());
    if (source != QLatin1String("write"))
        return;
    // The write went out after the read.
    QVERIFY(m_window->sendTimer.isActive());
    QTRY_COMPARE(withCommand(m_master->queryLog(), 0x24).size(), 1);
    QCOMPARE(m_master->simulator().parameter(QStringLiteral("OnDelay1")), QVariant(1200));
}

QTEST_MAIN(tst_Sequences)
#include "tst_sequences.moc"
