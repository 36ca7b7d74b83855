#include <comm/answers.h>

#include <QtTest>

using namespace BravoSensorPlugin::Core;

class tst_Answers : public QObject
{
    Q_OBJECT

private slots:
    void cleanAnswerDropsZerosThenSkips_data();
    void cleanAnswerDropsZerosThenSkips();
    void tailValueTakesOneOrTwoBytes_data();
    void tailValueTakesOneOrTwoBytes();
    void signedTailValueOfDoubleParameters_data();
    void signedTailValueOfDoubleParameters();
    void boolValueTestsLastTwoBytes_data();
    void boolValueTestsLastTwoBytes();
    void textValueSkipsHeaderAndZeros_data();
    void textValueSkipsHeaderAndZeros();
    void identityAnswerIsComparedWithSensorId_data();
    void identityAnswerIsComparedWithSensorId();
};

void tst_Answers::cleanAnswerDropsZerosThenSkips_data()
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
    QTest::newRow("fetch answer of a product id")
        << QByteArray("0b5b2700") + QByteArray("KR7DA10").toHex() << 3
        << QByteArray("KR7DA10").toHex();
}

void tst_Answers::cleanAnswerDropsZerosThenSkips()
{
    QFETCH(QByteArray, answerHex);
    QFETCH(int, skip);
    const QByteArray answer = QByteArray::fromHex(answerHex);
    QTEST(cleanAnswer(answer, skip).toHex(), "expectedHex");
    QCOMPARE(answer, QByteArray::fromHex(answerHex));
}

void tst_Answers::tailValueTakesOneOrTwoBytes_data()
{
    QTest::addColumn<QByteArray>("answerHex");
    QTest::addColumn<int>("expected");

    QTest::newRow("count 5, two bytes") << QByteArray("050027000120") << 0x0120;
    QTest::newRow("count 3, last byte") << QByteArray("0300012c") << 0x2c;
    QTest::newRow("first byte 0A reads as 0") << QByteArray("0a002700012c") << 0x2c;
    QTest::newRow("first byte 10 reads as ten") << QByteArray("1000270001ff") << 0x01ff;
    QTest::newRow("first byte 4 is not above 4") << QByteArray("040027000102") << 0x02;
    QTest::newRow("four bytes are too short") << QByteArray("0600ff01") << 0x01;
    QTest::newRow("unsigned") << QByteArray("065b2700ffff") << 0xffff;
    QTest::newRow("one byte") << QByteArray("07") << 7;
    QTest::newRow("empty") << QByteArray() << 0;
}

void tst_Answers::tailValueTakesOneOrTwoBytes()
{
    QFETCH(QByteArray, answerHex);
    QTEST(int(tailValue(QByteArray::fromHex(answerHex))), "expected");
}

void tst_Answers::signedTailValueOfDoubleParameters_data()
{
    QTest::addColumn<QByteArray>("answerHex");
    QTest::addColumn<int>("expected");

    QTest::newRow("negative two bytes") << QByteArray("065b2700ff38") << -200;
    QTest::newRow("positive two bytes") << QByteArray("065b2700ff6a0096") << 150;
    QTest::newRow("short answer ending A7 00") << QByteArray("03a7a700") << 0;
    QTest::newRow("A7 00 in a six-byte answer") << QByteArray("065b2700a700") << -22784;
    QTest::newRow("A7 00 in a five-byte answer") << QByteArray("045b27a700") << -22784;
    QTest::newRow("short answer, other bytes") << QByteArray("03a7a701") << -22783;
    QTest::newRow("two bytes") << QByteArray("8000") << -32768;
    QTest::newRow("one byte is unsigned") << QByteArray("ff") << 255;
    QTest::newRow("empty") << QByteArray() << 0;
}

void tst_Answers::signedTailValueOfDoubleParameters()
{
    QFETCH(QByteArray, answerHex);
    QTEST(signedTailValue(QByteArray::fromHex(answerHex)), "expected");
}

void tst_Answers::boolValueTestsLastTwoBytes_data()
{
    QTest::addColumn<QByteArray>("answerHex");
    QTest::addColumn<bool>("expected");

    QTest::newRow("low byte set") << QByteArray("055b270001") << true;
    QTest::newRow("high byte set") << QByteArray("065b27000100") << true;
    QTest::newRow("last two zero") << QByteArray("065b27000000") << false;
    QTest::newRow("one byte set") << QByteArray("01") << true;
    QTest::newRow("empty") << QByteArray() << false;
}

void tst_Answers::boolValueTestsLastTwoBytes()
{
    QFETCH(QByteArray, answerHex);
    QTEST(boolValue(QByteArray::fromHex(answerHex)), "expected");
}

void tst_Answers::textValueSkipsHeaderAndZeros_data()
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

void tst_Answers::textValueSkipsHeaderAndZeros()
{
    QFETCH(QByteArray, answer);
    QTEST(textValue(answer), "expected");
}

void tst_Answers::identityAnswerIsComparedWithSensorId_data()
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
    QTest::newRow("no answer") << QByteArray() << "KR7D"
                               << "" << false;
}

void tst_Answers::identityAnswerIsComparedWithSensorId()
{
    QFETCH(QByteArray, answer);
    QFETCH(QString, sensorId);
    QTEST(identityText(answer), "text");
    QTEST(identityMatches(answer, sensorId), "matches");
}

QTEST_GUILESS_MAIN(tst_Answers)
#include "tst_answers.moc"
