#include "tgaugeprocess.h"

#include <QtTest>

namespace {

const QString fakePluginDir = QStringLiteral(FAKE_PLUGIN_DIR);

} // namespace

class TestTgauge : public QObject
{
    Q_OBJECT

private slots:
    void answersOnTheCommandLine_data();
    void answersOnTheCommandLine();
    void listsTheCatalogueAndNamesRefusedLibraries();
    void scriptedRunSavesScreenshotAndQuits();
};

void TestTgauge::answersOnTheCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("outPart");
    QTest::addColumn<QString>("errPart");

    QTest::newRow("help") << QStringList{"--help"} << 0 << "--screenshot <file>"
                          << "";
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << 2 << ""
                                    << "Unknown option 'frobnicate'";
    QTest::newRow("empty plug-in folder")
        << QStringList{"--list-sensors", "--plugin-dir", QDir::tempPath() + "/tgauge-no-such-dir"}
        << 0 << ""
        << "no plug-in library in";
}

void TestTgauge::answersOnTheCommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, outPart);
    QFETCH(QString, errPart);
    const TgaugeRun run = runTgauge(arguments);
    QVERIFY(run.finished);
    QTEST(run.exitCode, "exitCode");
    QVERIFY2(run.out.contains(outPart), qPrintable(run.out));
    QVERIFY2(run.err.contains(errPart), qPrintable(run.err));
}

void TestTgauge::listsTheCatalogueAndNamesRefusedLibraries()
{
    const TgaugeRun run = runTgauge(
        {QStringLiteral("--list-sensors"), QStringLiteral("--plugin-dir"), fakePluginDir});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QStringLiteral("Fake-A\nFake-B\n"));
    QVERIFY2(run.err.contains(QStringLiteral("libkr7d_fake_plugin_without_pcDescription.so: lacks "
                                             "the entry point(s) pcDescription")),
             qPrintable(run.err));
}

void TestTgauge::scriptedRunSavesScreenshotAndQuits()
{
    QTemporaryDir dir;
    const QString shot = dir.filePath(QStringLiteral("shot.png"));
    const TgaugeRun run
        = runTgauge({QStringLiteral("--plugin-dir"), fakePluginDir, QStringLiteral("--open-sensor"),
                     QStringLiteral("Fake-B"), QStringLiteral("--screenshot"), shot,
                     QStringLiteral("--quit-after"), QStringLiteral("200")});
    QVERIFY2(run.finished, qPrintable(run.err));
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.contains(QStringLiteral("saved the screenshot ") + shot), qPrintable(run.err));
    QVERIFY(QFileInfo(shot).size() > 0);
    const QImage picture(shot, "PNG");
    QVERIFY(!picture.isNull());
    QVERIFY(picture.width() >= 800 && picture.height() >= 500);
}

QTEST_GUILESS_MAIN(TestTgauge)
#include "tst_tgauge.moc"
