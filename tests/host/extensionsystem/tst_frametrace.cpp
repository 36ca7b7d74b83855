#include <extensionsystem/frametrace.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace ExtensionSystem;

Q_DECLARE_METATYPE(FrameDirection)

class tst_FrameTrace : public QObject
{
    Q_OBJECT

private slots:
    void lineFormat_data();
    void lineFormat();
    void answerCarriesItsRoundTripIntoFileAndSignal();
};

void tst_FrameTrace::lineFormat_data()
{
    QTest::addColumn<FrameDirection>("direction");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("roundTrip"); // -1: none
    QTest::addColumn<QString>("line");

    QTest::newRow("sent") << FrameDirection::Sent << QByteArray::fromHex("027022") << -1
                          << "1250 /dev/ttyUSB0 > 02 70 22";
    QTest::newRow("answer") << FrameDirection::Answer << QByteArray::fromHex("03401200") << 17
                            << "1250 /dev/ttyUSB0 < 03 40 12 00 17 ms";
    QTest::newRow("time-out") << FrameDirection::Failed << QByteArray() << -1
                              << "1250 /dev/ttyUSB0 !";
    QTest::newRow("damaged answer") << FrameDirection::Failed << QByteArray::fromHex("03ff") << -1
                                    << "1250 /dev/ttyUSB0 ! 03 ff";
}

void tst_FrameTrace::lineFormat()
{
    QFETCH(FrameDirection, direction);
    QFETCH(QByteArray, bytes);
    QFETCH(int, roundTrip);
    const std::optional<qint64> roundTripMs
        = roundTrip < 0 ? std::nullopt : std::optional<qint64>(roundTrip);
    QTEST(frameTraceLine(1250, QStringLiteral("/dev/ttyUSB0"), direction, bytes, roundTripMs),
          "line");
}

void tst_FrameTrace::answerCarriesItsRoundTripIntoFileAndSignal()
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

    QCOMPARE(lines.count(), 4);
    const QRegularExpression answer(QStringLiteral("^\\d+ A < 03 40 12 00 (\\d+) ms$"));
    const QRegularExpressionMatch match = answer.match(lines.at(2).at(0).toString());
    QVERIFY2(match.hasMatch(), qPrintable(lines.at(2).at(0).toString()));
    QVERIFY(match.captured(1).toInt() >= 20);
    QVERIFY(lines.at(3).at(0).toString().endsWith(QLatin1String(" B !")));

    QFile file(fileName);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList written
        = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList emitted;
    for (const QList<QVariant> &arguments : std::as_const(lines))
        emitted << arguments.at(0).toString();
    QCOMPARE(written, emitted);
}

QTEST_GUILESS_MAIN(tst_FrameTrace)
#include "tst_frametrace.moc"
