#include <simulator/mastersimulator.h>

#include <support/simulatedmaster.h>

#include <comm/frame.h>

#include <QtTest>

using namespace Kr7dSim;
using BravoSensorPlugin::Core::buildFrame;
using BravoSensorPlugin::Core::isFrameIntact;
using BravoSensorPlugin::Core::readRequestFrame;
using BravoSensorPlugin::Core::writeFrame;

namespace {

const QByteArray kResultFetch = QByteArray::fromHex("027327");
const QByteArray kProcessDataRequest = QByteArray::fromHex("027022");

struct Answer
{
    quint8 command = 0;
    quint8 status = 0xFF;
    QByteArray payload;
};

// Splits an answer after checking that it is framed like a request.
Answer parse(const std::optional<QByteArray> &frame)
{
    if (!frame || !isFrameIntact(*frame) || frame->size() < 4)
        return Answer();
    return Answer{quint8(frame->at(2)), quint8(frame->at(3)), frame->mid(4)};
}

std::unique_ptr<MasterSimulator> simulatorFor(const DeviceSelection &selection)
{
    QString error;
    auto simulator = MasterSimulator::fromFile(descriptionPath(), selection, &error);
    if (!simulator)
        qFatal("%s", qPrintable(error));
    return simulator;
}

const ParameterInfo &parameterInfo(const MasterSimulator &simulator, const QString &id)
{
    const ParameterTable::Parameter *parameter = simulator.parameters().find(id);
    if (!parameter)
        qFatal("no parameter %s", qPrintable(id));
    return parameter->info;
}

// Read request, then result fetch: what the sensor holds for the id.
Answer readBack(MasterSimulator &simulator, const QString &id)
{
    const ParameterInfo &info = parameterInfo(simulator, id);
    simulator.respond(readRequestFrame(info.index, info.subIndex));
    return parse(simulator.respond(kResultFetch));
}

Answer writeValue(MasterSimulator &simulator, const QString &id, int value)
{
    const ParameterInfo &info = parameterInfo(simulator, id);
    return parse(simulator.respond(writeFrame(info.index, info.subIndex, info.size, value)));
}

struct ProcessImage
{
    int pressure = 0;
    int temperature = 0;
    int bits = -1;
};

ProcessImage poll(MasterSimulator &simulator)
{
    const Answer answer = parse(simulator.respond(kProcessDataRequest));
    if (answer.payload.size() != 4)
        return ProcessImage();
    const auto byte = [&](int i) { return quint8(answer.payload.at(i)); };
    return ProcessImage{qint16(byte(0) << 8 | byte(1)), (byte(2) << 4) | (byte(3) >> 4),
                        byte(3) & 0x0F};
}

// A clock the test moves by hand.
struct ManualClock
{
    std::shared_ptr<qint64> now = std::make_shared<qint64>(0);
    MasterSimulator::Clock clock() const
    {
        return [now = now] { return *now; };
    }
};

struct Step
{
    qint64 atMs;
    double pressureBar;
    double temperatureCelsius;
    bool a1;
    bool a2;
};

using Overrides = QVector<QPair<QString, int>>;

} // namespace

Q_DECLARE_METATYPE(DeviceStatus)
Q_DECLARE_METATYPE(QVector<Step>)
Q_DECLARE_METATYPE(Overrides)

class tst_MasterSimulator : public QObject
{
    Q_OBJECT

private slots:
    void answersEveryFrame_data();
    void answersEveryFrame();
    void productIdAnswersTheIdentityRead_data();
    void productIdAnswersTheIdentityRead();
    void fetchCarriesValueBySize_data();
    void fetchCarriesValueBySize();
    void writtenValueReadsBack_data();
    void writtenValueReadsBack();
    void refusedWriteLeavesValue_data();
    void refusedWriteLeavesValue();
    void failedReadRequestLeavesNothingToFetch();
    void onlyTheFactoryResetCommandRestoresEveryDefault();
    void processDataEncodesMeasuredValues_data();
    void processDataEncodesMeasuredValues();
    void outputsFollowSwitchingRules_data();
    void outputsFollowSwitchingRules();
    void changingTheMeasuredQuantityRestartsHysteresis();
    void signalTooLowSetsItsBit();
    void freeRunningValuesStayInRangeAndMoveSmoothly();
    void seedMakesProcessReproducible();
    void faultsHitEveryNthAnswerButNotTheRequest_data();
    void faultsHitEveryNthAnswerButNotTheRequest();
    void unplugsAfterTheSetTime();
};

