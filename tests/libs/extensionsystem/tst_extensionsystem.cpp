#include <comm/frame.h>
#include <extensionsystem/answerrules.h>
#include <extensionsystem/connectionregistry.h>
#include <extensionsystem/frametrace.h>
#include <extensionsystem/plugininterface.h>
#include <extensionsystem/portsettings.h>
#include <extensionsystem/sensorbasic.h>
#include <extensionsystem/serialconnection.h>
#include <support/fakeconnection.h>
#include <support/ptydevice.h>

#include <QElapsedTimer>
#include <QPointer>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <climits>
#include <memory>
#include <sstream>
#include <vector>

using namespace ExtensionSystem;
using DataFrame = CommunicationInterface::DataFrame;
using DataFrameRecord = CommunicationInterface::DataFrameRecord;

namespace {

DataFrameRecord makeRecord(const QByteArray &query, double timeoutMs,
                           const std::string &pattern = std::string())
{
    DataFrameRecord record;
    record.query = query.toStdString();
    record.answerPattern = pattern;
    record.timeoutMs = timeoutMs;
    return record;
}

QByteArray bytes(const char *hex)
{
    return QByteArray::fromHex(hex);
}

// A master's answer: N, check octet, the command answered, then status and payload.
QByteArray answerTo(quint8 command, const char *hexBody = "00")
{
    return BravoSensorPlugin::Core::buildFrame(command, bytes(hexBody));
}

QString watchedPort;
int portWarnings = 0;

void countPortWarnings(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtWarningMsg && message.contains(watchedPort))
        ++portWarnings;
}

class TestPlugin final : public PluginInterface
{
public:
    // Starts from a non-null value so that a failed registration must clear it.
    CommunicationInterface *registerPort(const QString &portName)
    {
        PortSettings settings;
        settings.portName = portName;
        CommunicationInterface *connection = &m_sentinel;
        vRegisterConnection(settings, &connection, this);
        return connection;
    }
    void unregisterConnection() { vUnregisterConnection(this); }
    void unregisterPlugin() { vUnregisterPlugin(this); }

private:
    FakeConnection m_sentinel{PortSettings()};
};

const QString simulatedPrefix = QStringLiteral("SIM");

enum class OwnershipEnd { Unregistered, Destroyed, OtherPort, InItsSignal };

// An entry as a catalogue builder writes it: the sensor element's children,
// without the element's own tag, after the XML declaration.
std::string entryText(const std::string &children)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n" + children
           + "<max>600</max><min>-1</min>";
}

ConnectionRegistry &registry()
{
    return ConnectionRegistry::instance();
}

} // namespace

Q_DECLARE_METATYPE(OwnershipEnd)

class tst_ExtensionSystem : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void answerIsTheFirstIntactFrameForTheCommand_data();
    void answerIsTheFirstIntactFrameForTheCommand();
    void patternSearchesTheLowerCaseHexText_data();
    void patternSearchesTheLowerCaseHexText();
    void firstReplyDecidesOnlyTheFirstRecord_data();
    void firstReplyDecidesOnlyTheFirstRecord();
    void listsFromTwoCallersAreServedInOrderOneRecordAtATime();
    void finishedIsSignalledOnlyAfterTheCallReturns_data();
    void finishedIsSignalledOnlyAfterTheCallReturns();
    void delaysSpaceTheFrameWithoutBlockingTheEventLoop_data();
    void delaysSpaceTheFrameWithoutBlockingTheEventLoop();
    void unplugFailsTheRestAtOnceAndIsReportedOnce();
    void bytesGoneBeforeTheReadAreNoLoss();
    void openPortTakesNewSettingsAndRawData();
    void traceLinesReachFileAndSignalWithTheRoundTrip();
    void portIsRefusedWhileMissingOrHeldWithTheReason();
    void releaseStillFinishesPendingListsBeforeDeletion();
    void endOfOwnershipClosesThenDeletesTheConnection_data();
    void endOfOwnershipClosesThenDeletesTheConnection();
    void unusableSensorEntryLeavesTheRecordAsItWasForTheNext_data();
    void unusableSensorEntryLeavesTheRecordAsItWasForTheNext();

