#include <simulator/devicedescription.h>
#include <simulator/frameassembler.h>
#include <simulator/mastersimulator.h>
#include <simulator/simulatedconnection.h>

#include <support/simulatedmaster.h>

#include <comm/frame.h>

#include <QtTest>

using namespace Kr7dSim;
using BravoSensorPlugin::Core::buildFrame;
using BravoSensorPlugin::Core::isFrameIntact;
using BravoSensorPlugin::Core::readRequestFrame;
using BravoSensorPlugin::Core::writeFrame;
using Record = ExtensionSystem::CommunicationInterface::DataFrameRecord;
using DataFrame = ExtensionSystem::CommunicationInterface::DataFrame;

namespace {

const QByteArray kProbe = QByteArray::fromHex("03511201");
const QByteArray kResultFetch = QByteArray::fromHex("027327");
const QByteArray kPoll = QByteArray::fromHex("027022");

QByteArray answer(quint8 command, DeviceStatus status, const QByteArray &payload = QByteArray())
{
    return buildFrame(command, char(status) + payload);
}

struct ProcessImage
{
    int pressure = 0;
    int temperature = 0;
    int bits = -1;
};

struct Step
{
    qint64 atMs;
    double pressureBar;
    double temperatureCelsius;
};

ProcessImage poll(MasterSimulator &simulator)
{
    const QByteArray frame = simulator.respond(kPoll).value_or("");
    if (frame.size() != 8 || !isFrameIntact(frame))
        return ProcessImage();
    const auto byte = [&](int i) { return quint8(frame.at(4 + i)); };
    return ProcessImage{qint16(byte(0) << 8 | byte(1)), (byte(2) << 4) | (byte(3) >> 4),
                        byte(3) & 0x0F};
}

using Overrides = QVector<QPair<QString, int>>;

// A document with two sensor types around the given parameter nodes; variant 002 has no divisor.
QByteArray document(const QByteArray &nodes, const QByteArray &documentId = "IoLinkKR7Dfamily")
{
    return "<document><documentId>" + documentId
           + "</documentId><sensorList><sensor><id>AAAA</id><name>Alpha</name><sensors>"
             "<v><ID3>001</ID3><floatVal>1000</floatVal></v>"
             "<v><ID3>002</ID3><floatVal>0</floatVal></v>"
             "<v><ID3>010</ID3><floatVal>100</floatVal></v></sensors></sensor>"
             "<sensor><id>BBBB</id><name>Beta</name><sensors>"
             "<v><ID3>100</ID3><floatVal>10</floatVal></v></sensors></sensor>"
             "</sensorList><treeGui><default>"
           + nodes + "</default></treeGui></document>";
}

// A node with a complete address around the given children.
QByteArray node(const QByteArray &type, const QByteArray &id, const QByteArray &inner = {},
                const QByteArray &tag = "property")
{
    return "<" + tag + "><type>" + type + "</type><id>" + id
           + "</id><index>70</index><subIndex>0</subIndex><size>6</size>" + inner + "</" + tag
           + ">";
}

Record record(const QByteArray &query, const std::string &pattern = ".*",
              double timeoutMs = 10000.0)
{
    return Record{query.toStdString(), pattern, {}, 0, timeoutMs, 0};
}

} // namespace

Q_DECLARE_METATYPE(QVector<Step>)
Q_DECLARE_METATYPE(Overrides)
Q_DECLARE_METATYPE(DeviceSelection)
Q_DECLARE_METATYPE(FaultSettings)

class tst_Simulator : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        use({});
        m_connection = simulatedMaster(QStringLiteral("KR7D-P250"));
    }
    void answersTheLastOfTheRequests_data();
    void answersTheLastOfTheRequests();
    void processDataEncodesMeasuredValues_data();
    void processDataEncodesMeasuredValues();
    void outputsFollowSwitchingRules_data();
    void outputsFollowSwitchingRules();
    void changingTheMeasuredQuantityRestartsHysteresis();
    void freeRunningValuesMoveSmoothlyInRangeAsSeeded();
    void faultsHitEveryNthAnswerButNotTheRequest_data();
    void faultsHitEveryNthAnswerButNotTheRequest();
    void unplugsAfterTheSetTime();
    void assemblerCutsStreamIntoFrames_data();
    void assemblerCutsStreamIntoFrames();
    void keepsNodesTheDeviceCanHold_data();
    void keepsNodesTheDeviceCanHold();
    void selectsTheDevice_data();
    void selectsTheDevice();
    void listsFinishInQueueOrderAfterSendingReturned();
    void recordsTellWhatCameBack_data();
    void recordsTellWhatCameBack();
    void rawDataReachesTheSensor();