void tst_MasterSimulator::answersEveryFrame_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("answerBody");
    const QByteArray error("ERROR");
    QTest::newRow("probe") << QByteArray::fromHex("03511201") << QByteArray::fromHex("1200");
    QTest::newRow("master set-up 0x11")
        << QByteArray::fromHex("0473110903") << QByteArray::fromHex("1100");
    QTest::newRow("port start 0x21")
        << QByteArray::fromHex("03702103") << QByteArray::fromHex("2100");
    QTest::newRow("read request") << QByteArray::fromHex("054626130000")
                                  << QByteArray::fromHex("2600");
    QTest::newRow("wrong check octet") << QByteArray::fromHex("03501201") << error;
    QTest::newRow("count byte too large") << QByteArray::fromHex("04511201") << error;
    QTest::newRow("unknown command") << buildFrame(0x55, QByteArray::fromHex("01")) << error;
    QTest::newRow("empty") << QByteArray() << error;
}

void tst_MasterSimulator::answersEveryFrame()
{
    QFETCH(QByteArray, request);
    auto simulator = simulatorFor({});
    const std::optional<QByteArray> answer = simulator->respond(request);
    QVERIFY(answer && isFrameIntact(*answer));
    QTEST(answer->mid(2), "answerBody");
}

void tst_MasterSimulator::productIdAnswersTheIdentityRead_data()
{
    QTest::addColumn<QString>("sensor");
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("givenProductId");
    QTest::addColumn<QByteArray>("productId");
    QTest::addColumn<double>("divisor");
    QTest::newRow("first type, first variant by default")
        << QString() << QString() << QString() << QByteArray("K7DA010") << 1000.0;
    QTest::newRow("KR7D-P250 100 bar") << "KR7D-P250"
                                       << "100" << QString() << QByteArray("K7DB100") << 100.0;
    QTest::newRow("known id picks type and variant")
        << "KR7D-P250" << QString() << "K7DC320" << QByteArray("K7DC320") << 100.0;
    QTest::newRow("foreign id keeps the named device")
        << "KR7D-P250" << QString() << "ZZZZ999" << QByteArray("ZZZZ999") << 1000.0;
}

void tst_MasterSimulator::productIdAnswersTheIdentityRead()
{
    QFETCH(QString, sensor);
    QFETCH(QString, variant);
    QFETCH(QString, givenProductId);
    QFETCH(QByteArray, productId);
    auto simulator = simulatorFor({sensor, variant, givenProductId});
    QTEST(simulator->device().variant.divisor, "divisor");
    // The window's identity frames, byte for byte.
    QCOMPARE(parse(simulator->respond(QByteArray::fromHex("054626130000"))).status, quint8(0));
    const std::optional<QByteArray> fetched = simulator->respond(kResultFetch);
    QVERIFY(fetched);
    QCOMPARE(quint8(fetched->at(0)), quint8(3 + productId.size()));
    QCOMPARE(parse(fetched).payload, productId);
}

void tst_MasterSimulator::fetchCarriesValueBySize_data()
{
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QByteArray>("payload");
    // Defaults of the description: SP1 5 bar, temperature SP1 80 degrees, A2 analog pressure.
    QTest::newRow("enumerator, one byte") << "010"
                                          << "PinFunctionA2" << QByteArray::fromHex("03");
    QTest::newRow("pressure in 1/1000 bar")
        << "010"
        << "ThresholdsPressure1A1" << QByteArray::fromHex("1388");
    QTest::newRow("pressure in 1/100 bar")
        << "016"
        << "ThresholdsPressure1A1" << QByteArray::fromHex("01f4");
    QTest::newRow("pressure in 1/10 bar") << "025"
                                          << "ThresholdsPressure1A1" << QByteArray::fromHex("0032");
    QTest::newRow("temperature in 1/100 degree")
        << "025"
        << "ThresholdsTemp1A1" << QByteArray::fromHex("1f40");
    QTest::newRow("two-byte int") << "010"
                                  << "OffDelay2" << QByteArray::fromHex("0000");
    QTest::newRow("text") << "010"
                          << "VendorNameReadOnly" << QByteArray("Bravo Sensors");
}

void tst_MasterSimulator::fetchCarriesValueBySize()
{
    QFETCH(QString, variant);
    QFETCH(QString, id);
    auto simulator = simulatorFor({QStringLiteral("KR7D-P025"), variant, QString()});
    const Answer answer = readBack(*simulator, id);
    QCOMPARE(answer.command, quint8(0x27));
    QCOMPARE(answer.status, quint8(0));
    QTEST(answer.payload, "payload");
}

