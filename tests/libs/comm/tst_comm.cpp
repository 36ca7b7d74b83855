#include <comm/answers.h>
#include <comm/fixedframes.h>
#include <comm/frame.h>
#include <comm/platformsleep.h>
#include <comm/processdata.h>

#include <QtTest>

#include <limits>

using namespace BravoSensorPlugin::Core;

// Frames, answers, process data and pauses of the serial protocol.
class tst_Comm : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void framesAreReproducedByteForByteAndGuardEveryBit_data();
    void framesAreReproducedByteForByteAndGuardEveryBit();
    void malformedFramesAreRejected_data();
    void malformedFramesAreRejected();
    void cleanAnswerDropsZerosThenSkips_data();
    void cleanAnswerDropsZerosThenSkips();
    void numbersComeFromTheAnswerTail_data();
    void numbersComeFromTheAnswerTail();
    void textValueSkipsHeaderAndZeros_data();
    void textValueSkipsHeaderAndZeros();
    void identityAnswerIsComparedWithSensorId_data();
    void identityAnswerIsComparedWithSensorId();
    void decodesTheLastFourBytes_data();
    void decodesTheLastFourBytes();
    void analogOutputFollowsCharacteristic_data();
    void analogOutputFollowsCharacteristic();
    void pauseIsScaled_data();
    void pauseIsScaled();
};

void tst_Comm::cleanup()
{
    setPlatformSleepScale(1.0);
}

// Frames built by the code under test next to the bytes the master expects. The fixed frames are
// pinned where the window sends them. Each check octet catches every single bit error.
void tst_Comm::framesAreReproducedByteForByteAndGuardEveryBit_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("expectedHex");

    QTest::newRow("process data") << processDataFrame() << QByteArray("027022");
    QTest::newRow("read request of index 19")
        << readRequestFrame(19, 0) << QByteArray("054626130000");
    QTest::newRow("two-byte write, high byte first")
        << writeFrame(77, 0, 7, 300) << QByteArray("077f244d0000012c");
    QTest::newRow("one-byte write keeps the low byte")
        << writeFrame(77, 0, 6, 300) << QByteArray("066e244d00002c");
    QTest::newRow("index low byte first, subindex")
        << writeFrame(0x0140, 2, 6, 5) << QByteArray("06682440010205");
    QTest::newRow("negative two-byte value")
        << writeFrame(77, 0, 7, -150) << QByteArray("0745244d0000ff6a");
}

void tst_Comm::framesAreReproducedByteForByteAndGuardEveryBit()
{
    QFETCH(QByteArray, frame);
    QTEST(frame.toHex(), "expectedHex");
    QVERIFY(isFrameIntact(frame));
    for (int byte = 0; byte < frame.size(); ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            QByteArray bad = frame;
            bad[byte] = char(bad.at(byte) ^ (1 << bit));
            QVERIFY2(!isFrameIntact(bad),
                     qPrintable(QStringLiteral("byte %1 bit %2").arg(byte).arg(bit)));
        }
    }
}

void tst_Comm::malformedFramesAreRejected_data()
{
    QTest::addColumn<QByteArray>("frameHex");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("count only") << QByteArray("00");
    QTest::newRow("no command") << QByteArray("0170");
    QTest::newRow("no command, check octet of command 0") << QByteArray("0175");
    QTest::newRow("cut short") << QByteArray("077f244d000001");
    QTest::newRow("trailing byte") << QByteArray("02702200");
    QTest::newRow("check octet without its 01 bits") << QByteArray("023022");
}

void tst_Comm::malformedFramesAreRejected()
{
    QFETCH(QByteArray, frameHex);
    QVERIFY(!isFrameIntact(QByteArray::fromHex(frameHex)));
}

void tst_Comm::cleanAnswerDropsZerosThenSkips_data()
{
    QTest::addColumn<QByteArray>("answerHex");
    QTest::addColumn<int>("skip");
    QTest::addColumn<QByteArray>("expectedHex");

    QTest::newRow("zeros first, then three dropped")
        << QByteArray("00410042434445") << 3 << QByteArray("4445");
    QTest::newRow("two bytes keep all but zeros") << QByteArray("0041") << 3 << QByteArray("41");
    QTest::newRow("three left, nothing dropped")
        << QByteArray("41004243") << 3 << QByteArray("414243");
    QTest::newRow("single zero byte stays") << QByteArray("00") << 3 << QByteArray("00");
    QTest::newRow("no skip") << QByteArray("0041004243") << 0 << QByteArray("414243");
    QTest::newRow("negative skip drops nothing")
        << QByteArray("41424344") << -1 << QByteArray("41424344");
    QTest::newRow("empty") << QByteArray() << 3 << QByteArray();
}