private:
    // A device of the shipped description on a clock the test moves by hand.
    void use(const DeviceSelection &selection);

    std::unique_ptr<MasterSimulator> m_simulator;
    qint64 m_now = 0;
    // Time-outs run at 1 % of what the records ask for.
    std::unique_ptr<SimulatedConnection> m_connection;
};

void tst_Simulator::use(const DeviceSelection &selection)
{
    m_simulator = MasterSimulator::fromFile(descriptionPath(), selection);
    if (!m_simulator)
        qFatal("no device %s", qPrintable(selection.sensorName));
    m_now = 0;
    m_simulator->setClock([this] { return m_now; });
}

void tst_Simulator::answersTheLastOfTheRequests_data()
{
    QTest::addColumn<QByteArrayList>("requests");
    QTest::addColumn<QByteArray>("lastAnswer");
    using S = DeviceStatus;
    const QByteArray error = buildFrame('E', "RROR");
    const auto read = [](int index, int subIndex) {
        return QByteArrayList{readRequestFrame(index, subIndex), kResultFetch};
    };
    const auto write = [](int index, int subIndex, int size, int value) {
        return QByteArrayList{writeFrame(index, subIndex, size, value)};
    };
    const auto fetched = [](const QByteArray &value) { return answer(0x27, S::Ok, value); };
    const auto hex = [](const char *text) { return QByteArray::fromHex(text); };
    const auto refused = [](S status) { return answer(0x24, status); };
    const QByteArrayList reset{hex("066b2402000082")}; // the window's: 0x82 to index 2

    QTest::newRow("probe") << QByteArrayList{kProbe} << answer(0x12, S::Ok);
    QTest::newRow("master set-up") << QByteArrayList{hex("0473110903")} << answer(0x11, S::Ok);
    QTest::newRow("port start") << QByteArrayList{hex("03702103")} << answer(0x21, S::Ok);
    QTest::newRow("wrong check octet") << QByteArrayList{hex("03501201")} << error;
    QTest::newRow("unknown command") << QByteArrayList{buildFrame(0x55, "\x01")} << error;
    QTest::newRow("read request") << QByteArrayList{readRequestFrame(19, 0)} << answer(0x26, S::Ok);
    QTest::newRow("read of an unknown index")
        << QByteArrayList{readRequestFrame(301, 0)} << answer(0x26, S::IndexNotAvailable);
    QTest::newRow("failed read leaves nothing to fetch")
        << QByteArrayList{readRequestFrame(19, 0), readRequestFrame(301, 0), kResultFetch}
        << fetched({});
    // Defaults of the description: SP1 5 bar, temperature SP1 80 degrees, A2 analog pressure.
    QTest::newRow("enumerator in one byte") << read(80, 0) << fetched("\x03");
    QTest::newRow("pressure in 1/1000 bar") << read(74, 1) << fetched(hex("1388"));
    QTest::newRow("temperature in 1/100 degree") << read(75, 1) << fetched(hex("1f40"));
    QTest::newRow("text") << read(16, 0) << fetched("Bravo Sensors");
    QTest::newRow("product id of the device") << read(19, 0) << fetched("K7DA010");
    QTest::newRow("negative pressure written")
        << write(74, 2, 7, -500) + read(74, 2) << fetched(hex("fe0c"));
    QTest::newRow("first Fahrenheit unit choice") << write(64, 0, 6, 0x20) << answer(0x24, S::Ok);
    QTest::newRow("bool") << write(89, 0, 6, 1) << answer(0x24, S::Ok);
    QTest::newRow("read-only text") << write(16, 0, 6, 1) << refused(S::AccessDenied);
    QTest::newRow("editable text") << write(24, 0, 6, 1) << refused(S::LengthMismatch);
    QTest::newRow("one byte for a two-byte value")
        << write(72, 0, 6, 9) << refused(S::LengthMismatch);
    QTest::newRow("beyond the last unit choice")
        << write(64, 0, 6, 0x24) << refused(S::ValueOutOfRange);
    QTest::newRow("bool other than 0 and 1, not kept")
        << write(89, 0, 6, 2) + read(89, 0) << fetched(hex("00"));
    QTest::newRow("unknown subindex") << write(74, 9, 7, 1) << refused(S::SubIndexNotAvailable);
    QTest::newRow("unknown index") << write(300, 0, 6, 1) << refused(S::IndexNotAvailable);
    QTest::newRow("factory reset") << reset << answer(0x24, S::Ok);
    QTest::newRow("factory reset restores the default")
        << write(72, 0, 7, 250) + reset + read(72, 0) << fetched(hex("0000"));
    QTest::newRow("no other system command") << write(2, 0, 6, 0x81) << refused(S::ValueOutOfRange);
}

