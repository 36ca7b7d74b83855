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
    void decodersReadWhatTheirValueNeeds_data();
    void decodersReadWhatTheirValueNeeds();
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

// Each decoder next to what it makes of an answer: the cleaned bytes as hex; integers unsigned,
// doubles signed and bools any bit, from the tail; texts and identities past the header.
void tst_Comm::decodersReadWhatTheirValueNeeds_data()
{
    QTest::addColumn<QString>("decoder"); // "clean <skip>", "identity <sensor id>" or the kind
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *decoder, const char *name, const QByteArray &answer,
                        const QString &expected) {
        QTest::addRow("%s: %s", decoder, name)
            << QString::fromLatin1(decoder) << answer << expected;
    };
    const auto hex = [](const char *text) { return QByteArray::fromHex(text); };
    const auto number
        = [&](const char *decoder, const char *name, const char *answer, int expected) {
              row(decoder, name, hex(answer), QString::number(expected));
          };
    row("clean 3", "zeros first, then three dropped", hex("00410042434445"), "4445");
    row("clean 3", "two bytes keep all but zeros", hex("0041"), "41");
    row("clean 3", "three left, nothing dropped", hex("41004243"), "414243");
    row("clean 3", "single zero byte stays", hex("00"), "00");
    row("clean 0", "no skip", hex("0041004243"), "414243");
    row("clean -1", "negative skip drops nothing", hex("41424344"), "41424344");
    row("clean 3", "empty", QByteArray(), "");
    number("tail", "count 5, two bytes", "050027000120", 0x0120);
    number("tail", "count 3, last byte", "0300012c", 0x2c);
    number("tail", "first byte 0A reads as 0", "0a002700012c", 0x2c);
    number("tail", "first byte 4 is not above 4", "040027000102", 0x02);
    number("tail", "four bytes are too short", "0600ff01", 0x01);
    number("tail", "one byte", "07", 7);
    number("tail", "empty", "", 0);
    number("signed", "negative two bytes", "065b2700ff38", -200);
    number("signed", "positive two bytes", "065b2700ff6a0096", 150);
    number("signed", "short answer ending A7 00", "03a7a700", 0);
    number("signed", "A7 00 in a five-byte answer", "045b27a700", -22784);
    number("signed", "short answer, other bytes", "03a7a701", -22783);
    number("signed", "one byte is unsigned", "ff", 255);
    number("signed", "empty", "", 0);
    number("bool", "low byte set", "055b270001", 1);
    number("bool", "high byte set", "065b27000100", 1);
    number("bool", "last two zero", "065b27000000", 0);
    number("bool", "one byte set", "01", 1);
    number("bool", "empty", "", 0);
    row("text", "status byte and padding gone", hex("0a5b2700") + "KR7D" + QByteArray(2, '\0'),
        "KR7D");
    row("text", "UTF-8", hex("075b2700") + "25 \xc2\xb0\x43", QString::fromUtf8("25 \xc2\xb0\x43"));
    row("text", "header only", hex("035b2700"), "");
    row("text", "empty", QByteArray(), "");
    const QByteArray identity = hex("0b5b2700");
    row("identity KR7D", "matching sensor", identity + "KR7DA10", "KR7DA10 matches");
    row("identity KR7D", "other sensor", identity + "KR8DA10", "KR8DA10");
    row("identity KR7D", "id is case-sensitive", identity + "kr7dA10", "kr7dA10");
    row("identity K", "shorter than 3 after cleaning", hex("004b00"), "");
    row("identity", "empty id never matches a short answer", hex("0400"), "");
    row("identity KR7", "three bytes are kept whole", "KR7", "KR7 matches");
}

void tst_Comm::decodersReadWhatTheirValueNeeds()
{
    QFETCH(QString, decoder);
    QFETCH(QByteArray, answer);
    const QString kind = decoder.section(QLatin1Char(' '), 0, 0);
    const QString argument = decoder.section(QLatin1Char(' '), 1);
    QString decoded;
    if (kind == QLatin1String("clean"))
        decoded = QString::fromLatin1(cleanAnswer(answer, argument.toInt()).toHex());
    else if (kind == QLatin1String("tail"))
        decoded = QString::number(tailValue(answer));
    else if (kind == QLatin1String("signed"))
        decoded = QString::number(signedTailValue(answer));
    else if (kind == QLatin1String("bool"))
        decoded = QString::number(int(boolValue(answer)));
    else if (kind == QLatin1String("text"))
        decoded = textValue(answer);
    else
        decoded = identityText(answer)
                  + QLatin1String(identityMatches(answer, argument) ? " matches" : "");
    QTEST(decoded, "expected");
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
