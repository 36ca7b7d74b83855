#include "testhost.h"

#include <extensionsystem/globals.h>

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

#include <memory>

using ExtensionSystem::PluginInterface;

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void catalogueListsSensorsAndRefusedLibraries();
    void openedSensorFillsTheAreaAndRestoresToItsRequestedSize();
    void activatingCatalogueEntryOpensThatSensor();
    void unknownSensorNameOpensNothing();
    void changedPortListReachesEveryPluginObject();
    void presentationModeReachesGlobalsAndPluginObjects_data();
    void presentationModeReachesGlobalsAndPluginObjects();
    void activationFollowsTheMdiArea();
    void settingsFileGoesToActiveSensorOnly();
    void closingSensorGoesThroughActionExit();
    void closingSubWindowDeletesPluginObject();
    void closingMainWindowClosesEverySensor();
    void destroyingMainWindowDeletesEachWindowOnce();
    void languageMenuSwitchesLanguage();

private:
    std::unique_ptr<TestHost> m_host;
};

void TestMainWindow::init()
{
    ExtensionSystem::Globals::setPresentationMode(false);
    m_host = std::make_unique<TestHost>();
    m_host->window.show();
}

void TestMainWindow::catalogueListsSensorsAndRefusedLibraries()
{
    const QTreeWidget *tree = m_host->window.catalogueView();
    QCOMPARE(tree->topLevelItemCount(), 2);
    const QTreeWidgetItem *plugin = tree->topLevelItem(0);
    QCOMPARE(plugin->text(0), QStringLiteral("FakeGauge"));
    QCOMPARE(plugin->text(1), QStringLiteral("0.1.2, SERIAL"));
    QCOMPARE(plugin->toolTip(0), QStringLiteral("Fake plug-in  for the host's tests"));
    QCOMPARE(plugin->childCount(), 2);
    QCOMPARE(plugin->child(0)->text(0), QStringLiteral("Fake-A"));
    QCOMPARE(plugin->child(1)->text(0), QStringLiteral("Fake-B"));
    QCOMPARE(plugin->child(1)->text(1), QStringLiteral("F002"));

    const QTreeWidgetItem *refused = tree->topLevelItem(1);
    QCOMPARE(refused->text(0), QStringLiteral("libkr7d_fake_plugin_without_vSensorMap.so"));
    QCOMPARE(refused->text(1), QStringLiteral("lacks the entry point(s) vSensorMap"));
    QCOMPARE(m_host->window.refusals().size(), size_t(1));
}

void TestMainWindow::openedSensorFillsTheAreaAndRestoresToItsRequestedSize()
{
    PluginInterface *object = m_host->window.openSensor(QStringLiteral("Fake-B"));
    QVERIFY(object);
    QMdiSubWindow *subWindow = m_host->window.subWindowOf(object);
    QVERIFY(subWindow);
    QCOMPARE(subWindow->mdiArea(), m_host->window.mdiArea());
    QVERIFY(subWindow->isVisible());
    // Alone in the area it fills it; restored, it has the size it asked for.
    QVERIFY(subWindow->isMaximized());
    subWindow->showNormal();
    QCOMPARE(subWindow->widget()->size(), QSize(800, 500));
    QCOMPARE(object->getSensorName(), QStringLiteral("Fake-B"));
    QCOMPARE(subWindow->windowTitle(), QStringLiteral("Fake-B"));
    QCOMPARE(object->parent(), &m_host->window);
    QCOMPARE(callsStartingWith(object, QStringLiteral("ports:")),
             QStringList{"ports:COM1,COM4,SIM"});
    QCOMPARE(callsStartingWith(object, QStringLiteral("active:")).value(0),
             QStringLiteral("active:true"));
}

void TestMainWindow::activatingCatalogueEntryOpensThatSensor()
{
    QTreeWidget *tree = m_host->window.catalogueView();
    QTreeWidgetItem *sensorItem = tree->topLevelItem(0)->child(0);
    emit tree->itemActivated(sensorItem, 0);
    emit tree->itemActivated(tree->topLevelItem(1), 0); // a refused library opens nothing

    const QList<PluginInterface *> objects = m_host->window.pluginObjects();
    QCOMPARE(objects.size(), 1);
    QCOMPARE(objects.first()->getSensorName(), QStringLiteral("Fake-A"));
}