void tst_MasterSimulator::writtenValueReadsBack_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("payload");
    QTest::newRow("two-byte delay") << "OnDelay1" << 300 << QByteArray::fromHex("012c");
    QTest::newRow("negative pressure")
        << "ThresholdsPressure2A1" << -500 << QByteArray::fromHex("fe0c");
    QTest::newRow("first Fahrenheit unit choice")
        << "TemperatureSettings" << 0x20 << QByteArray::fromHex("20");
    QTest::newRow("enumerator") << "PinFunctionA1" << 0 << QByteArray::fromHex("00");
    QTest::newRow("bool") << "RemoteSwitchingOutput" << 1 << QByteArray::fromHex("01");
}

void tst_MasterSimulator::writtenValueReadsBack()
{
    QFETCH(QString, id);
    QFETCH(int, value);
    QFETCH(QByteArray, payload);
    auto simulator = simulatorFor({});
    const Answer written = writeValue(*simulator, id, value);
    QCOMPARE(written.command, quint8(0x24));
    QCOMPARE(written.status, quint8(DeviceStatus::Ok));
    QVERIFY(written.payload.isEmpty());
    QCOMPARE(readBack(*simulator, id).payload, payload);
    QCOMPARE(simulator->parameter(id).toInt(), value);
}

void tst_MasterSimulator::refusedWriteLeavesValue_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QString>("id");
    QTest::addColumn<DeviceStatus>("status");
    QTest::newRow("read-only text")
        << writeFrame(16, 0, 6, 1) << "VendorNameReadOnly" << DeviceStatus::AccessDenied;
    QTest::newRow("editable text")
        << writeFrame(24, 0, 6, 1) << "ApplicationTag" << DeviceStatus::LengthMismatch;
    QTest::newRow("one byte for a two-byte value")
        << writeFrame(72, 0, 6, 9) << "OnDelay1" << DeviceStatus::LengthMismatch;
    QTest::newRow("unit index instead of device value")
        << writeFrame(64, 0, 6, 5) << "TemperatureSettings" << DeviceStatus::ValueOutOfRange;
    QTest::newRow("beyond the last unit choice")
        << writeFrame(64, 0, 6, 0x24) << "TemperatureSettings" << DeviceStatus::ValueOutOfRange;
    QTest::newRow("enumerator beyond its items")
        << writeFrame(80, 0, 6, 6) << "PinFunctionA2" << DeviceStatus::ValueOutOfRange;
    QTest::newRow("bool other than 0 and 1")
        << writeFrame(89, 0, 6, 2) << "RemoteSwitchingOutput" << DeviceStatus::ValueOutOfRange;
    QTest::newRow("unknown subindex")
        << writeFrame(74, 9, 7, 1) << "ThresholdsPressure1A1" << DeviceStatus::SubIndexNotAvailable;
    QTest::newRow("unknown index")
        << writeFrame(300, 0, 6, 1) << "FilterSettings" << DeviceStatus::IndexNotAvailable;
}

void tst_MasterSimulator::refusedWriteLeavesValue()
{
    QFETCH(QByteArray, request);
    QFETCH(QString, id);
    QFETCH(DeviceStatus, status);
    auto simulator = simulatorFor({});
    const QVariant before = simulator->parameter(id);
    QVERIFY(before.isValid());
    QCOMPARE(parse(simulator->respond(request)).status, quint8(status));
    QCOMPARE(simulator->parameter(id), before);
}

void tst_MasterSimulator::failedReadRequestLeavesNothingToFetch()
{
    auto simulator = simulatorFor({});
    simulator->respond(readRequestFrame(19, 0));
    QCOMPARE(parse(simulator->respond(readRequestFrame(301, 0))).status,
             quint8(DeviceStatus::IndexNotAvailable));
    const std::optional<QByteArray> fetched = simulator->respond(kResultFetch);
    QVERIFY(fetched);
    QCOMPARE(fetched->size(), 4);
}