void tst_Simulator::answersTheLastOfTheRequests()
{
    QFETCH(QByteArrayList, requests);
    QByteArray last;
    for (const QByteArray &request : requests)
        last = m_simulator->respond(request).value_or(QByteArray());
    QTEST(last, "lastAnswer");
}

void tst_Simulator::processDataEncodesMeasuredValues_data()
{
    QTest::addColumn<QString>("variant");
    QTest::addColumn<double>("pressureBar");
    QTest::addColumn<double>("temperatureCelsius");
    QTest::addColumn<int>("pressure");
    QTest::addColumn<int>("temperature");
    QTest::newRow("1/10 bar, 0.1 degree") << "025" << 12.34 << 23.4 << 123 << 234;
    QTest::newRow("vacuum is negative") << "016" << -0.75 << 20.0 << -75 << 200;
    QTest::newRow("below zero degrees is 0") << "010" << 1.0 << -12.0 << 1000 << 0;
    QTest::newRow("beyond twelve bits is the top") << "010" << 1.0 << 500.0 << 1000 << 4095;
}

void tst_Simulator::processDataEncodesMeasuredValues()
{
    QFETCH(QString, variant);
    QFETCH(double, pressureBar);
    QFETCH(double, temperatureCelsius);
    use({QStringLiteral("KR7D-P025"), variant, QString()});
    m_simulator->holdProcessValues(pressureBar, temperatureCelsius);
    const ProcessImage image = poll(*m_simulator);
    QTEST(image.pressure, "pressure");
    QTEST(image.temperature, "temperature");
    QCOMPARE(image.bits & 0x4, 0);
    m_simulator->setSignalTooLow(true);
    QCOMPARE(poll(*m_simulator).bits & 0x4, 0x4);
}

void tst_Simulator::outputsFollowSwitchingRules_data()
{
    QTest::addColumn<Overrides>("overrides");
    QTest::addColumn<QVector<Step>>("steps");
    QTest::addColumn<QString>("outputs");
    // Description defaults: A1 on pressure, SP 5 bar, RP 2 bar, NO, no delays;
    // A2 analog; temperature points 80 and 70 degrees. Outputs: A1 and A2 after each step.
    QTest::newRow("A1 pressure hysteresis")
        << Overrides{}
        << QVector<Step>{{0, 1.0, 20}, {10, 4.0, 20}, {20, 6.0, 20}, {30, 4.0, 20}, {40, 1.5, 20}}
        << "00 00 10 10 00";
    QTest::newRow("A1 switched off")
        << Overrides{{"PinFunctionA1", 2}} << QVector<Step>{{0, 9.0, 99}} << "00";
    QTest::newRow("A2 on pressure with its own points")
        << Overrides{{"PinFunctionA2", 1},
                     {"ThresholdsPressure1A2", 8000},
                     {"ThresholdsPressure2A2", 6000}}
        << QVector<Step>{{0, 7.0, 20}, {10, 9.0, 20}, {20, 7.0, 20}, {30, 5.5, 20}}
        << "10 11 11 10";
    QTest::newRow("A2 on temperature, normally closed")
        << Overrides{{"PinFunctionA2", 0}, {"NONCA2", 1}}
        << QVector<Step>{{0, 1.0, 75}, {10, 1.0, 85}, {20, 1.0, 60}} << "01 00 01";
    QTest::newRow("A2 remote switching follows its value")
        << Overrides{{"PinFunctionA2", 4}, {"RemoteSwitchingOutput", 1}}
        << QVector<Step>{{0, 1.0, 20}, {10, 9.0, 99}} << "01 11";
    QTest::newRow("off delay holds A1 on")
        << Overrides{{"OffDelay1", 100}}
        << QVector<Step>{{0, 6.0, 20}, {10, 1.0, 20}, {109, 1.0, 20}, {110, 1.0, 20}}
        << "10 10 10 00";
    QTest::newRow("short pulse does not pass the on delay")
        << Overrides{{"OnDelay1", 100}}
        << QVector<Step>{{0, 6.0, 20}, {50, 1.0, 20}, {120, 6.0, 20}, {220, 6.0, 20}}
        << "00 00 00 10";
    QTest::newRow("A2 delays are its own") << Overrides{{"PinFunctionA2", 1}, {"OnDelay2", 50}}
                                           << QVector<Step>{{0, 6.0, 20}, {50, 6.0, 20}} << "10 11";
}