void TestMainWindow::unknownSensorNameOpensNothing()
{
    QCOMPARE(m_host->window.openSensor(QStringLiteral("Fake-C")), nullptr);
    QCOMPARE(m_host->window.openSensor(TGauge::SensorRef{0, 2}), nullptr);
    QCOMPARE(m_host->window.openSensor(TGauge::SensorRef{1, 0}), nullptr);
    QVERIFY(m_host->window.pluginObjects().isEmpty());
    QVERIFY(m_host->window.mdiArea()->subWindowList().isEmpty());
}

void TestMainWindow::changedPortListReachesEveryPluginObject()
{
    PluginInterface *first = m_host->window.openSensor(QStringLiteral("Fake-A"));
    PluginInterface *second = m_host->window.openSensor(QStringLiteral("Fake-B"));

    m_host->ports.refresh(); // unchanged: nobody is bothered
    m_host->systemPorts = QStringList{"COM4", "SIM", "COM7"};
    m_host->ports.refresh();

    const QStringList expected{"ports:COM1,COM4,SIM", "ports:COM4,SIM,COM7"};
    QCOMPARE(callsStartingWith(first, QStringLiteral("ports:")), expected);
    QCOMPARE(callsStartingWith(second, QStringLiteral("ports:")), expected);
}

void TestMainWindow::presentationModeReachesGlobalsAndPluginObjects_data()
{
    QTest::addColumn<QList<bool>>("switches");
    QTest::addColumn<QStringList>("calls");

    QTest::newRow("on") << QList<bool>{true} << QStringList{"update:true"};
    QTest::newRow("on and off again")
        << QList<bool>{true, false} << QStringList{"update:true", "update:false"};
}

void TestMainWindow::presentationModeReachesGlobalsAndPluginObjects()
{
    QFETCH(QList<bool>, switches);
    PluginInterface *first = m_host->window.openSensor(QStringLiteral("Fake-A"));
    PluginInterface *second = m_host->window.openSensor(QStringLiteral("Fake-A"));
    for (bool on : switches) {
        m_host->window.setPresentationMode(on);
        QCOMPARE(ExtensionSystem::Globals::getPresentationMode(), on);
    }
    QTEST(callsStartingWith(first, QStringLiteral("update:")), "calls");
    QTEST(callsStartingWith(second, QStringLiteral("update:")), "calls");
}

void TestMainWindow::activationFollowsTheMdiArea()
{
    PluginInterface *first = m_host->window.openSensor(QStringLiteral("Fake-A"));
    PluginInterface *second = m_host->window.openSensor(QStringLiteral("Fake-B"));
    first->setProperty("calls", QVariant());
    second->setProperty("calls", QVariant());

    m_host->window.mdiArea()->setActiveSubWindow(m_host->window.subWindowOf(first));
    QCOMPARE(callsStartingWith(first, QStringLiteral("active:")), QStringList{"active:true"});
    QCOMPARE(callsStartingWith(second, QStringLiteral("active:")), QStringList{"active:false"});
}

void TestMainWindow::settingsFileGoesToActiveSensorOnly()
{
    PluginInterface *first = m_host->window.openSensor(QStringLiteral("Fake-A"));
    PluginInterface *second = m_host->window.openSensor(QStringLiteral("Fake-B"));
    m_host->window.mdiArea()->setActiveSubWindow(m_host->window.subWindowOf(first));

    m_host->window.openSettingsFile(QStringLiteral("/tmp/line 3.tgs"));
    QCOMPARE(callsStartingWith(first, QStringLiteral("open:")),
             QStringList{"open:/tmp/line 3.tgs"});
    QVERIFY(callsStartingWith(second, QStringLiteral("open:")).isEmpty());
}