void tst_MasterSimulator::onlyTheFactoryResetCommandRestoresEveryDefault()
{
    auto simulator = simulatorFor({QStringLiteral("KR7D-P600"), QStringLiteral("320"), QString()});
    const auto pristine
        = simulatorFor({QStringLiteral("KR7D-P600"), QStringLiteral("320"), QString()});
    QCOMPARE(writeValue(*simulator, QStringLiteral("OnDelay2"), 1500).status, quint8(0));
    QCOMPARE(writeValue(*simulator, QStringLiteral("ThresholdsTemp2A2"), 4000).status, quint8(0));
    QCOMPARE(writeValue(*simulator, QStringLiteral("TemperatureSettings"), 0x23).status, quint8(0));
    QVERIFY(simulator->setParameter(QStringLiteral("SerialNumberReadOnly"), QStringLiteral("X1")));
    QCOMPARE(parse(simulator->respond(writeFrame(2, 0, 6, 0x81))).status,
             quint8(DeviceStatus::ValueOutOfRange));
    QCOMPARE(simulator->parameter(QStringLiteral("OnDelay2")).toInt(), 1500);

    // The window's reset frame: 0x82 to index 2.
    const Answer reset = parse(simulator->respond(QByteArray::fromHex("066b2402000082")));
    QCOMPARE(reset.status, quint8(DeviceStatus::Ok));

    const std::optional<DeviceDescription> description
        = DeviceDescription::fromFile(descriptionPath());
    QVERIFY(description && !description->parameters().isEmpty());
    for (const ParameterInfo &info : description->parameters())
        QCOMPARE(simulator->parameter(info.id), pristine->parameter(info.id));
    QCOMPARE(simulator->parameter(QStringLiteral("ProductIdReadOnly")).toString(),
             QStringLiteral("K7DC320"));
}

void tst_MasterSimulator::processDataEncodesMeasuredValues_data()
{
    QTest::addColumn<QString>("variant");
    QTest::addColumn<double>("pressureBar");
    QTest::addColumn<double>("temperatureCelsius");
    QTest::addColumn<int>("pressure");
    QTest::addColumn<int>("temperature");
    QTest::newRow("1/1000 bar, 0.1 degree") << "010" << 2.5 << 23.4 << 2500 << 234;
    QTest::newRow("1/10 bar") << "025" << 12.34 << 100.0 << 123 << 1000;
    QTest::newRow("vacuum is negative") << "016" << -0.75 << 20.0 << -75 << 200;
    QTest::newRow("below zero degrees is 0") << "010" << 1.0 << -12.0 << 1000 << 0;
    QTest::newRow("beyond twelve bits is the top") << "010" << 1.0 << 500.0 << 1000 << 4095;
}

void tst_MasterSimulator::processDataEncodesMeasuredValues()
{
    QFETCH(QString, variant);
    QFETCH(double, pressureBar);
    QFETCH(double, temperatureCelsius);
    auto simulator = simulatorFor({QStringLiteral("KR7D-P025"), variant, QString()});
    simulator->holdProcessValues(pressureBar, temperatureCelsius);
    const ProcessImage image = poll(*simulator);
    QTEST(image.pressure, "pressure");
    QTEST(image.temperature, "temperature");
}

