#include <simulator/mastersimulator.h>
#include <simulator/simulatedconnection.h>

#include <support/simulatedmaster.h>

#include <comm/frame.h>

#include <QtTest>

using namespace Kr7dSim;
using Record = ExtensionSystem::CommunicationInterface::DataFrameRecord;
using DataFrame = ExtensionSystem::CommunicationInterface::DataFrame;

namespace {

const QByteArray kProbe = QByteArray::fromHex("03511201");
const QByteArray kReadProductId = QByteArray::fromHex("054626130000");
const QByteArray kResultFetch = QByteArray::fromHex("027327");

std::unique_ptr<SimulatedConnection> connectionTo(const QString &sensor
                                                  = QStringLiteral("KR7D-P250"),
                                                  const QString &variant = QStringLiteral("025"))
{
    QString error;
    auto simulator
        = MasterSimulator::fromFile(descriptionPath(), {sensor, variant, QString()}, &error);
    if (!simulator)
        qFatal("%s", qPrintable(error));
    ExtensionSystem::PortSettings settings;
    settings.portName = QStringLiteral("SIM1");
    return std::make_unique<SimulatedConnection>(std::move(simulator), settings);
}

Record record(const QByteArray &query, const std::string &pattern = ".*", double timeoutMs = 2000.0)
{
    Record r;
    r.query = query.toStdString();
    r.answerPattern = pattern;
    r.timeoutMs = timeoutMs;
    return r;
}

// Sends the list and waits, through the event loop, until it is finished.
bool transfer(SimulatedConnection &connection, DataFrame &frames)
{
    QSignalSpy finished(&connection, &SimulatedConnection::emitFinished);
    const unsigned int id = connection.uiSendDataFrames(&frames);
    return finished.wait(5000) && finished.constFirst().constFirst().toUInt() == id;
}

QByteArray answerOf(const Record &r)
{
    return QByteArray::fromStdString(r.answer);
}

} // namespace

class tst_SimulatedConnection : public QObject
{
    Q_OBJECT

private slots:
    void finishesOnlyAfterSendingReturned();
    void listsAreAnsweredInQueueOrder();
    void answerPatternDecidesStatus_data();
    void answerPatternDecidesStatus();
    void lostAnswerFailsAfterScaledTimeout();
    void latencyDelaysOrLosesTheAnswer_data();
    void latencyDelaysOrLosesTheAnswer();
    void closedConnectionFailsAtOnce();
    void unpluggedMasterIsALostPort();
    void rawDataReachesTheSensor();
};

void tst_SimulatedConnection::finishesOnlyAfterSendingReturned()
{
    auto connection = connectionTo();
    bool returned = false;
    bool finishedEarly = false;
    connect(connection.get(), &SimulatedConnection::emitFinished, this,
            [&] { finishedEarly = !returned; });
    QSignalSpy finished(connection.get(), &SimulatedConnection::emitFinished);
    DataFrame empty;
    connection->uiSendDataFrames(&empty);
    returned = true;
    QVERIFY(finished.isEmpty());
    QCOMPARE(connection->iPendingTransfers(), 1);
    QVERIFY(finished.wait(5000));
    QVERIFY(!finishedEarly);
    QCOMPARE(connection->iPendingTransfers(), 0);
}

void tst_SimulatedConnection::listsAreAnsweredInQueueOrder()
{
    auto connection = connectionTo();
    QSignalSpy finished(connection.get(), &SimulatedConnection::emitFinished);
    DataFrame first{record(kProbe), record(kReadProductId)};
    DataFrame second{record(kResultFetch)};
    const unsigned int firstId = connection->uiSendDataFrames(&first);
    const unsigned int secondId = connection->uiSendDataFrames(&second);
    QVERIFY(firstId != 0 && secondId != 0 && firstId != secondId);
    QTRY_COMPARE(finished.size(), 2);
    QCOMPARE(finished.at(0).at(0).toUInt(), firstId);
    QCOMPARE(finished.at(1).at(0).toUInt(), secondId);
    QCOMPARE(connection->queryLog(), (QList<QByteArray>{kProbe, kReadProductId, kResultFetch}));
    for (const Record &r : first)
        QCOMPARE(r.status, 1);
    // The fetch of the second list sees the read request of the first.
    QCOMPARE(second.front().status, 1);
    QCOMPARE(answerOf(second.front()).mid(4), QByteArrayLiteral("K7DB025"));
}