void TestMainWindow::closingSensorGoesThroughActionExit()
{
    PluginInterface *object = m_host->window.openSensor(QStringLiteral("Fake-A"));
    QPointer<QMdiSubWindow> subWindow = m_host->window.subWindowOf(object);
    QPointer<QWidget> sensorWindow = subWindow->widget();
    QSignalSpy objectGone(object, &QObject::destroyed);

    m_host->window.closeSensor(object);
    QCOMPARE(callsStartingWith(object, QStringLiteral("exit")), QStringList{"exit"});
    QTRY_COMPARE(objectGone.count(), 1);
    QVERIFY(!subWindow);
    QVERIFY(!sensorWindow);
    QVERIFY(m_host->window.pluginObjects().isEmpty());
}

void TestMainWindow::closingSubWindowDeletesPluginObject()
{
    PluginInterface *object = m_host->window.openSensor(QStringLiteral("Fake-A"));
    PluginInterface *other = m_host->window.openSensor(QStringLiteral("Fake-B"));
    QSignalSpy objectGone(object, &QObject::destroyed);

    QVERIFY(m_host->window.subWindowOf(object)->close());
    QTRY_COMPARE(objectGone.count(), 1);
    QCOMPARE(m_host->window.pluginObjects(), QList<PluginInterface *>{other});
    QCOMPARE(m_host->window.mdiArea()->subWindowList().size(), 1);
}

void TestMainWindow::closingMainWindowClosesEverySensor()
{
    PluginInterface *first = m_host->window.openSensor(QStringLiteral("Fake-A"));
    PluginInterface *second = m_host->window.openSensor(QStringLiteral("Fake-B"));
    QSignalSpy firstGone(first, &QObject::destroyed);
    QSignalSpy secondGone(second, &QObject::destroyed);

    QVERIFY(m_host->window.close());
    QCOMPARE(callsStartingWith(first, QStringLiteral("exit")), QStringList{"exit"});
    QCOMPARE(callsStartingWith(second, QStringLiteral("exit")), QStringList{"exit"});
    QTRY_COMPARE(firstGone.count() + secondGone.count(), 2);
}

void TestMainWindow::destroyingMainWindowDeletesEachWindowOnce()
{
    PluginInterface *object = m_host->window.openSensor(QStringLiteral("Fake-A"));
    QPointer<QWidget> sensorWindow = m_host->window.subWindowOf(object)->widget();
    QSignalSpy objectGone(object, &QObject::destroyed);
    QSignalSpy windowGone(sensorWindow.data(), &QObject::destroyed);
    m_host->window.openSensor(QStringLiteral("Fake-B"));
    // The other sub-window went first: its plugin object is still waiting for deletion.
    m_host->window.subWindowOf(m_host->window.pluginObjects().last())->close();

    m_host.reset();
    QCOMPARE(objectGone.count(), 1);
    QCOMPARE(windowGone.count(), 1);
}

void TestMainWindow::languageMenuSwitchesLanguage()
{
    ExtensionSystem::Globals::setLanguage("en");
    const QList<QAction *> menus = m_host->window.menuBar()->actions();
    const auto languageMenu = std::find_if(menus.cbegin(), menus.cend(), [](const QAction *action) {
        return action->text() == QStringLiteral("&Language");
    });
    QVERIFY(languageMenu != menus.cend());
    const QList<QAction *> choices = (*languageMenu)->menu()->actions();
    QCOMPARE(choices.size(), 2);
    QCOMPARE(choices.at(0)->text(), QStringLiteral("English"));
    QVERIFY(choices.at(0)->isChecked());

    choices.at(1)->trigger();
    QCOMPARE(choices.at(1)->text(), QStringLiteral("Deutsch"));
    QCOMPARE(ExtensionSystem::Globals::getLanguage(), std::string("de"));
    QCOMPARE(m_host->languages.language(), QStringLiteral("de"));
    QVERIFY(choices.at(1)->isChecked());
    QVERIFY(!choices.at(0)->isChecked());

    m_host->languages.switchTo(QStringLiteral("en"));
    QVERIFY(choices.at(0)->isChecked());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