void tst_Simulator::outputsFollowSwitchingRules()
{
    QFETCH(Overrides, overrides);
    QFETCH(QVector<Step>, steps);
    for (const auto &[id, value] : overrides)
        QVERIFY(m_simulator->setParameter(id, value));
    QStringList outputs;
    for (const Step &step : steps) {
        m_now = step.atMs;
        m_simulator->holdProcessValues(step.pressureBar, step.temperatureCelsius);
        const int bits = poll(*m_simulator).bits;
        outputs << QString::number(bits & 0x1) + QString::number((bits & 0x2) >> 1);
    }
    QTEST(outputs.join(QLatin1Char(' ')), "outputs");
}

void tst_Simulator::changingTheMeasuredQuantityRestartsHysteresis()
{
    m_simulator->holdProcessValues(6.0, 75.0);
    QCOMPARE(poll(*m_simulator).bits & 0x1, 0x1);
    // 75 degrees lies between the temperature points: a fresh output stays off.
    QVERIFY(m_simulator->setParameter(QStringLiteral("PinFunctionA1"), 0));
    QCOMPARE(poll(*m_simulator).bits & 0x1, 0);
}

void tst_Simulator::freeRunningValuesMoveSmoothlyInRangeAsSeeded()
{
    const DeviceDescription description = *DeviceDescription::fromFile(descriptionPath());
    const DeviceIdentity device = *description.select({"KR7D-P250", "100", {}});
    MasterSimulator first(description, device, 7);
    MasterSimulator second(description, device, 7);
    MasterSimulator other(description, device, 8);
    for (MasterSimulator *simulator : {&first, &second, &other})
        simulator->setClock([this] { return m_now; });
    const int low = qRound(device.variant.minRange * device.variant.divisor);
    const int high = qRound(device.variant.maxRange * device.variant.divisor);
    int smallest = high;
    int largest = low;
    bool otherDiffers = false;
    ProcessImage previous = poll(first);
    QCOMPARE(poll(second).pressure, previous.pressure);
    // Two minutes of polling every 65 ms.
    for (m_now = 65; m_now <= 120000; m_now += 65) {
        const ProcessImage image = poll(first);
        QVERIFY(image.pressure >= low && image.pressure <= high);
        QVERIFY(image.temperature > 0 && image.temperature < 1000);
        QVERIFY(qAbs(image.pressure - previous.pressure) < (high - low) / 50);
        QVERIFY(qAbs(image.temperature - previous.temperature) < 10);
        QCOMPARE(poll(second).pressure, image.pressure);
        otherDiffers = otherDiffers || poll(other).pressure != image.pressure;
        smallest = qMin(smallest, image.pressure);
        largest = qMax(largest, image.pressure);
        previous = image;
    }
    QVERIFY(otherDiffers);
    QVERIFY(largest - smallest > (high - low) / 2);
}

