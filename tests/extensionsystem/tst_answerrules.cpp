#include <extensionsystem/answerrules.h>

#include <QTest>

using namespace ExtensionSystem;

class tst_AnswerRules : public QObject
{
    Q_OBJECT

private slots:
    void frameLengthCountsOnlyWholeFrames_data();
    void frameLengthCountsOnlyWholeFrames();
    void patternSearchesTheLowerCaseHexText_data();
    void patternSearchesTheLowerCaseHexText();
};

void tst_AnswerRules::frameLengthCountsOnlyWholeFrames_data()
{
    QTest::addColumn<QByteArray>("buffer");
    QTest::addColumn<int>("length");

    QTest::newRow("nothing yet") << QByteArray() << 0;
    QTest::newRow("one byte short") << QByteArray::fromHex("035112") << 0;
    QTest::newRow("exactly one frame") << QByteArray::fromHex("03511200") << 4;
    QTest::newRow("frame and the next one's start") << QByteArray::fromHex("0351120002") << 4;
    QTest::newRow("count above 127 is unsigned") << QByteArray::fromHex("80") + QByteArray(127, 'x') << 0;
    QTest::newRow("count above 127, complete") << QByteArray::fromHex("80") + QByteArray(128, 'x') << 129;
    QTest::newRow("zero count") << QByteArray::fromHex("00ff") << 1;
}

void tst_AnswerRules::frameLengthCountsOnlyWholeFrames()
{
    QFETCH(QByteArray, buffer);
    QTEST(answerFrameLength(buffer), "length");
}

void tst_AnswerRules::patternSearchesTheLowerCaseHexText_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<bool>("matches");

    const QByteArray answer = QByteArray::fromHex("0473270AFF");
    QTest::newRow("empty pattern") << answer << QByteArray() << true;
    QTest::newRow("any text, even for no answer") << QByteArray() << QByteArray(".*") << true;
    QTest::newRow("unanchored, in the middle") << answer << QByteArray("270a") << true;
    QTest::newRow("hex text is lower case") << answer << QByteArray("0AFF") << false;
    QTest::newRow("anchored at the start") << answer << QByteArray("^0473") << true;
    QTest::newRow("anchored, wrong command") << answer << QByteArray("^047322") << false;
    QTest::newRow("invalid expression") << answer << QByteArray("(04") << false;
}

void tst_AnswerRules::patternSearchesTheLowerCaseHexText()
{
    QFETCH(QByteArray, answer);
    QFETCH(QByteArray, pattern);
    QTEST(answerMatches(answer, pattern.toStdString()), "matches");
}

QTEST_GUILESS_MAIN(tst_AnswerRules)
#include "tst_answerrules.moc"