void tst_MasterSimulator::outputsFollowSwitchingRules_data()
{
    QTest::addColumn<Overrides>("overrides");
    QTest::addColumn<QVector<Step>>("steps");
    // Description defaults: A1 on pressure, SP 5 bar, RP 2 bar, NO, no delays;
    // A2 analog; temperature points 80 and 70 degrees. Variant 010: 1/1000 bar.
    QTest::newRow("A1 pressure hysteresis")
        << Overrides{} << QVector<Step>{{0, 1.0, 20, false, false},  {10, 4.0, 20, false, false},
                                        {20, 6.0, 20, true, false},  {30, 4.0, 20, true, false},
                                        {40, 1.5, 20, false, false}, {50, 3.0, 20, false, false}};
    QTest::newRow("A1 normally closed inverts") << Overrides{{"NONCA1", 1}}
                                                << QVector<Step>{{0, 1.0, 20, true, false},
                                                                 {10, 6.0, 20, false, false},
                                                                 {20, 4.0, 20, false, false},
                                                                 {30, 1.0, 20, true, false}};
    QTest::newRow("A1 on temperature") << Overrides{{"PinFunctionA1", 0}}
                                       << QVector<Step>{{0, 9.0, 75, false, false},
                                                        {10, 9.0, 85, true, false},
                                                        {20, 9.0, 75, true, false},
                                                        {30, 9.0, 65, false, false}};
    QTest::newRow("A1 switched off")
        << Overrides{{"PinFunctionA1", 2}} << QVector<Step>{{0, 9.0, 99, false, false}};
    QTest::newRow("A2 on pressure with its own points")
        << Overrides{{"PinFunctionA2", 1},
                     {"ThresholdsPressure1A2", 8000},
                     {"ThresholdsPressure2A2", 6000}}
        << QVector<Step>{{0, 7.0, 20, true, false},
                         {10, 9.0, 20, true, true},
                         {20, 7.0, 20, true, true},
                         {30, 5.5, 20, true, false}};
    QTest::newRow("A2 on temperature, normally closed")
        << Overrides{{"PinFunctionA2", 0}, {"NONCA2", 1}}
        << QVector<Step>{
               {0, 1.0, 75, false, true}, {10, 1.0, 85, false, false}, {20, 1.0, 60, false, true}};
    QTest::newRow("A2 remote switching follows its value")
        << Overrides{{"PinFunctionA2", 4}, {"RemoteSwitchingOutput", 1}}
        << QVector<Step>{{0, 1.0, 20, false, true}, {10, 9.0, 99, true, true}};
    QTest::newRow("A2 analog never switches")
        << Overrides{{"PinFunctionA2", 2}} << QVector<Step>{{0, 9.0, 99, true, false}};
    QTest::newRow("on delay holds A1 off") << Overrides{{"OnDelay1", 100}}
                                           << QVector<Step>{{0, 6.0, 20, false, false},
                                                            {99, 6.0, 20, false, false},
                                                            {100, 6.0, 20, true, false}};
    QTest::newRow("off delay holds A1 on") << Overrides{{"OffDelay1", 100}}
                                           << QVector<Step>{{0, 6.0, 20, true, false},
                                                            {10, 1.0, 20, true, false},
                                                            {109, 1.0, 20, true, false},
                                                            {110, 1.0, 20, false, false}};
    QTest::newRow("short pulse does not pass the on delay")
        << Overrides{{"OnDelay1", 100}}
        << QVector<Step>{{0, 6.0, 20, false, false},
                         {50, 1.0, 20, false, false},
                         {120, 6.0, 20, false, false},
                         {219, 6.0, 20, false, false},
                         {220, 6.0, 20, true, false}};
    QTest::newRow("A2 delays are its own")
        << Overrides{{"PinFunctionA2", 1}, {"OnDelay2", 50}}
        << QVector<Step>{{0, 6.0, 20, true, false}, {50, 6.0, 20, true, true}};
}

void tst_MasterSimulator::outputsFollowSwitchingRules()
{
    QFETCH(Overrides, overrides);
    QFETCH(QVector<Step>, steps);
    auto simulator = simulatorFor({QStringLiteral("KR7D-P025"), QStringLiteral("010"), QString()});
    ManualClock clock;
    simulator->setClock(clock.clock());
    for (const auto &[id, value] : overrides)
        QVERIFY(simulator->setParameter(id, value));
    for (const Step &step : steps) {
        *clock.now = step.atMs;
        simulator->holdProcessValues(step.pressureBar, step.temperatureCelsius);
        const ProcessImage image = poll(*simulator);
        const QByteArray where = QByteArray::number(step.atMs) + " ms";
        QVERIFY2(bool(image.bits & 0x1) == step.a1, where.constData());
        QVERIFY2(bool(image.bits & 0x2) == step.a2, where.constData());
    }
}

void tst_MasterSimulator::changingTheMeasuredQuantityRestartsHysteresis()
{
    auto simulator = simulatorFor({});
    simulator->holdProcessValues(6.0, 75.0);
    QCOMPARE(poll(*simulator).bits & 0x1, 0x1);
    // 75 degrees lies between the temperature points: a fresh output stays off.
    QVERIFY(simulator->setParameter(QStringLiteral("PinFunctionA1"), 0));
    QCOMPARE(poll(*simulator).bits & 0x1, 0);
}

void tst_MasterSimulator::signalTooLowSetsItsBit()
{
    auto simulator = simulatorFor({});
    simulator->holdProcessValues(1.0, 20.0);
    QCOMPARE(poll(*simulator).bits & 0x4, 0);
    simulator->setSignalTooLow(true);
    QCOMPARE(poll(*simulator).bits & 0x4, 0x4);
}