private:
    void openConnection(const PortSettings &settings = PortSettings());
    bool transfer(DataFrame &frames);

    std::unique_ptr<PtyDevice> m_device;
    std::unique_ptr<SerialConnection> m_connection;
};

void tst_ExtensionSystem::init()
{
    registry().setFactory(
        [](const PortSettings &settings) -> std::unique_ptr<CommunicationInterface> {
            if (!settings.portName.startsWith(simulatedPrefix))
                return nullptr;
            return std::make_unique<FakeConnection>(settings);
        });
    m_device = std::make_unique<PtyDevice>();
    QVERIFY(m_device->isValid());
}

void tst_ExtensionSystem::cleanup()
{
    registry().releaseAll();
    registry().setFactory(nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_connection.reset();
    m_device.reset();
}

void tst_ExtensionSystem::openConnection(const PortSettings &base)
{
    PortSettings settings = base;
    settings.portName = m_device->portName();
    m_connection = std::make_unique<SerialConnection>(settings);
    QVERIFY2(m_connection->open(), qPrintable(m_connection->errorString()));
}

// Sends one list and waits until it is finished.
bool tst_ExtensionSystem::transfer(DataFrame &frames)
{
    QSignalSpy finished(m_connection.get(), &CommunicationInterface::emitFinished);
    const unsigned int id = m_connection->uiSendDataFrames(&frames);
    return finished.wait(5000) && finished.constFirst().constFirst().toUInt() == id;
}

void tst_ExtensionSystem::answerIsTheFirstIntactFrameForTheCommand_data()
{
    QTest::addColumn<QByteArray>("buffer");
    QTest::addColumn<QByteArray>("answer");

    const QByteArray fetched = answerTo(0x27, "000102");
    QByteArray badCheck = fetched;
    badCheck[1] = char(badCheck.at(1) ^ 0x01);
    QByteArray badCount = fetched;
    badCount[0] = char(0x40);
    const QByteArray error = BravoSensorPlugin::Core::buildFrame('E', "RROR");
    QTest::newRow("answer of another request first")
        << answerTo(0x22, "0001020304") + fetched << fetched;
    QTest::newRow("damaged check octet first") << badCheck + fetched << fetched;
    // Without resynchronising, the record would wait for 64 bytes until its time-out.
    QTest::newRow("damaged count byte first") << badCount + fetched << fetched;
    QTest::newRow("noise first") << bytes("00ff01") + fetched << fetched;
    QTest::newRow("error frame answers any request") << error << error;
    QTest::newRow("only another request's answer") << answerTo(0x22) << QByteArray();
    QTest::newRow("answer not yet complete") << fetched.left(4) << QByteArray();
}

void tst_ExtensionSystem::answerIsTheFirstIntactFrameForTheCommand()
{
    QFETCH(QByteArray, buffer);
    QTEST(takeAnswerFrame(buffer, 0x27), "answer");
}

void tst_ExtensionSystem::patternSearchesTheLowerCaseHexText_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<bool>("matches");

    const QByteArray answer = QByteArray::fromHex("0473270AFF");
    QTest::newRow("empty pattern") << answer << QByteArray() << true;
    QTest::newRow("any text, even for no answer") << QByteArray() << QByteArray(".*") << true;
    QTest::newRow("unanchored, in the middle") << answer << QByteArray("270a") << true;
    QTest::newRow("hex text is lower case") << answer << QByteArray("0AFF") << false;
    QTest::newRow("invalid expression") << answer << QByteArray("(04") << false;
}

void tst_ExtensionSystem::patternSearchesTheLowerCaseHexText()
{
    QFETCH(QByteArray, answer);
    QFETCH(QByteArray, pattern);
    QTEST(answerMatches(answer, pattern.toStdString()), "matches");
}