void tst_SimulatedConnection::answerPatternDecidesStatus_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("status");
    // The probe's answer is 03 40 12 00.
    QTest::newRow("command and status anywhere") << "1200" << 1;
    QTest::newRow("other length") << "^04" << 0;
}

void tst_SimulatedConnection::answerPatternDecidesStatus()
{
    QFETCH(QString, pattern);
    QFETCH(int, status);
    auto connection = connectionTo();
    DataFrame frames{record(kProbe, pattern.toStdString())};
    QVERIFY(transfer(*connection, frames));
    QCOMPARE(frames.front().status, status);
    QCOMPARE(answerOf(frames.front()).size(), 4);
}

void tst_SimulatedConnection::lostAnswerFailsAfterScaledTimeout()
{
    auto connection = connectionTo();
    connection->setTimeoutScale(0.01);
    FaultSettings faults;
    faults.dropEvery = 2;
    connection->simulator().setFaults(faults);
    DataFrame frames{record(kProbe), record(kProbe), record(kProbe)};
    QElapsedTimer clock;
    clock.start();
    QVERIFY(transfer(*connection, frames));
    QVERIFY(clock.elapsed() >= 20);
    const std::vector<int> statuses{frames.begin()->status, std::next(frames.begin())->status,
                                    frames.back().status};
    QCOMPARE(statuses, (std::vector<int>{1, 0, 1}));
    QVERIFY(std::next(frames.begin())->answer.empty());
    QCOMPARE(connection->simulator().counters().answersDropped, 1);
}

void tst_SimulatedConnection::latencyDelaysOrLosesTheAnswer_data()
{
    QTest::addColumn<int>("latencyMs");
    QTest::addColumn<double>("timeoutMs");
    QTest::addColumn<int>("status");
    QTest::newRow("inside the time-out") << 30 << 2000.0 << 1;
    QTest::newRow("beyond the time-out") << 30 << 20.0 << 0;
}

void tst_SimulatedConnection::latencyDelaysOrLosesTheAnswer()
{
    QFETCH(int, latencyMs);
    QFETCH(double, timeoutMs);
    QFETCH(int, status);
    auto connection = connectionTo();
    FaultSettings faults;
    faults.latencyMs = latencyMs;
    connection->simulator().setFaults(faults);
    DataFrame frames{record(kProbe, ".*", timeoutMs)};
    QElapsedTimer clock;
    clock.start();
    QVERIFY(transfer(*connection, frames));
    QVERIFY(clock.elapsed() >= qMin<qint64>(latencyMs, qint64(timeoutMs)));
    QCOMPARE(frames.front().status, status);
}

void tst_SimulatedConnection::closedConnectionFailsAtOnce()
{
    auto connection = connectionTo();
    connection->vClose();
    QVERIFY(!connection->bIsOpen());
    DataFrame frames{record(kProbe, ".*", 60000.0)};
    QElapsedTimer clock;
    clock.start();
    QVERIFY(transfer(*connection, frames));
    QVERIFY(clock.elapsed() < 30000);
    QCOMPARE(frames.front().status, 0);
    QCOMPARE(connection->simulator().counters().requestsSeen, 0);
}

void tst_SimulatedConnection::unpluggedMasterIsALostPort()
{
    auto connection = connectionTo();
    connection->setTimeoutScale(0.001);
    QVERIFY(!connection->bPortLost());
    FaultSettings faults;
    faults.unplugAfterMs = 0;
    connection->simulator().setFaults(faults);
    QVERIFY(connection->bPortLost());
    DataFrame frames{record(kProbe)};
    QVERIFY(transfer(*connection, frames));
    QCOMPARE(frames.front().status, 0);
}

void tst_SimulatedConnection::rawDataReachesTheSensor()
{
    auto connection = connectionTo();
    const QByteArray write = BravoSensorPlugin::Core::writeFrame(83, 0, 7, 1200);
    connection->vSendRawData(write.toStdString());
    QCOMPARE(connection->queryLog(), QList<QByteArray>{write});
    QCOMPARE(connection->simulator().parameter(QStringLiteral("OnDelay2")).toInt(), 1200);
    connection->clearQueryLog();
    QVERIFY(connection->queryLog().isEmpty());
}

QTEST_GUILESS_MAIN(tst_SimulatedConnection)
#include "tst_simulatedconnection.moc"
