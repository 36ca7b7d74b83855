#include <simulator/simcommandline.h>

#include <QtTest>

using namespace Kr7dSim;

class tst_SimCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void readsEveryOption();
    void rejectsUnusableArguments_data();
    void rejectsUnusableArguments();
};

void tst_SimCommandLine::readsEveryOption()
{
    SimCommandLine commandLine;
    const std::optional<SimOptions> options = commandLine.parse({"iolink-master-sim",
                                                                 "--description",
                                                                 "/d.xml",
                                                                 "--sensor",
                                                                 "KR7D-P250",
                                                                 "--variant",
                                                                 "100",
                                                                 "--product-id",
                                                                 "K7DB100",
                                                                 "--link",
                                                                 "/tmp/port",
                                                                 "--log",
                                                                 "/tmp/frames.log",
                                                                 "--latency-ms",
                                                                 "15",
                                                                 "--drop-every",
                                                                 "4",
                                                                 "--corrupt-every",
                                                                 "5",
                                                                 "--unplug-after-ms",
                                                                 "3000"},
                                                                "/app/desc.xml");
    QVERIFY2(options, qPrintable(commandLine.errorText()));
    QCOMPARE(options->descriptionPath, QStringLiteral("/d.xml"));
    QCOMPARE(options->selection.sensorName, QStringLiteral("KR7D-P250"));
    QCOMPARE(options->selection.variantId3, QStringLiteral("100"));
    QCOMPARE(options->selection.productId, QStringLiteral("K7DB100"));
    QCOMPARE(options->linkPath, QStringLiteral("/tmp/port"));
    QCOMPARE(options->logPath, QStringLiteral("/tmp/frames.log"));
    QCOMPARE(options->faults.latencyMs, 15);
    QCOMPARE(options->faults.dropEvery, 4);
    QCOMPARE(options->faults.corruptEvery, 5);
    QCOMPARE(options->faults.unplugAfterMs, qint64(3000));
}

void tst_SimCommandLine::rejectsUnusableArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("errorMentions");
    QTest::newRow("unknown option") << QStringList{"--baud", "9600"} << "baud";
    QTest::newRow("missing value") << QStringList{"--sensor"} << "sensor";
    QTest::newRow("negative latency") << QStringList{"--latency-ms", "-5"} << "latency-ms";
    QTest::newRow("count that is no number")
        << QStringList{"--drop-every", "often"} << "drop-every";
    QTest::newRow("fractional time")
        << QStringList{"--unplug-after-ms", "2.5"} << "unplug-after-ms";
    QTest::newRow("stray argument") << QStringList{"extra"} << "extra";
}

void tst_SimCommandLine::rejectsUnusableArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, errorMentions);
    SimCommandLine commandLine;
    arguments.prepend(QStringLiteral("iolink-master-sim"));
    QVERIFY(!commandLine.parse(arguments, QString()));
    QVERIFY2(commandLine.errorText().contains(errorMentions), qPrintable(commandLine.errorText()));
}

QTEST_GUILESS_MAIN(tst_SimCommandLine)
#include "tst_simcommandline.moc"