void tst_Simulator::faultsHitEveryNthAnswerButNotTheRequest_data()
{
    QTest::addColumn<int>("dropEvery");
    QTest::addColumn<int>("corruptEvery");
    QTest::addColumn<QString>("outcomes");
    // One mark per request: answered (.), dropped (-) or corrupted (x); the last one is a write.
    QTest::newRow("every third dropped") << 3 << 0 << "..-..-";
    QTest::newRow("every second corrupted") << 0 << 2 << ".x.x.x";
}

void tst_Simulator::faultsHitEveryNthAnswerButNotTheRequest()
{
    QFETCH(int, dropEvery);
    QFETCH(int, corruptEvery);
    QFETCH(QString, outcomes);
    m_simulator->setFaults(FaultSettings{0, dropEvery, corruptEvery});
    QString seen;
    for (int i = 1; i <= outcomes.size(); ++i) {
        const std::optional<QByteArray> answer
            = m_simulator->respond(i < outcomes.size() ? kProbe : writeFrame(72, 0, 7, 250));
        seen += !answer ? '-' : isFrameIntact(*answer) ? '.' : 'x';
    }
    QCOMPARE(seen, outcomes);
    QCOMPARE(m_simulator->parameter(QStringLiteral("OnDelay1")).toInt(), 250);
    QCOMPARE(m_simulator->counters().requestsSeen, outcomes.size());
}

void tst_Simulator::unplugsAfterTheSetTime()
{
    m_now = 5000;
    m_simulator->setFaults(FaultSettings{0, 0, 0, 1000});
    m_now = 5999;
    QCOMPARE(m_simulator->timeUntilUnplug(), std::optional<qint64>(1));
    QVERIFY(m_simulator->respond(kProbe));
    m_now = 6000;
    QVERIFY(!m_simulator->respond(kProbe));
    QCOMPARE(m_simulator->counters().requestsSeen, 1);
}

void tst_Simulator::assemblerCutsStreamIntoFrames_data()
{
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<int>("pauseMs");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<int>("pending");
    const QByteArray empty(1, '\0');
    QTest::newRow("frame in three pieces")
        << QByteArrayList{kProbe.left(1), kProbe.mid(1, 2), kProbe.mid(3)} << 5
        << QByteArrayList{kProbe} << 0;
    QTest::newRow("frame and the start of the next")
        << QByteArrayList{kProbe + kPoll.left(2)} << 0 << QByteArrayList{kProbe} << 2;
    QTest::newRow("rest of a split frame completes it")
        << QByteArrayList{kProbe + kPoll.left(2), kPoll.mid(2)} << 200
        << QByteArrayList{kProbe, kPoll} << 0;
    QTest::newRow("stale start dropped after the gap")
        << QByteArrayList{kPoll.left(2), kPoll} << 201 << QByteArrayList{kPoll} << 0;
    QTest::newRow("count byte 0 is a frame of its own")
        << QByteArrayList{empty + kPoll} << 0 << QByteArrayList{empty, kPoll} << 0;
}

void tst_Simulator::assemblerCutsStreamIntoFrames()
{
    QFETCH(QByteArrayList, chunks);
    QFETCH(int, pauseMs);
    FrameAssembler assembler(200);
    QByteArrayList received;
    for (int i = 0; i < chunks.size(); ++i)
        received += assembler.feed(chunks.at(i), i * pauseMs);
    QTEST(received, "frames");
    QTEST(assembler.pendingBytes(), "pending");
}