void tst_Comm::cleanAnswerDropsZerosThenSkips()
{
    QFETCH(QByteArray, answerHex);
    QFETCH(int, skip);
    QTEST(cleanAnswer(QByteArray::fromHex(answerHex), skip).toHex(), "expectedHex");
}

// Unsigned for integers, signed for doubles, any bit for bools.
void tst_Comm::numbersComeFromTheAnswerTail_data()
{
    QTest::addColumn<QString>("decoder");
    QTest::addColumn<QByteArray>("answerHex");
    QTest::addColumn<int>("expected");
    const auto row = [](const char *decoder, const char *name, const char *hex, int expected) {
        QTest::addRow("%s: %s", decoder, name) << QString::fromLatin1(decoder) << QByteArray(hex)
                                               << expected;
    };
    row("tail", "count 5, two bytes", "050027000120", 0x0120);
    row("tail", "count 3, last byte", "0300012c", 0x2c);
    row("tail", "first byte 0A reads as 0", "0a002700012c", 0x2c);
    row("tail", "first byte 4 is not above 4", "040027000102", 0x02);
    row("tail", "four bytes are too short", "0600ff01", 0x01);
    row("tail", "one byte", "07", 7);
    row("tail", "empty", "", 0);
    row("signed", "negative two bytes", "065b2700ff38", -200);
    row("signed", "positive two bytes", "065b2700ff6a0096", 150);
    row("signed", "short answer ending A7 00", "03a7a700", 0);
    row("signed", "A7 00 in a five-byte answer", "045b27a700", -22784);
    row("signed", "short answer, other bytes", "03a7a701", -22783);
    row("signed", "one byte is unsigned", "ff", 255);
    row("signed", "empty", "", 0);
    row("bool", "low byte set", "055b270001", 1);
    row("bool", "high byte set", "065b27000100", 1);
    row("bool", "last two zero", "065b27000000", 0);
    row("bool", "one byte set", "01", 1);
    row("bool", "empty", "", 0);
}

void tst_Comm::numbersComeFromTheAnswerTail()
{
    QFETCH(QString, decoder);
    QFETCH(QByteArray, answerHex);
    const QByteArray answer = QByteArray::fromHex(answerHex);
    if (decoder == QLatin1String("tail"))
        QTEST(int(tailValue(answer)), "expected");
    else if (decoder == QLatin1String("signed"))
        QTEST(signedTailValue(answer), "expected");
    else
        QTEST(int(boolValue(answer)), "expected");
}

void tst_Comm::textValueSkipsHeaderAndZeros_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("expected");

    QTest::newRow("status byte and padding gone")
        << QByteArray::fromHex("0a5b2700") + QByteArray("KR7D") + QByteArray(2, '\0') << "KR7D";
    QTest::newRow("UTF-8") << QByteArray::fromHex("075b2700")
                                  + QByteArray("25 \xc2\xb0"
                                               "C")
                           << QString::fromUtf8("25 \xc2\xb0"
                                                "C");
    QTest::newRow("header only") << QByteArray::fromHex("035b2700") << "";
    QTest::newRow("empty") << QByteArray() << "";
}

void tst_Comm::textValueSkipsHeaderAndZeros()
{
    QFETCH(QByteArray, answer);
    QTEST(textValue(answer), "expected");
}

void tst_Comm::identityAnswerIsComparedWithSensorId_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("sensorId");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matches");

    const QByteArray header = QByteArray::fromHex("0b5b2700");
    QTest::newRow("matching sensor") << header + QByteArray("KR7DA10") << "KR7D"
                                     << "KR7DA10" << true;
    QTest::newRow("other sensor") << header + QByteArray("KR8DA10") << "KR7D"
                                  << "KR8DA10" << false;
    QTest::newRow("id is case-sensitive") << header + QByteArray("kr7dA10") << "KR7D"
                                          << "kr7dA10" << false;
    QTest::newRow("shorter than 3 after cleaning") << QByteArray::fromHex("004b00") << "K"
                                                   << "" << false;
    QTest::newRow("empty id never matches a short answer") << QByteArray::fromHex("0400") << ""
                                                           << "" << false;
    QTest::newRow("three bytes are kept whole") << QByteArray("KR7") << "KR7"
                                                << "KR7" << true;
}

