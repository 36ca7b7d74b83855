#include "testhost.h"
#include "tgaugeprocess.h"

#include <extensionsystem/globals.h>

#include <QAction>
#include <QMdiSubWindow>
#include <QtTest>

#include <memory>

namespace {

std::vector<TGauge::PluginLoadResult> realPlugin()
{
    std::vector<TGauge::PluginLoadResult> results;
    results.push_back(
        TGauge::PluginLoader::load(QStringLiteral(KR7D_APP_DIR "/plugins/libIoLinkKR7Dfamily.so")));
    return results;
}

QStringList actionTexts(const QWidget *window)
{
    QStringList texts;
    const QList<QAction *> actions = window->findChildren<QAction *>();
    for (const QAction *action : actions)
        texts << action->text();
    return texts;
}

} // namespace

class TestRealPlugin : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void hostLoadsThePluginAndOpensItsWindowAt800By500WithinItsMinimum();
    void languageSwitchReachesThePluginWindow();
    void scriptedRunConnectsToTheSimulatedMaster();

private:
    std::unique_ptr<TestHost> m_host;
    QString m_sensorName;
};

void TestRealPlugin::init()
{
    m_host = std::make_unique<TestHost>(realPlugin(), QStringList{KR7D_APP_DIR "/translations"});
    const auto &refusals = m_host->window.refusals();
    QVERIFY2(refusals.empty(), refusals.empty() ? "" : qPrintable(refusals.front().error));
    QVERIFY(!m_host->window.plugins().front().sensors.empty());
    m_sensorName = QString::fromStdString(m_host->window.plugins().front().sensors.front().name());
    m_host->window.show();
}

void TestRealPlugin::cleanup()
{
    m_host.reset();
    ExtensionSystem::Globals::setLanguage("en");
}

void TestRealPlugin::hostLoadsThePluginAndOpensItsWindowAt800By500WithinItsMinimum()
{
    const TGauge::PluginLibrary &plugin = m_host->window.plugins().front();
    QCOMPARE(plugin.name, QStringLiteral("IoLinkKR7Dfamily"));
    QCOMPARE(plugin.communicationType, QStringLiteral("SERIAL"));

    ExtensionSystem::PluginInterface *object = m_host->window.openSensor(m_sensorName);
    QVERIFY(object);
    QCOMPARE(object->getSensorName(), m_sensorName);
    QMdiSubWindow *subWindow = m_host->window.subWindowOf(object);
    const QWidget *window = subWindow->widget();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QVERIFY(subWindow->isMaximized());
    subWindow->showNormal();
    // The plug-in asks for 800 by 500; the window's own minimum (850 by 500) bounds that request.
    QCOMPARE(window->minimumSize(), QSize(850, 500));
    QCOMPARE(window->size(), QSize(800, 500).expandedTo(window->minimumSize()));
    QVERIFY(subWindow->windowTitle().startsWith(m_sensorName));
}

void TestRealPlugin::languageSwitchReachesThePluginWindow()
{
    const QWidget *window
        = m_host->window.subWindowOf(m_host->window.openSensor(m_sensorName))->widget();
    const QStringList english = actionTexts(window);

    m_host->languages.switchTo(QStringLiteral("de"));
    QVERIFY(!m_host->languages.installedFiles().isEmpty());
    QTRY_VERIFY(actionTexts(window) != english);

    m_host->languages.switchTo(QStringLiteral("en"));
    QTRY_COMPARE(actionTexts(window), english);
}

void TestRealPlugin::scriptedRunConnectsToTheSimulatedMaster()
{
    QTemporaryDir dir;
    const QString shot = dir.filePath(QStringLiteral("connected.png"));
    const TgaugeRun run
        = runTgauge({QStringLiteral("--open-sensor"), m_sensorName, QStringLiteral("--simulate"),
                     QStringLiteral("SIM"), QStringLiteral("--connect"), QStringLiteral("SIM"),
                     QStringLiteral("--screenshot"), shot, QStringLiteral("--quit-after"),
                     QStringLiteral("2000")});
    QVERIFY2(run.finished, qPrintable(run.err));
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(!run.err.contains(QStringLiteral("cannot simulate")), qPrintable(run.err));
    QVERIFY(!QImage(shot, "PNG").isNull());
}

QTEST_MAIN(TestRealPlugin)
#include "tst_realplugin.moc"
