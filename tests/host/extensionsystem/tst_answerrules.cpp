#include <extensionsystem/answerrules.h>

#include <QTest>

using namespace ExtensionSystem;

class tst_AnswerRules : public QObject
{
    Q_OBJECT

private slots:
    void patternSearchesTheLowerCaseHexText_data();
    void patternSearchesTheLowerCaseHexText();
};

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