void tst_Comm::identityAnswerIsComparedWithSensorId()
{
    QFETCH(QByteArray, answer);
    QFETCH(QString, sensorId);
    QTEST(identityText(answer), "text");
    QTEST(identityMatches(answer, sensorId), "matches");
}

void tst_Comm::decodesTheLastFourBytes_data()
{
    QTest::addColumn<QString>("hexText");
    QTest::addColumn<double>("divisor");
    QTest::addColumn<double>("pressure");
    QTest::addColumn<double>("temperature");
    QTest::addColumn<bool>("output1");
    QTest::addColumn<bool>("output2");
    QTest::addColumn<bool>("signalTooLow");

    QTest::newRow("negative pressure, A1 on, signal low")
        << "08a72200ff380195" << 100.0 << -2.0 << 2.5 << true << false << true;
    QTest::newRow("largest temperature, all bits off")
        << "08a7220003e8fff0" << 1000.0 << 1.0 << 409.5 << false << false << false;
    QTest::newRow("A2 on, unused bit ignored")
        << "08a7220000fa00fa" << 10.0 << 25.0 << 1.5 << false << true << false;
    QTest::newRow("only the last 8 characters count")
        << "ffffffff7fff0000" << 1.0 << 32767.0 << 0.0 << false << false << false;
    QTest::newRow("upper-case hex")
        << "8000FFF7" << 1000.0 << -32.768 << 409.5 << true << true << true;
    QTest::newRow("short text padded with zeros")
        << "fa5" << 1.0 << 0.0 << 25.0 << true << false << true;
    QTest::newRow("empty") << "" << 1000.0 << 0.0 << 0.0 << false << false << false;
}

void tst_Comm::decodesTheLastFourBytes()
{
    QFETCH(QString, hexText);
    QFETCH(double, divisor);
    const ProcessData data = decodeProcessData(hexText, divisor);
    QTEST(data.pressure, "pressure");
    QTEST(data.temperature, "temperature");
    QTEST(data.output1, "output1");
    QTEST(data.output2, "output2");
    QTEST(data.signalTooLow, "signalTooLow");
}

void tst_Comm::analogOutputFollowsCharacteristic_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("point0");
    QTest::addColumn<double>("point10");
    QTest::addColumn<int>("analogMode");
    QTest::addColumn<double>("expected");

    QTest::newRow("voltage, offset points") << 2.5 << -1.0 << 6.0 << 0 << 5.0;
    QTest::newRow("voltage, falling characteristic") << 2.5 << 10.0 << 0.0 << 0 << 7.5;
    QTest::newRow("current, any mode but 0") << 60.0 << 20.0 << 100.0 << 2 << 12.0;
    QTest::newRow("voltage, above the range") << 15.0 << 0.0 << 10.0 << 0 << 15.0;
    QTest::newRow("voltage, equal points") << 3.0 << 3.0 << 3.0 << 0 << 0.0;
    QTest::newRow("current, equal points") << 7.0 << 3.0 << 3.0 << 1 << 4.0;
}

void tst_Comm::analogOutputFollowsCharacteristic()
{
    QFETCH(double, x);
    QFETCH(double, point0);
    QFETCH(double, point10);
    QFETCH(int, analogMode);
    QTEST(analogOutputValue(x, point0, point10, analogMode), "expected");
}

void tst_Comm::pauseIsScaled_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("applied");
    QTest::addColumn<unsigned int>("ms");
    QTest::addColumn<unsigned int>("scaled");
    QTest::newRow("unscaled") << 1.0 << 1.0 << 250u << 250u;
    QTest::newRow("a twentieth, rounded") << 0.05 << 0.05 << 70u << 4u;
    QTest::newRow("a thousandth, below a millisecond") << 0.001 << 0.001 << 120u << 0u;
    QTest::newRow("zero") << 0.0 << 0.0 << 20000u << 0u;
    QTest::newRow("negative") << -2.0 << 0.0 << 20000u << 0u;
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << 0.0 << 20000u << 0u;
}

void tst_Comm::pauseIsScaled()
{
    QFETCH(double, scale);
    QFETCH(unsigned int, ms);
    setPlatformSleepScale(scale);
    QTEST(platformSleepScale(), "applied");
    QTEST(platformSleepMs(ms), "scaled");
}

QTEST_GUILESS_MAIN(tst_Comm)
#include "tst_comm.moc"