void tst_ExtensionSystem::firstReplyDecidesOnlyTheFirstRecord_data()
{
    QTest::addColumn<QByteArrayList>("firstReply"); // written 30 ms apart
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<int>("firstStatus");
    QTest::addColumn<QByteArray>("firstAnswer");

    const QByteArray answer = answerTo(0x22, "00aabbcc");
    QTest::newRow("answer in pieces")
        << QByteArrayList{answer.left(1), answer.mid(1, 3), answer.mid(4)} << QByteArray() << 1
        << answer;
    QTest::newRow("partial answer, then time-out")
        << QByteArrayList{bytes("0470")} << QByteArray() << 0 << bytes("0470");
    QTest::newRow("whole answer followed by noise")
        << QByteArrayList{bytes("0370220000ffee04")} << QByteArray() << 1 << bytes("03702200");
    QTest::newRow("answer rejected by the pattern still handed over")
        << QByteArrayList{answer} << QByteArray("^0473") << 0 << answer;
}

void tst_ExtensionSystem::firstReplyDecidesOnlyTheFirstRecord()
{
    QFETCH(QByteArrayList, firstReply);
    QFETCH(QByteArray, pattern);

    openConnection();
    const QByteArray secondAnswer = answerTo(0x12);
    connect(m_device.get(), &PtyDevice::frameReceived, this, [&](const QByteArray &frame) {
        if (frame != bytes("027022")) {
            m_device->write(secondAnswer);
            return;
        }
        for (int i = 0; i < firstReply.size(); ++i)
            QTimer::singleShot(30 * i, m_device.get(),
                               [&, i] { m_device->write(firstReply.at(i)); });
    });

    DataFrame frames{makeRecord(bytes("027022"), 200, pattern.toStdString()),
                     makeRecord(bytes("03511201"), 200)};
    QVERIFY(transfer(frames));
    QTEST(frames.front().status, "firstStatus");
    QTEST(QByteArray::fromStdString(frames.front().answer), "firstAnswer");
    QCOMPARE(frames.back().status, 1);
    QCOMPARE(QByteArray::fromStdString(frames.back().answer), secondAnswer);
}

void tst_ExtensionSystem::listsFromTwoCallersAreServedInOrderOneRecordAtATime()
{
    openConnection();
    // The device answers each request late and echoes the request's last byte,
    // so a record sent before its predecessor was answered shows up as overlap.
    QByteArrayList requests;
    int outstanding = 0;
    int overlaps = 0;
    connect(m_device.get(), &PtyDevice::frameReceived, this, [&](const QByteArray &frame) {
        requests.append(frame);
        if (outstanding++ > 0)
            ++overlaps;
        QTimer::singleShot(20, m_device.get(), [&, last = frame.right(1)] {
            --outstanding;
            m_device->write(BravoSensorPlugin::Core::buildFrame(0x12, last));
        });
    });

    DataFrame first{makeRecord(bytes("03401201"), 500), makeRecord(bytes("03401202"), 500)};
    DataFrame second{makeRecord(bytes("03401203"), 500)};
    QSignalSpy finished(m_connection.get(), &CommunicationInterface::emitFinished);
    QSignalSpy traced(&FrameTrace::instance(), &FrameTrace::lineAdded);
    const unsigned int firstId = m_connection->uiSendDataFrames(&first);
    const unsigned int secondId = m_connection->uiSendDataFrames(&second);
    QVERIFY(firstId != 0 && secondId != 0 && firstId != secondId);
    QCOMPARE(m_connection->iPendingTransfers(), 2);
    // The idle link sent the first record from the call; the second list waits its turn.
    QCOMPARE(traced.count(), 1);

    QTRY_COMPARE(finished.count(), 2);
    QCOMPARE(finished.at(0).at(0).toUInt(), firstId);
    QCOMPARE(finished.at(1).at(0).toUInt(), secondId);
    QCOMPARE(overlaps, 0);
    const QByteArrayList expectedRequests{bytes("03401201"), bytes("03401202"), bytes("03401203")};
    QCOMPARE(requests, expectedRequests);
    QCOMPARE(QByteArray::fromStdString(second.front().answer), answerTo(0x12, "03"));
    QCOMPARE(m_connection->iPendingTransfers(), 0);
    QCoreApplication::processEvents();
    QCOMPARE(finished.count(), 2);
}

