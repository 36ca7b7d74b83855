#include "devicetestkit.h"

#include <comm/platformsleep.h>
#include <plugin/sensorcatalogue.h>
#include <window/sensorwindow.h>
#include <window/sensorwindowdata.h>

#include <utils/progressbarui.h>

#include <QElapsedTimer>
#include <QtTest>

using BravoSensorPlugin::Core::SensorWindow;

namespace {

using Record = ExtensionSystem::CommunicationInterface::DataFrameRecord;

ExtensionSystem::SensorBasic sensorNamed(const std::string &name)
{
    for (const ExtensionSystem::SensorBasic &sensor :
         BravoSensorPlugin::Core::buildSensorCatalogue()) {
        if (sensor.name() == name)
            return sensor;
    }
    return {};
}

} // namespace

class tst_Transport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void checkOctetOfEveryFixedFrame_data();
    void checkOctetOfEveryFixedFrame();
    void withoutConnectionNothingWaits();
    void sendFrameSucceedsOnlyOnACleanAnswer_data();
    void sendFrameSucceedsOnlyOnACleanAnswer();
    void requestAnswerHandsBackTheAnswerUnchanged();
    void probeNeedsAFourByteAnswer_data();
    void probeNeedsAFourByteAnswer();
    void identityFetchWaitsForTheSerialLine_data();
    void identityFetchWaitsForTheSerialLine();
    void waitIndicationOnlyWhileTransfersMayShowIt_data();
    void waitIndicationOnlyWhileTransfersMayShowIt();
    void aConnectionDeletedMidTransferEndsTheWait();
    void aListTheSenderGaveUpOnStaysValidForTheConnection();

private:
    SensorWindow &window() { return *m_window; }
    BravoSensorPlugin::Core::SensorWindowData &data() { return *m_window->windowData(); }

    ExtensionSystem::SensorBasic m_sensor;
    std::unique_ptr<SensorWindow> m_window;
};

void tst_Transport::initTestCase()
{
    BravoSensorPlugin::Core::setPlatformSleepScale(0);
    m_sensor = sensorNamed("KR7D-P025");
    QVERIFY(!m_sensor.name().empty());
}

void tst_Transport::init()
{
    m_window = std::make_unique<SensorWindow>(m_sensor);
}

void tst_Transport::cleanup()
{
    m_window.reset();
}

void tst_Transport::checkOctetOfEveryFixedFrame_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("probe") << QByteArray::fromHex("03511201");
    QTest::newRow("identity setup") << QByteArray::fromHex("0473110903");
    QTest::newRow("process data") << QByteArray::fromHex("027022");
    QTest::newRow("identity start") << QByteArray::fromHex("03702103");
    QTest::newRow("product id read") << QByteArray::fromHex("054626130000");
    QTest::newRow("result fetch") << QByteArray::fromHex("027327");
    QTest::newRow("factory reset") << QByteArray::fromHex("066b2402000082");
}

void tst_Transport::checkOctetOfEveryFixedFrame()
{
    QFETCH(QByteArray, frame);
    const quint8 command = quint8(frame.at(2));
    const QByteArray parameters = frame.mid(3);
    QCOMPARE(0x40 | window().checkOctet(command, parameters, parameters.size()),
             int(quint8(frame.at(1))));
}

void tst_Transport::withoutConnectionNothingWaits()
{
    QElapsedTimer clock;
    clock.start();
    bool connected = true;
    QVERIFY(
        QMetaObject::invokeMethod(&window(), "bCheckConnection", Q_RETURN_ARG(bool, connected)));
    QVERIFY(!connected);
    QVERIFY(!window().bSendFrame(QByteArray::fromHex("027022"), true));
    QVERIFY(window().requestAnswer(QByteArray::fromHex("027327")).isEmpty());
    QVERIFY(clock.elapsed() < 500);
    QVERIFY(window().findChildren<Utils::ProgressBarUi *>().isEmpty());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void tst_Transport::sendFrameSucceedsOnlyOnACleanAnswer_data()
{
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<int>("dropEvery");
    QTest::addColumn<bool>("success");
    QTest::newRow("answered") << QByteArray::fromHex("027022") << 0 << true;
    // The master answers a damaged frame with "ERROR".
    QTest::newRow("error answer") << QByteArray::fromHex("027122") << 0 << false;
    QTest::newRow("no answer") << QByteArray::fromHex("027022") << 1 << false;
}

void tst_Transport::sendFrameSucceedsOnlyOnACleanAnswer()
{
    QFETCH(QByteArray, query);
    QFETCH(int, dropEvery);
    QFETCH(bool, success);
    std::unique_ptr<Kr7dSim::SimulatedConnection> master
        = simulatedMaster(QString::fromStdString(m_sensor.name()));
    Kr7dSim::FaultSettings faults;
    faults.dropEvery = dropEvery;
    master->simulator().setFaults(faults);
    data().connection = master.get();

    QCOMPARE(window().bSendFrame(query, false), success);
    QCOMPARE(master->queryLog(), QList<QByteArray>{query});
}

void tst_Transport::requestAnswerHandsBackTheAnswerUnchanged()
{
    ScriptedConnection connection([](const QByteArray &) {
        return QByteArray("\x06\x40"
                          "ERROR",
                          7);
    });
    data().connection = &connection;
    QCOMPARE(window().requestAnswer(QByteArray::fromHex("027327")), QByteArray("\x06\x40"
                                                                               "ERROR",
                                                                               7));
}

void tst_Transport::probeNeedsAFourByteAnswer_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("connected");
    QTest::newRow("four bytes") << QByteArray::fromHex("03501200") << true;
    QTest::newRow("three bytes") << QByteArray::fromHex("025012") << false;
    QTest::newRow("five bytes") << QByteArray::fromHex("0450120000") << false;
    QTest::newRow("none") << QByteArray() << false;
}