void tst_MasterSimulator::freeRunningValuesStayInRangeAndMoveSmoothly()
{
    auto simulator = simulatorFor({QStringLiteral("KR7D-P250"), QStringLiteral("100"), QString()});
    ManualClock clock;
    simulator->setClock(clock.clock());
    const Variant &variant = simulator->device().variant;
    const int low = qRound(variant.minRange * variant.divisor);
    const int high = qRound(variant.maxRange * variant.divisor);
    int smallest = high;
    int largest = low;
    ProcessImage previous = poll(*simulator);
    // Two minutes of polling every 65 ms.
    for (*clock.now = 65; *clock.now <= 120000; *clock.now += 65) {
        const ProcessImage image = poll(*simulator);
        QVERIFY(image.pressure >= low && image.pressure <= high);
        QVERIFY(image.temperature > 0 && image.temperature < 1000);
        QVERIFY2(qAbs(image.pressure - previous.pressure) < (high - low) / 50, "pressure jumps");
        QVERIFY2(qAbs(image.temperature - previous.temperature) < 10, "temperature jumps");
        smallest = qMin(smallest, image.pressure);
        largest = qMax(largest, image.pressure);
        previous = image;
    }
    QVERIFY2(largest - smallest > (high - low) / 2, "pressure hardly moves");
}

void tst_MasterSimulator::seedMakesProcessReproducible()
{
    const DeviceDescription description = *DeviceDescription::fromFile(descriptionPath());
    const DeviceIdentity device = *description.select({});
    MasterSimulator first(description, device, 7);
    MasterSimulator second(description, device, 7);
    MasterSimulator other(description, device, 8);
    ManualClock clock;
    for (MasterSimulator *simulator : {&first, &second, &other})
        simulator->setClock(clock.clock());
    bool otherDiffers = false;
    for (*clock.now = 0; *clock.now < 2000; *clock.now += 100) {
        const ProcessImage a = poll(first);
        const ProcessImage b = poll(second);
        QCOMPARE(a.pressure, b.pressure);
        QCOMPARE(a.temperature, b.temperature);
        otherDiffers = otherDiffers || poll(other).pressure != a.pressure;
    }
    QVERIFY(otherDiffers);
}

void tst_MasterSimulator::faultsHitEveryNthAnswerButNotTheRequest_data()
{
    QTest::addColumn<int>("dropEvery");
    QTest::addColumn<int>("corruptEvery");
    QTest::addColumn<QString>("outcomes");
    // One mark per request: answered (.), dropped (-) or corrupted (x); the last request is a
    // write.
    QTest::newRow("every third dropped") << 3 << 0 << "..-..-";
    QTest::newRow("every second corrupted") << 0 << 2 << ".x.x.x";
}

void tst_MasterSimulator::faultsHitEveryNthAnswerButNotTheRequest()
{
    QFETCH(int, dropEvery);
    QFETCH(int, corruptEvery);
    QFETCH(QString, outcomes);
    auto simulator = simulatorFor({});
    FaultSettings faults;
    faults.dropEvery = dropEvery;
    faults.corruptEvery = corruptEvery;
    simulator->setFaults(faults);
    QString seen;
    for (int i = 1; i <= outcomes.size(); ++i) {
        const std::optional<QByteArray> answer = simulator->respond(
            i < outcomes.size() ? QByteArray::fromHex("03511201") : writeFrame(72, 0, 7, 250));
        seen += !answer                  ? QLatin1Char('-')
                : isFrameIntact(*answer) ? QLatin1Char('.')
                                         : QLatin1Char('x');
    }
    QCOMPARE(seen, outcomes);
    QCOMPARE(simulator->parameter(QStringLiteral("OnDelay1")).toInt(), 250);
    QCOMPARE(simulator->counters().requestsSeen, outcomes.size());
    QCOMPARE(simulator->counters().answersDropped, int(outcomes.count(QLatin1Char('-'))));
    QCOMPARE(simulator->counters().answersCorrupted, int(outcomes.count(QLatin1Char('x'))));
}

void tst_MasterSimulator::unplugsAfterTheSetTime()
{
    auto simulator = simulatorFor({});
    ManualClock clock;
    *clock.now = 5000;
    simulator->setClock(clock.clock());
    FaultSettings faults;
    faults.unplugAfterMs = 1000;
    simulator->setFaults(faults);
    *clock.now = 5999;
    QVERIFY(simulator->timeUntilUnplug());
    QCOMPARE(*simulator->timeUntilUnplug(), qint64(1));
    QVERIFY(simulator->respond(QByteArray::fromHex("03511201")));
    *clock.now = 6000;
    QVERIFY(simulator->isUnplugged());
    QVERIFY(!simulator->respond(QByteArray::fromHex("03511201")));
    QCOMPARE(simulator->counters().requestsSeen, 1);
}

QTEST_GUILESS_MAIN(tst_MasterSimulator)
#include "tst_mastersimulator.moc"
