#include <comm/frame.h>

#include <extensionsystem/portsettings.h>
#include <extensionsystem/serialconnection.h>

#include <support/simulatorprocess.h>

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <memory>

using ExtensionSystem::CommunicationInterface;
using ExtensionSystem::PortSettings;
using ExtensionSystem::SerialConnection;
using DataFrame = CommunicationInterface::DataFrame;
using DataFrameRecord = CommunicationInterface::DataFrameRecord;

namespace {

DataFrame framesOf(const QByteArray &query, int count, double timeoutMs)
{
    DataFrameRecord record;
    record.query = query.toStdString();
    record.timeoutMs = timeoutMs;
    return DataFrame(std::size_t(count), record);
}

} // namespace

// The serial connection against the simulated master on a real pseudo-terminal.
class tst_SimulatorLink : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void requestsGetWholeFramedAnswers_data();
    void requestsGetWholeFramedAnswers();
    void vanishingMasterFailsTheRestWithoutHanging();

private:
    void startSimulator(const QStringList &arguments);

    std::unique_ptr<SimulatorProcess> m_simulator;
    std::unique_ptr<SerialConnection> m_connection;
};

void tst_SimulatorLink::cleanup()
{
    m_connection.reset();
    m_simulator.reset();
}

void tst_SimulatorLink::startSimulator(const QStringList &arguments)
{
    m_simulator = std::make_unique<SimulatorProcess>();
    QVERIFY(m_simulator->start(arguments));
    PortSettings settings;
    settings.portName = m_simulator->portPath();
    settings.vSetBaudrateDefault(2);
    m_connection = std::make_unique<SerialConnection>(settings);
    QVERIFY2(m_connection->open(), qPrintable(m_connection->errorString()));
}

void tst_SimulatorLink::requestsGetWholeFramedAnswers_data()
{
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<int>("answerLength");
    QTest::addColumn<bool>("refused");

    QTest::newRow("probe") << QByteArray::fromHex("03511201") << 4 << false;
    QTest::newRow("process data") << QByteArray::fromHex("027022") << 8 << false;
    QTest::newRow("bad check octet") << QByteArray::fromHex("03521201") << 7 << true;
}

void tst_SimulatorLink::requestsGetWholeFramedAnswers()
{
    QFETCH(QByteArray, query);
    QFETCH(bool, refused);

    startSimulator({QStringLiteral("--latency-ms"), QStringLiteral("5")});
    if (QTest::currentTestFailed())
        return;
    DataFrame frames = framesOf(query, 2, 2000);
    QSignalSpy finished(m_connection.get(), &CommunicationInterface::emitFinished);
    m_connection->uiSendDataFrames(&frames);

    QTRY_COMPARE(finished.count(), 1);
    for (const DataFrameRecord &record : frames) {
        const QByteArray answer = QByteArray::fromStdString(record.answer);
        QCOMPARE(record.status, 1);
        QTEST(answer.size(), "answerLength");
        QVERIFY2(BravoSensorPlugin::Core::isFrameIntact(answer), answer.toHex().constData());
        QCOMPARE(answer.contains("ERROR"), refused);
        if (!refused)
            QCOMPARE(answer.at(2), query.at(2));
    }
}

void tst_SimulatorLink::vanishingMasterFailsTheRestWithoutHanging()
{
    startSimulator({QStringLiteral("--latency-ms"), QStringLiteral("40"), QStringLiteral("--unplug-after-ms"),
                    QStringLiteral("400")});
    if (QTest::currentTestFailed())
        return;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Serial port .* lost")));

    // Answered one after the other, the list would outlast the simulator.
    DataFrame frames = framesOf(QByteArray::fromHex("03511201"), 40, 3000);
    QSignalSpy finished(m_connection.get(), &CommunicationInterface::emitFinished);
    QElapsedTimer clock;
    clock.start();
    m_connection->uiSendDataFrames(&frames);

    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 2500);
    QVERIFY2(clock.elapsed() < 2500, "records waited out their time-outs");
    QVERIFY(m_connection->bPortLost());
    const auto isAnswered = [](const DataFrameRecord &record) { return record.status == 1; };
    const auto firstFailed = std::find_if_not(frames.begin(), frames.end(), isAnswered);
    QVERIFY(firstFailed != frames.begin() && firstFailed != frames.end());
    QVERIFY(std::none_of(firstFailed, frames.end(), isAnswered));
}

QTEST_GUILESS_MAIN(tst_SimulatorLink)
#include "tst_simulatorlink.moc"