void tst_Simulator::keepsNodesTheDeviceCanHold_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("expected");
    // Read-only parameters are marked "ro"; a document the simulator cannot use is "refused".
    QTest::newRow("nested in categories, document order")
        << document(node("category", "Group",
                         node("int", "One") + node("category", "Inner", node("bool", "Two")), "a")
                    + node("string", "Three", {}, "b"))
        << QStringList{"One", "Two", "Three ro"};
    QTest::newRow("children of a parameter count too")
        << document(node("int", "Parent", node("double", "Child"), "a"))
        << QStringList{"Parent", "Child"};
    QTest::newRow("missing address skips node and children")
        << document("<a><type>int</type><id>NoSize</id><index>1</index><subIndex>0</subIndex>"
                    + node("int", "Lost") + "</a>")
        << QStringList();
    QTest::newRow("unknown type skips node and children")
        << document(node("slider", "Odd", node("int", "Lost"), "a")) << QStringList();
    QTest::newRow("only children named property")
        << document(node("category", "Group", node("int", "Lost", {}, "Property"), "a"))
        << QStringList();
    QTest::newRow("read-only unless exactly false")
        << document(node("int", "A", {}, "a") + node("int", "B", "<readonly>TRUE</readonly>", "b")
                    + node("string", "C", "<readonly>false</readonly>", "c"))
        << QStringList{"A", "B ro", "C"};
    const QStringList refused{"refused"};
    QTest::newRow("other document id") << document({}, "IoLinkKR8Xfamily") << refused;
    QTest::newRow("not well-formed")
        << QByteArray("<document><documentId>IoLinkKR7Dfamily") << refused;
    QTest::newRow("no sensors") << QByteArray(
        "<document><documentId>IoLinkKR7Dfamily</documentId></document>")
                                << refused;
}

void tst_Simulator::keepsNodesTheDeviceCanHold()
{
    QFETCH(QByteArray, xml);
    QString error;
    const std::optional<DeviceDescription> description = DeviceDescription::fromXml(xml, &error);
    QStringList kept{QStringLiteral("refused")};
    if (description) {
        kept.clear();
        for (const ParameterInfo &info : description->parameters())
            kept << info.id + (info.readOnly ? " ro" : "");
    }
    QTEST(kept, "expected");
    QCOMPARE(error.isEmpty(), bool(description));
}

void tst_Simulator::selectsTheDevice_data()
{
    QTest::addColumn<DeviceSelection>("selection");
    QTest::addColumn<QString>("expected");
    // Sensor name, variant and reported product id; empty when nothing matches.
    QTest::newRow("nothing chosen: first of each") << DeviceSelection() << "Alpha 001 AAAA001";
    QTest::newRow("by name and variant")
        << DeviceSelection{"Alpha", "010", {}} << "Alpha 010 AAAA010";
    QTest::newRow("product id wins over name")
        << DeviceSelection{"Alpha", {}, "BBBB100"} << "Beta 100 BBBB100";
    QTest::newRow("foreign product id reported as given")
        << DeviceSelection{"Beta", {}, "XYZW123"} << "Beta 100 XYZW123";
    QTest::newRow("unknown name") << DeviceSelection{"Gamma", {}, {}} << "";
    QTest::newRow("variant of another type") << DeviceSelection{"Alpha", "100", {}} << "";
    QTest::newRow("variant without divisor") << DeviceSelection{"Alpha", "002", {}} << "";
}

void tst_Simulator::selectsTheDevice()
{
    QFETCH(DeviceSelection, selection);
    const std::optional<DeviceDescription> description = DeviceDescription::fromXml(document({}));
    QVERIFY(description);
    const std::optional<DeviceIdentity> device = description->select(selection);
    const QString found
        = device ? device->sensor.name + ' ' + device->variant.id3 + ' ' + device->productId
                 : QString();
    QTEST(found, "expected");
}

void tst_Simulator::listsFinishInQueueOrderAfterSendingReturned()
{
    QSignalSpy finished(m_connection.get(), &SimulatedConnection::emitFinished);
    DataFrame first{record(kProbe), record(BravoSensorPlugin::Core::readRequestFrame(19, 0))};
    DataFrame second{record(kResultFetch)};
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

void tst_Simulator::recordsTellWhatCameBack_data()
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

void tst_Simulator::recordsTellWhatCameBack()
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

void tst_Simulator::rawDataReachesTheSensor()
{
    const QByteArray write = BravoSensorPlugin::Core::writeFrame(83, 0, 7, 1200);
    m_connection->vSendRawData(write.toStdString());
    QCOMPARE(m_connection->queryLog(), QList<QByteArray>{write});
    QCOMPARE(m_connection->simulator().parameter(QStringLiteral("OnDelay2")).toInt(), 1200);
}

QTEST_GUILESS_MAIN(tst_Simulator)
#include "tst_simulator.moc"