void tst_ExtensionSystem::finishedIsSignalledOnlyAfterTheCallReturns_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<bool>("closeFirst");

    QTest::newRow("empty list") << 0 << false;
    QTest::newRow("closed port") << 1 << true;
}

void tst_ExtensionSystem::finishedIsSignalledOnlyAfterTheCallReturns()
{
    QFETCH(int, records);
    QFETCH(bool, closeFirst);

    openConnection();
    if (closeFirst)
        m_connection->vClose();

    // A closed port fails its records at once, not after their time-out.
    DataFrame frames(std::size_t(records), makeRecord(bytes("03511201"), 3000));
    for (DataFrameRecord &record : frames)
        record.status = 7;
    bool returned = false;
    std::vector<bool> returnedAtFinish;
    connect(m_connection.get(), &CommunicationInterface::emitFinished, this,
            [&] { returnedAtFinish.push_back(returned); });
    m_connection->uiSendDataFrames(&frames);
    returned = true;

    QTRY_COMPARE_WITH_TIMEOUT(returnedAtFinish.size(), std::size_t(1), 1000);
    QVERIFY(returnedAtFinish.front());
    for (const DataFrameRecord &record : frames)
        QCOMPARE(record.status, 0);
}

void tst_ExtensionSystem::delaysSpaceTheFrameWithoutBlockingTheEventLoop_data()
{
    QTest::addColumn<int>("lineDelay");
    QTest::addColumn<int>("characterDelay");
    QTest::addColumn<int>("pauseMs");
    QTest::addColumn<int>("firstAtLeastMs");
    QTest::addColumn<int>("firstBelowMs");
    QTest::addColumn<int>("gapAtLeastMs");

    // Six bytes: five character delays between them. The gap runs from the first answer to the
    // whole second frame.
    QTest::newRow("line delay after an answer") << 150 << 0 << 0 << 0 << INT_MAX << 150;
    QTest::newRow("line quiet longer than the delay") << 150 << 0 << 250 << 0 << 150 << 150;
    QTest::newRow("character delay") << 0 << 40 << 0 << 200 << INT_MAX << 200;
}

void tst_ExtensionSystem::delaysSpaceTheFrameWithoutBlockingTheEventLoop()
{
    QFETCH(int, lineDelay);
    QFETCH(int, characterDelay);
    QFETCH(int, pauseMs);
    QFETCH(int, firstAtLeastMs);
    QFETCH(int, firstBelowMs);
    QFETCH(int, gapAtLeastMs);

    PortSettings settings;
    settings.lineDelay = lineDelay;
    settings.characterDelay = characterDelay;
    openConnection(settings);
    QTest::qWait(pauseMs);
    const QByteArray query = bytes("05462613000a");
    std::vector<qint64> framesArrivedMs;
    qint64 firstAnsweredMs = -1;
    QElapsedTimer clock;
    // A slow answer: the quiet runs from the answer, not from the request.
    connect(m_device.get(), &PtyDevice::frameReceived, this, [&] {
        framesArrivedMs.push_back(clock.elapsed());
        QTimer::singleShot(60, this, [&] {
            if (firstAnsweredMs < 0)
                firstAnsweredMs = clock.elapsed();
            m_device->write(answerTo(0x26));
        });
    });
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
    ticker.start(10);

    DataFrame frames(2, makeRecord(query, 2000));
    clock.start();
    QVERIFY(transfer(frames));
    QCOMPARE(m_device->received(), query + query);
    QCOMPARE(framesArrivedMs.size(), std::size_t(2));
    QVERIFY(framesArrivedMs.front() >= firstAtLeastMs);
    QVERIFY(framesArrivedMs.front() < firstBelowMs);
    QVERIFY(framesArrivedMs.back() - firstAnsweredMs >= gapAtLeastMs);
    QVERIFY(ticks >= (firstAtLeastMs + gapAtLeastMs) / 20);
    // Byte by byte means several reads on the device's side.
    QCOMPARE(m_device->readCount() > 2, characterDelay > 0);
}