void tst_Transport::probeNeedsAFourByteAnswer()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, connected);
    ScriptedConnection connection([answer](const QByteArray &) -> std::optional<QByteArray> {
        return answer.isEmpty() ? std::nullopt : std::optional<QByteArray>(answer);
    });
    data().connection = &connection;
    bool result = !connected;
    QVERIFY(QMetaObject::invokeMethod(&window(), "bCheckConnection", Q_RETURN_ARG(bool, result)));
    QCOMPARE(result, connected);
    QCOMPARE(connection.records().size(), size_t(1));
    QCOMPARE(QByteArray::fromStdString(connection.records().front().query),
             QByteArray::fromHex("03511201"));
}

void tst_Transport::identityFetchWaitsForTheSerialLine_data()
{
    QTest::addColumn<QString>("sensor");
    QTest::addColumn<double>("fetchTimeoutMs");
    // linedelay + characterdelay x 3 + 2000
    QTest::newRow("no character delay") << "KR7D-P025" << 2005.0;
    QTest::newRow("with character delay") << "KR7D-P600" << 2013.0;
}

void tst_Transport::identityFetchWaitsForTheSerialLine()
{
    QFETCH(QString, sensor);
    QFETCH(double, fetchTimeoutMs);
    SensorWindow window(sensorNamed(sensor.toStdString()));
    ScriptedConnection connection([](const QByteArray &query) { return query; });
    window.windowData()->connection = &connection;
    window.bCheckSensorIdentity();

    const std::vector<Record> &records = connection.records();
    QCOMPARE(records.size(), size_t(8));
    for (size_t i = 0; i + 1 < records.size(); ++i)
        QCOMPARE(records[i].timeoutMs, 2000.0);
    QCOMPARE(QByteArray::fromStdString(records.back().query), QByteArray::fromHex("027327"));
    QCOMPARE(records.back().answerPattern, std::string());
    QCOMPARE(records.back().timeoutMs, fetchTimeoutMs);
}

void tst_Transport::waitIndicationOnlyWhileTransfersMayShowIt_data()
{
    QTest::addColumn<bool>("showUi");
    QTest::addColumn<bool>("showTransferUi");
    QTest::addColumn<bool>("shown");
    QTest::newRow("asked and allowed") << true << true << true;
    QTest::newRow("asked while the update dialog shows") << true << false << false;
    QTest::newRow("not asked") << false << true << false;
}

void tst_Transport::waitIndicationOnlyWhileTransfersMayShowIt()
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
        const QList<Utils::ProgressBarUi *> waits = window().findChildren<Utils::ProgressBarUi *>();
        indicator = !waits.isEmpty() && waits.last()->isUiVisible();
    });
    data().connection = &connection;
    data().showTransferUi = showTransferUi;
    QVERIFY(window().bSendFrame(QByteArray::fromHex("027022"), showUi));

    QCOMPARE(waitCursor, shown);
    QCOMPARE(indicator, shown);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    // Each transfer's wait is released once control is back in the event loop.
    QTRY_VERIFY(window().findChildren<Utils::ProgressBarUi *>().isEmpty());
}

void tst_Transport::aConnectionDeletedMidTransferEndsTheWait()
{
    auto *connection = new ScriptedConnection([](const QByteArray &query) { return query; });
    connection->holdTransfers();
    data().connection = connection;
    QTimer::singleShot(0, connection, &QObject::deleteLater);
    QVERIFY(!window().bSendFrame(QByteArray::fromHex("027022"), false));
    QVERIFY(!data().connection);
}

// A quit ends the wait while the connection still holds the list; the connection fails it later,
// as a released connection does.
void tst_Transport::aListTheSenderGaveUpOnStaysValidForTheConnection()
{
    ScriptedConnection connection([](const QByteArray &query) { return query; });
    connection.holdTransfers();
    data().connection = &connection;
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QVERIFY(!window().bSendFrame(QByteArray::fromHex("027022"), false));
    forgetQuit();
    connection.failHeldTransfers();
}

QTEST_MAIN(tst_Transport)
#include "tst_transport.moc"
