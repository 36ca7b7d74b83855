#include "testhost.h"

#include <app/startuprun.h>

#include <extensionsystem/globals.h>

#include <QtTest>

#include <memory>

using ExtensionSystem::PluginInterface;
using TGauge::CommandLine;
using TGauge::StartupRun;

class TestStartupRun : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void opensConnectsThenLoadsSettingsInEverySensor();
    void screenshotIsTakenJustBeforeQuitting();
    void failedStepsGiveExitCodeOne_data();
    void failedStepsGiveExitCodeOne();
    void presentationModeIsOnBeforeSensorsOpen();
    void runTimeCountsFromTheLoadedSettings();

private:
    std::unique_ptr<TestHost> m_host;
    QTemporaryDir m_dir;
};

void TestStartupRun::init()
{
    ExtensionSystem::Globals::setPresentationMode(false);
    m_host = std::make_unique<TestHost>();
    m_host->window.show();
}

void TestStartupRun::opensConnectsThenLoadsSettingsInEverySensor()
{
    CommandLine options;
    options.openSensors = QStringList{"Fake-B", "Fake-A"};
    options.connectPort = QStringLiteral("/dev/pts/9");
    options.settingsFile = QStringLiteral("/tmp/a.tgs");
    StartupRun run(options, m_host->window);
    run.start();

    const QList<PluginInterface *> objects = m_host->window.pluginObjects();
    QCOMPARE(objects.size(), 2);
    QCOMPARE(objects.at(0)->getSensorName(), QStringLiteral("Fake-B"));
    QCOMPARE(objects.at(1)->getSensorName(), QStringLiteral("Fake-A"));
    for (PluginInterface *object : objects) // not before the window is up and the loop runs
        QVERIFY(callsStartingWith(object, QStringLiteral("connect:")).isEmpty());
    const QStringList expected{"connect:/dev/pts/9", "open:/tmp/a.tgs"};
    for (PluginInterface *object : objects)
        QTRY_COMPARE(callsOf(object).filter(QRegularExpression(QStringLiteral("^(connect|open):"))),
                     expected);
    QCOMPARE(run.exitCode(), 0);
}

void TestStartupRun::screenshotIsTakenJustBeforeQuitting()
{
    CommandLine options;
    options.openSensors = QStringList{"Fake-A"};
    options.screenshotFile = m_dir.filePath(QStringLiteral("shot.png"));
    options.quitAfterMs = 50;
    StartupRun run(options, m_host->window);
    QSignalSpy saved(&run, &StartupRun::screenshotSaved);
    QSignalSpy quit(&run, &StartupRun::quitRequested);
    connect(&run, &StartupRun::quitRequested, this, [&saved] { QCOMPARE(saved.count(), 1); });
    run.start();

    QVERIFY(quit.wait(5000));
    QCOMPARE(quit.count(), 1);
    QCOMPARE(quit.at(0).at(0).toInt(), 0);
    QCOMPARE(saved.at(0).at(0).toString(), options.screenshotFile);
    const QImage picture(options.screenshotFile);
    QCOMPARE(picture.size(), m_host->window.size());
}

void TestStartupRun::failedStepsGiveExitCodeOne_data()
{
    QTest::addColumn<QStringList>("sensors");
    QTest::addColumn<QString>("screenshot");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("all went well") << QStringList{"Fake-A"} << "ok.png" << 0;
    QTest::newRow("unknown sensor") << QStringList{"Fake-A", "KR7D-X"} << "ok.png" << 1;
    QTest::newRow("screenshot into a missing folder")
        << QStringList{"Fake-A"} << "missing/shot.png" << 1;
}

void TestStartupRun::failedStepsGiveExitCodeOne()
{
    QFETCH(QStringList, sensors);
    QFETCH(QString, screenshot);
    CommandLine options;
    options.openSensors = sensors;
    options.screenshotFile = m_dir.filePath(screenshot);
    options.quitAfterMs = 0;
    StartupRun run(options, m_host->window);
    QSignalSpy quit(&run, &StartupRun::quitRequested);
    run.start();

    QVERIFY(quit.wait(5000));
    QTEST(quit.at(0).at(0).toInt(), "exitCode");
    QTEST(run.exitCode(), "exitCode");
}

void TestStartupRun::presentationModeIsOnBeforeSensorsOpen()
{
    CommandLine options;
    options.presentation = true;
    options.openSensors = QStringList{"Fake-A"};
    StartupRun run(options, m_host->window);
    run.start();
    QVERIFY(ExtensionSystem::Globals::getPresentationMode());
    // Opened after the switch, the window read the mode itself: no update needed.
    QVERIFY(callsStartingWith(m_host->window.pluginObjects().first(), QStringLiteral("update:"))
                .isEmpty());
}

void TestStartupRun::runTimeCountsFromTheLoadedSettings()
{
    CommandLine options;
    options.openSensors = QStringList{"Fake-A", "Fake-B"};
    options.connectPort = QStringLiteral("SIM");
    options.settingsFile = QStringLiteral("/tmp/a.tgs");
    options.quitAfterMs = 10; // shorter than one sensor takes to connect
    StartupRun run(options, m_host->window);
    QSignalSpy quit(&run, &StartupRun::quitRequested);
    run.start();

    QVERIFY(quit.wait(5000));
    for (PluginInterface *object : m_host->window.pluginObjects())
        QCOMPARE(callsStartingWith(object, QStringLiteral("open:")),
                 QStringList{"open:/tmp/a.tgs"});
}

QTEST_MAIN(TestStartupRun)
#include "tst_startuprun.moc"