void tst_ExtensionSystem::unplugFailsTheRestAtOnceAndIsReportedOnce()
{
    openConnection();
    watchedPort = m_device->portName();
    portWarnings = 0;
    const auto restoreHandler = qScopeGuard([previous = qInstallMessageHandler(countPortWarnings)] {
        qInstallMessageHandler(previous);
    });
    int requests = 0;
    connect(m_device.get(), &PtyDevice::frameReceived, this, [&] {
        if (++requests == 1)
            m_device->write(answerTo(0x12));
        else
            m_device->unplug();
    });

    DataFrame first(4, makeRecord(bytes("03511201"), 3000));
    DataFrame second(2, makeRecord(bytes("03511201"), 3000));
    QSignalSpy finished(m_connection.get(), &CommunicationInterface::emitFinished);
    m_connection->uiSendDataFrames(&first);
    m_connection->uiSendDataFrames(&second);

    // Well before the records' own time-outs.
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 2000);
    QVERIFY(m_connection->bPortLost());
    QVERIFY(!m_connection->bIsOpen());
    QCOMPARE(first.front().status, 1);
    QCOMPARE(first.back().status, 0);
    QCOMPARE(second.back().status, 0);
    QCOMPARE(portWarnings, 1);
}

void tst_ExtensionSystem::openPortTakesNewSettingsAndRawData()
{
    openConnection();
    PortSettings wanted;
    wanted.portName = QStringLiteral("/dev/elsewhere");
    wanted.vSetBaudrateDefault(4);
    // An index outside the table keeps the rate chosen before.
    wanted.vSetBaudrateDefault(-1);
    wanted.vSetBaudrateDefault(5);
    wanted.lineDelay = 12;
    m_connection->vSetPortSettings(&wanted);

    const PortSettings *current = m_connection->poGetPortSettings();
    QCOMPARE(current->portName, m_device->portName());
    QCOMPARE(current->baudRate, 115200);
    QCOMPARE(current->lineDelay, 12);
    termios line{};
    QCOMPARE(tcgetattr(m_device->slaveDescriptor(), &line), 0);
    QCOMPARE(cfgetospeed(&line), speed_t(B115200));

    m_connection->vSendRawData(std::string("\x00\x7f\xffok", 5));
    QTRY_COMPARE(m_device->received(), QByteArray("\x00\x7f\xffok", 5));
}

