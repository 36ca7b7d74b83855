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

Record record(const QByteArray &query, const std::string &pattern = ".*",
              double timeoutMs = 10000.0)
{
    Record r;
    r.query = query.toStdString();
    r.answerPattern = pattern;
    r.timeoutMs = timeoutMs;
    return r;
}

} // namespace

Q_DECLARE_METATYPE(FaultSettings)

class tst_SimulatedConnection : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_connection = simulatedMaster(QStringLiteral("KR7D-P250")); }
    void listsFinishInQueueOrderAfterSendingReturned();
    void recordsTellWhatCameBack_data();
    void recordsTellWhatCameBack();
    void rawDataReachesTheSensor();

private:
    // Time-outs run at 1 % of what the records ask for.
    std::unique_ptr<SimulatedConnection> m_connection;
};

void tst_SimulatedConnection::listsFinishInQueueOrderAfterSendingReturned()
{
    QSignalSpy finished(m_connection.get(), &SimulatedConnection::emitFinished);
    DataFrame first{record(kProbe), record(BravoSensorPlugin::Core::readRequestFrame(19, 0))};
    DataFrame second{record(QByteArray::fromHex("027327"))};
    const unsigned int firstId = m_connection->uiSendDataFrames(&first);
    const unsigned int secondId = m_connection->uiSendDataFrames(&second);
    QVERIFY(firstId != 0 && secondId != 0 && firstId != secondId);
    QVERIFY(finished.isEmpty());
    QCOMPARE(m_connection->iPendingTransfers(), 2);
    QTRY_COMPARE(finished.size(), 2);
    QCOMPARE(finished.at(0).at(0).toUInt(), firstId);
    QCOMPARE(finished.at(1).at(0).toUInt(), secondId);
    QCOMPARE(m_connection->iPendingTransfers(), 0);
    QCOMPARE(m_connection->queryLog().size(), 3);
    // The fetch of the second list sees the read request of the first.
    QCOMPARE(QByteArray::fromStdString(second.front().answer).mid(4), QByteArray("K7DB025"));
}

void tst_SimulatedConnection::recordsTellWhatCameBack_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<double>("timeoutMs");
    QTest::addColumn<FaultSettings>("faults");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("outcomes");
    const auto faults = [](int latencyMs, int dropEvery, qint64 unplugAfterMs) {
        return FaultSettings{latencyMs, dropEvery, 0, unplugAfterMs};
    };
    const FaultSettings none;
    // One mark per probe: matched (1), answered but not matched (0) or no answer (-). The probe's
    // answer is 03 40 12 00.
    QTest::newRow("pattern matches anywhere") << "1200" << 10000.0 << none << false << "1";
    QTest::newRow("pattern misses") << "^04" << 10000.0 << none << false << "0";
    QTest::newRow("lost answer") << ".*" << 10000.0 << faults(0, 2, -1) << false << "1-1";
    QTest::newRow("latency inside the time-out")
        << ".*" << 10000.0 << faults(30, 0, -1) << false << "1";
    QTest::newRow("latency beyond the time-out")
        << ".*" << 2000.0 << faults(30, 0, -1) << false << "-";
    QTest::newRow("unplugged master") << ".*" << 10000.0 << faults(0, 0, 0) << false << "-";
    // Waiting out the time-out would outlast the transfer's wait.
    QTest::newRow("closed port fails at once") << ".*" << 1e6 << none << true << "-";
}

void tst_SimulatedConnection::recordsTellWhatCameBack()
{
    QFETCH(QString, pattern);
    QFETCH(double, timeoutMs);
    QFETCH(FaultSettings, faults);
    QFETCH(bool, closed);
    QFETCH(QString, outcomes);
    m_connection->simulator().setFaults(faults);
    if (closed)
        m_connection->vClose();
    QCOMPARE(m_connection->bIsOpen(), !closed);
    QCOMPARE(m_connection->bPortLost(), faults.unplugAfterMs == 0);
    DataFrame frames(outcomes.size(), record(kProbe, pattern.toStdString(), timeoutMs));
    QSignalSpy finished(m_connection.get(), &SimulatedConnection::emitFinished);
    QElapsedTimer clock;
    clock.start();
    m_connection->uiSendDataFrames(&frames);
    QVERIFY(finished.wait(5000));
    QVERIFY(clock.elapsed() >= qMin(faults.latencyMs, int(timeoutMs / 100)));
    QString seen;
    for (const Record &r : frames)
        seen += r.status == 1 ? '1' : r.answer.empty() ? '-' : '0';
    QCOMPARE(seen, outcomes);
}

void tst_SimulatedConnection::rawDataReachesTheSensor()
{
    const QByteArray write = BravoSensorPlugin::Core::writeFrame(83, 0, 7, 1200);
    m_connection->vSendRawData(write.toStdString());
    QCOMPARE(m_connection->queryLog(), QList<QByteArray>{write});
    QCOMPARE(m_connection->simulator().parameter(QStringLiteral("OnDelay2")).toInt(), 1200);
}

QTEST_GUILESS_MAIN(tst_SimulatedConnection)
#include "tst_simulatedconnection.moc"