// Lines as "<ms since start> <port> <direction> <bytes>", an answer with its round trip.
void tst_ExtensionSystem::traceLinesReachFileAndSignalWithTheRoundTrip()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("trace.txt"));
    FrameTrace &trace = FrameTrace::instance();
    QVERIFY(trace.appendTo(fileName));
    QSignalSpy lines(&trace, &FrameTrace::lineAdded);

    trace.frameSent(QStringLiteral("A"), QByteArray::fromHex("02737f"));
    trace.frameSent(QStringLiteral("B"), QByteArray::fromHex("027022"));
    QTest::qWait(20);
    trace.frameCompleted(QStringLiteral("A"), QByteArray::fromHex("03401200"), true);
    trace.frameCompleted(QStringLiteral("B"), QByteArray(), false);
    trace.frameCompleted(QStringLiteral("B"), QByteArray::fromHex("03ff"), false);

    QStringList shown;
    for (const QList<QVariant> &line : qAsConst(lines))
        shown << line.at(0).toString();
    QCOMPARE(shown.size(), 5);
    const QStringList patterns{"A > 02 73 7f", "B > 02 70 22", "A < 03 40 12 00 (\\d+) ms",
                               "B !", "B ! 03 ff"};
    for (int i = 0; i < patterns.size(); ++i) {
        const QRegularExpressionMatch match
            = QRegularExpression(QStringLiteral("^\\d+ ") + patterns.at(i) + QLatin1Char('$'))
                  .match(shown.at(i));
        QVERIFY2(match.hasMatch(), qPrintable(shown.at(i)));
        QVERIFY(match.lastCapturedIndex() == 0 || match.captured(1).toInt() >= 20);
    }

    QFile file(fileName);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QList<QByteArray> written = file.readAll().split('\n');
    QCOMPARE(written.size(), 6);
    QCOMPARE(written.at(2), lines.at(2).at(0).toString().toUtf8());
}

void tst_ExtensionSystem::portIsRefusedWhileMissingOrHeldWithTheReason()
{
    const QString missing = QStringLiteral("/dev/missing");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Cannot open port ")));
    TestPlugin first;
    QCOMPARE(first.registerPort(missing), nullptr);
    QCOMPARE(registry().openConnectionCount(), 0);
    QVERIFY(!registry().isPortInUse(missing));
    QVERIFY2(registry().failureReason(missing).contains(QStringLiteral("No such file")),
             qPrintable(registry().failureReason(missing)));

    const QString portName = simulatedPrefix + QLatin1Char('1');
    TestPlugin second;
    CommunicationInterface *held = first.registerPort(portName);
    QVERIFY(held);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("already in use")));
    QCOMPARE(second.registerPort(portName), nullptr);
    QCOMPARE(registry().connectionOf(&first), held);
    QCOMPARE(registry().failureReason(portName), QStringLiteral("already in use"));

    first.unregisterConnection();
    QVERIFY(second.registerPort(portName));
    QCOMPARE(registry().openConnectionCount(), 1);
    QCOMPARE(registry().failureReason(portName), QString());
}

void tst_ExtensionSystem::releaseStillFinishesPendingListsBeforeDeletion()
{
    TestPlugin plugin;
    QPointer<CommunicationInterface> connection = plugin.registerPort(m_device->portName());
    QVERIFY(connection);
    CommunicationInterface::DataFrame frames(2);
    QSignalSpy finished(connection.data(), &CommunicationInterface::emitFinished);
    const unsigned int id = connection->uiSendDataFrames(&frames);

    plugin.unregisterConnection();
    QVERIFY(connection);
    QTRY_VERIFY(!connection);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toUInt(), id);
    for (const CommunicationInterface::DataFrameRecord &record : frames)
        QCOMPARE(record.status, 0);
}

void tst_ExtensionSystem::endOfOwnershipClosesThenDeletesTheConnection_data()
{
    QTest::addColumn<OwnershipEnd>("end");

    QTest::newRow("plugin unregistered") << OwnershipEnd::Unregistered;
    QTest::newRow("plugin destroyed without unregistering") << OwnershipEnd::Destroyed;
    QTest::newRow("plugin registered another port") << OwnershipEnd::OtherPort;
    // The connection still uses itself after its signal: it may not go before.
    QTest::newRow("released inside the connection's own signal") << OwnershipEnd::InItsSignal;
}

void tst_ExtensionSystem::endOfOwnershipClosesThenDeletesTheConnection()
{
    QFETCH(OwnershipEnd, end);

    auto plugin = std::make_unique<TestPlugin>();
    QPointer<CommunicationInterface> connection = plugin->registerPort(QStringLiteral("SIM1"));
    QVERIFY(connection);
    if (end == OwnershipEnd::Unregistered)
        plugin->unregisterPlugin();
    if (end == OwnershipEnd::InItsSignal) {
        auto *fake = qobject_cast<FakeConnection *>(connection.data());
        connect(fake, &CommunicationInterface::emitFinished, plugin.get(),
                [&plugin] { plugin->unregisterConnection(); });
        QVERIFY(fake->finishAndCheckState(1));
    }
    if (end == OwnershipEnd::OtherPort)
        QVERIFY(plugin->registerPort(QStringLiteral("SIM2")));
    else
        plugin.reset();

    QVERIFY(connection && !connection->bIsOpen());
    QCOMPARE(registry().openConnectionCount(), end == OwnershipEnd::OtherPort ? 1 : 0);
    QVERIFY(!registry().isPortInUse(QStringLiteral("SIM1")));
    QTRY_VERIFY(!connection);
}

void tst_ExtensionSystem::unusableSensorEntryLeavesTheRecordAsItWasForTheNext_data()
{
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("not XML") << QByteArray("name=KR7D id=7");
    QTest::newRow("no name") << QByteArray::fromStdString(entryText("<id>KR7D</id>"));
    QTest::newRow("no id") << QByteArray::fromStdString(entryText("<name>KR7D-1</name>"));
    QTest::newRow("nothing written") << QByteArray();
}

void tst_ExtensionSystem::unusableSensorEntryLeavesTheRecordAsItWasForTheNext()
{
    QFETCH(QByteArray, text);

    SensorBasic record("old-id", "old-name");
    std::stringstream stream;
    stream << text.toStdString();
    QVERIFY(!record.fromXMLStream(stream));
    QCOMPARE(record.id(), std::string("old-id"));
    QCOMPARE(record.name(), std::string("old-name"));
    // Catalogue builders append to one stream: the next entry reads on its own.
    stream << entryText("<name>KR7D-2</name><id>KR7E</id>");
    QVERIFY(record.fromXMLStream(stream));
    QCOMPARE(record.name(), std::string("KR7D-2"));
    QCOMPARE(record.id(), std::string("KR7E"));
}

// A master that clears what its client has not read yet (as one does when a request comes) can
// leave the port readable and then empty: that is a busy line, not an unplugged one.
void tst_ExtensionSystem::bytesGoneBeforeTheReadAreNoLoss()
{
    // Registered before the port, so its handler runs first in the event loop round that sees
    // both ready, and takes the bytes away between the port's poll and its read.
    int pipeEnds[2] = {-1, -1};
    QCOMPARE(::pipe(pipeEnds), 0);
    const auto closePipe = qScopeGuard([&] {
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
    });
    QSocketNotifier flusher(pipeEnds[0], QSocketNotifier::Read);
    connect(&flusher, &QSocketNotifier::activated, this, [&] {
        char byte = 0;
        QCOMPARE(::read(pipeEnds[0], &byte, 1), ssize_t(1));
        ::tcflush(m_device->slaveDescriptor(), TCIFLUSH);
    });
    openConnection();
    QTest::qWait(20);

    m_device->write(answerTo(0x22));
    int waiting = 0;
    QElapsedTimer clock;
    clock.start();
    while (waiting == 0 && clock.elapsed() < 1000)
        QCOMPARE(::ioctl(m_device->slaveDescriptor(), FIONREAD, &waiting), 0);
    QVERIFY(waiting > 0);
    QCOMPARE(::write(pipeEnds[1], "x", 1), ssize_t(1));
    QCoreApplication::processEvents();
    QTest::qWait(20);
    QVERIFY(!m_connection->bPortLost());

    connect(m_device.get(), &PtyDevice::frameReceived, this,
            [&] { m_device->write(answerTo(0x22, "0001020304")); });
    DataFrame frames{makeRecord(bytes("027022"), 2000)};
    QVERIFY(transfer(frames));
    QCOMPARE(frames.front().status, 1);
}

QTEST_GUILESS_MAIN(tst_ExtensionSystem)
#include "tst_extensionsystem.moc"
