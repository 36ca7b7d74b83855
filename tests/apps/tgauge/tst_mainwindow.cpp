#include <app/frametracedock.h>
#include <app/languageswitcher.h>
#include <app/mainwindow.h>
#include <app/pluginloader.h>
#include <app/portlist.h>
#include <app/startuprun.h>

#include <extensionsystem/globals.h>
#include <extensionsystem/plugininterface.h>

#include <QAction>
#include <QActionGroup>
#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <QtTest>

#include <memory>
#include <vector>

using ExtensionSystem::PluginInterface;
using TGauge::CommandLine;
using TGauge::StartupRun;

namespace {

std::vector<TGauge::PluginLoadResult> fakeLoadResults()
{
    std::vector<TGauge::PluginLoadResult> results;
    for (const char *suffix : {"", "_without_vSensorMap"}) {
        results.push_back(
            TGauge::PluginLoader::load(QStringLiteral(FAKE_PLUGIN_DIR "/libkr7d_fake_plugin%1.so")
                                           .arg(QLatin1String(suffix))));
    }
    return results;
}

// A host main window around the fake plug-ins.
struct TestHost
{
    QStringList systemPorts{QStringLiteral("COM1"), QStringLiteral("COM4")};
    TGauge::PortList ports{{QStringLiteral("SIM")}, [this] { return systemPorts; }};
    TGauge::LanguageSwitcher languages{QStringList{}};
    TGauge::MainWindow window{fakeLoadResults(), ports, languages};
};

// The calls the fake plugin object got from the host whose text matches the pattern, oldest first.
QStringList callsOf(const QObject *object, const QString &pattern = QString())
{
    return object->property("calls").toStringList().filter(QRegularExpression(pattern));
}

// Adds "<title> painted" to the application's "calls" at each sub-window's and the main window's
// first paint ("host painted").
class FirstPaints final : public QObject
{
public:
    FirstPaints() { qApp->installEventFilter(this); }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *subWindow = qobject_cast<QMdiSubWindow *>(watched);
        const bool host = qobject_cast<TGauge::MainWindow *>(watched);
        if (event->type() == QEvent::Paint && (subWindow || host) && !m_painted.contains(watched)) {
            m_painted << watched;
            const QString title = host ? QStringLiteral("host") : subWindow->windowTitle();
            qApp->setProperty("calls", qApp->property("calls").toStringList()
                                           << title + QLatin1String(" painted"));
        }
        return false;
    }

private:
    QSet<QObject *> m_painted;
};

QStringList sensorNames(const QList<PluginInterface *> &objects)
{
    QStringList names;
    for (PluginInterface *object : objects)
        names << object->getSensorName();
    return names;
}

} // namespace

enum class Closing { Sensor, SubWindow, MainWindow };
Q_DECLARE_METATYPE(Closing)

// The main window around the fake plug-ins, and the start-up run that drives it.
class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void catalogueListsSensorsAndRefusedLibrariesAndOpensOnlySensors();
    void openedSensorFillsTheAreaAndRestoresToItsRequestedSize();
    void portsAndPresentationModeReachEveryPluginObject();
    void activeSensorAloneGetsTheSettingsFile();
    void closingDeletesThePluginObject_data();
    void closingDeletesThePluginObject();
    void destroyingMainWindowDeletesEachWindowOnce();
    void languageMenuSwitchesLanguage();
    void startupRunSavesOnlyWhatAConnectedSensorConfirmed_data();
    void startupRunSavesOnlyWhatAConnectedSensorConfirmed();
    void startupRunConnectsEachSensorThroughItsPort_data();
    void startupRunConnectsEachSensorThroughItsPort();

private:
    // Once its sub-window has shown; null when it never does.
    PluginInterface *open(const char *name)
    {
        PluginInterface *object = m_host->window.openSensor(QString::fromLatin1(name));
        QMdiSubWindow *subWindow = m_host->window.subWindowOf(object);
        if (subWindow && !QTest::qWaitFor([subWindow] { return subWindow->isVisible(); }))
            return nullptr;
        return object;
    }

    std::unique_ptr<TestHost> m_host;
};

void tst_MainWindow::init()
{
    ExtensionSystem::Globals::setPresentationMode(false);
    m_host = std::make_unique<TestHost>();
    m_host->window.show();
}

void tst_MainWindow::catalogueListsSensorsAndRefusedLibrariesAndOpensOnlySensors()
{
    QTreeWidget *tree = m_host->window.catalogueView();
    QCOMPARE(tree->topLevelItemCount(), 2);
    QTreeWidgetItem *plugin = tree->topLevelItem(0);
    QCOMPARE(plugin->text(0), QStringLiteral("FakeGauge"));
    QCOMPARE(plugin->text(1), QStringLiteral("0.1.2, SERIAL"));
    QCOMPARE(plugin->toolTip(0), QStringLiteral("Fake plug-in  for the host's tests"));
    QCOMPARE(plugin->childCount(), 2);
    QCOMPARE(plugin->child(1)->text(0), QStringLiteral("Fake-B"));
    QCOMPARE(plugin->child(1)->text(1), QStringLiteral("F002"));
    const QTreeWidgetItem *refused = tree->topLevelItem(1);
    QCOMPARE(refused->text(0), QStringLiteral("libkr7d_fake_plugin_without_vSensorMap.so"));
    QCOMPARE(refused->text(1), QStringLiteral("lacks the entry point(s) vSensorMap"));

    QCOMPARE(open("Fake-C"), nullptr);
    QCOMPARE(m_host->window.openSensor(TGauge::SensorRef{0, 2}), nullptr);
    QCOMPARE(m_host->window.openSensor(TGauge::SensorRef{1, 0}), nullptr);
    emit tree->itemActivated(tree->topLevelItem(1), 0);
    QVERIFY(m_host->window.mdiArea()->subWindowList().isEmpty());
    emit tree->itemActivated(plugin->child(0), 0);
    QCOMPARE(sensorNames(m_host->window.pluginObjects()), QStringList{"Fake-A"});
}

void tst_MainWindow::openedSensorFillsTheAreaAndRestoresToItsRequestedSize()
{
    PluginInterface *object = open("Fake-B");
    QVERIFY(object);
    QMdiSubWindow *subWindow = m_host->window.subWindowOf(object);
    QCOMPARE(subWindow->mdiArea(), m_host->window.mdiArea());
    // Alone in the area it fills it; restored, it has the size it asked for.
    QVERIFY(subWindow->isMaximized());
    subWindow->showNormal();
    QCOMPARE(subWindow->widget()->size(), QSize(800, 500));
    QCOMPARE(subWindow->windowTitle(), QStringLiteral("Fake-B"));
    QCOMPARE(object->parent(), &m_host->window);
    QCOMPARE(callsOf(object, "^(ports|active):"),
             QStringList({"ports:COM1,COM4,SIM", "active:true"}));
}

void tst_MainWindow::portsAndPresentationModeReachEveryPluginObject()
{
    const QList<PluginInterface *> objects{open("Fake-A"), open("Fake-A")};
    m_host->systemPorts = QStringList{"COM4", "SIM", "COM7"};
    m_host->ports.refresh();
    for (bool on : {true, false}) {
        m_host->window.setPresentationMode(on);
        QCOMPARE(ExtensionSystem::Globals::getPresentationMode(), on);
    }
    for (PluginInterface *object : objects) {
        QCOMPARE(callsOf(object, "^(ports|update):"),
                 QStringList({"ports:COM1,COM4,SIM", "ports:COM4,SIM,COM7", "update:true",
                              "update:false"}));
    }
}

void tst_MainWindow::activeSensorAloneGetsTheSettingsFile()
{
    PluginInterface *first = open("Fake-A");
    PluginInterface *second = open("Fake-B");
    first->setProperty("calls", QVariant());
    second->setProperty("calls", QVariant());

    m_host->window.mdiArea()->setActiveSubWindow(m_host->window.subWindowOf(first));
    m_host->window.openSettingsFile(QStringLiteral("/tmp/line 3.tgs"));
    QCOMPARE(callsOf(first), QStringList({"active:true", "open:/tmp/line 3.tgs"}));
    QCOMPARE(callsOf(second), QStringList{"active:false"});
}

void tst_MainWindow::closingDeletesThePluginObject_data()
{
    QTest::addColumn<Closing>("closing");
    QTest::addColumn<QStringList>("exited"); // sensors told through vActionExit
    QTest::addColumn<QStringList>("left");

    QTest::newRow("sensor") << Closing::Sensor << QStringList{"Fake-A"} << QStringList{"Fake-B"};
    QTest::newRow("its sub-window") << Closing::SubWindow << QStringList{} << QStringList{"Fake-B"};
    QTest::newRow("main window") << Closing::MainWindow << QStringList{"Fake-A", "Fake-B"}
                                 << QStringList{};
}

void tst_MainWindow::closingDeletesThePluginObject()
{
    QFETCH(Closing, closing);
    const QList<PluginInterface *> objects{open("Fake-A"), open("Fake-B")};
    QPointer<QMdiSubWindow> subWindow = m_host->window.subWindowOf(objects.first());
    QPointer<QWidget> sensorWindow = subWindow->widget();
    QSignalSpy objectGone(objects.first(), &QObject::destroyed);

    if (closing == Closing::Sensor)
        m_host->window.closeSensor(objects.first());
    else
        QVERIFY(
            (closing == Closing::SubWindow ? static_cast<QWidget *>(subWindow) : &m_host->window)
                ->close());
    QStringList exited;
    for (PluginInterface *object : objects) {
        if (callsOf(object).contains(QStringLiteral("exit")))
            exited << object->getSensorName();
    }
    QTEST(exited, "exited");
    QTRY_COMPARE(objectGone.count(), 1);
    QVERIFY(!subWindow);
    QVERIFY(!sensorWindow);
    QTEST(sensorNames(m_host->window.pluginObjects()), "left");
}

void tst_MainWindow::destroyingMainWindowDeletesEachWindowOnce()
{
    PluginInterface *object = open("Fake-A");
    QSignalSpy objectGone(object, &QObject::destroyed);
    QSignalSpy windowGone(m_host->window.subWindowOf(object)->widget(), &QObject::destroyed);
    // The other sub-window goes first: its plugin object is still waiting for deletion.
    m_host->window.subWindowOf(open("Fake-B"))->close();

    m_host.reset();
    QCOMPARE(objectGone.count(), 1);
    QCOMPARE(windowGone.count(), 1);
}

void tst_MainWindow::languageMenuSwitchesLanguage()
{
    ExtensionSystem::Globals::setLanguage("en");
    const auto *languageMenu = m_host->window.findChild<QActionGroup *>();
    QVERIFY(languageMenu);
    const QList<QAction *> choices = languageMenu->actions();
    QCOMPARE(choices.size(), 2);
    QVERIFY(choices.at(0)->isChecked());

    m_host->languages.addCatalogueDirectories(TGauge::LanguageSwitcher::defaultDirectories());
    const auto shownTexts = [this] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QStringList texts;
        for (const QAction *menu : m_host->window.menuBar()->actions())
            texts << menu->text();
        texts << m_host->window.findChild<QDockWidget *>(QStringLiteral("catalogueDock"))
                     ->windowTitle()
              << m_host->window.frameTraceDock()->windowTitle()
              << m_host->window.statusBar()->currentMessage();
        return texts.join(QLatin1Char('|'));
    };

    choices.at(1)->trigger();
    QCOMPARE(m_host->languages.language(), QStringLiteral("de"));
    QVERIFY(!choices.at(0)->isChecked());
    QCOMPARE(shownTexts(),
             QStringLiteral("&Datei|&Ansicht|&Sprache|&Fenster|Sensoren|Rahmenprotokoll|1 "
                            "Plug-in geladen, 1 abgelehnt: siehe Katalog"));

    m_host->languages.switchTo(QStringLiteral("en"));
    QVERIFY(choices.at(0)->isChecked());
    QCOMPARE(shownTexts(), QStringLiteral("&File|&View|&Language|&Window|Sensors|Frame trace|1 "
                                          "plug-in(s) loaded, 1 refused: see the catalogue"));
}

void tst_MainWindow::startupRunSavesOnlyWhatAConnectedSensorConfirmed_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QStringList>("unconfirmed");
    QTest::addColumn<QStringList>("failures");
    QTest::newRow("all confirmed: saved") << "/dev/pts/9" << QStringList() << QStringList();
    QTest::newRow("unconfirmed values named, nothing saved")
        << "/dev/pts/9" << QStringList({"A (refused by the sensor)", "B (not yet written)"})
        << QStringList("tgauge: Fake-A did not confirm A (refused by the sensor), B (not yet "
                       "written)");
    QTest::newRow("no sensor connected: none needed, saved")
        << "" << QStringList("A (not read from the sensor yet)") << QStringList();
}

void tst_MainWindow::startupRunSavesOnlyWhatAConnectedSensorConfirmed()
{
    QFETCH(QString, port);
    QFETCH(QStringList, failures);
    CommandLine options;
    options.batch = true;
    options.openSensors = QStringList{"Fake-A"};
    options.connectPorts = port.isEmpty() ? QStringList() : QStringList{port};
    options.saveSettingsFile = QStringLiteral("/tmp/a.tgs");
    StartupRun run(options, m_host->window);
    QSignalSpy quit(&run, &StartupRun::quitRequested);
    QSignalSpy failed(&run, &StartupRun::failed);
    QFETCH(QStringList, unconfirmed);
    PluginInterface *object = nullptr;
    connect(&run, &StartupRun::sensorsOpened, this, [&] {
        object = m_host->window.pluginObjects().value(0);
        object->setProperty("unconfirmed", unconfirmed);
    });
    run.start();

    QVERIFY(quit.wait(5000));
    QVERIFY(object);
    QStringList lines;
    for (const QList<QVariant> &signal : failed)
        lines << signal.at(0).toString();
    QCOMPARE(lines, failures);
    QCOMPARE(quit.at(0).at(0).toInt(), failures.isEmpty() ? 0 : 1);
    QCOMPARE(callsOf(object, "^save:"),
             failures.isEmpty() ? QStringList("save:/tmp/a.tgs") : QStringList());
}

// Sensors that share a port take turns; with a port each they connect all at once, and each
// opens the settings file named for it as soon as it is connected. The windows open one by one,
// each once the host or the window before has been painted; nothing connects before all are up
// and the loop runs, and the run time counts only from then on.
void tst_MainWindow::startupRunConnectsEachSensorThroughItsPort_data()
{
    QTest::addColumn<QStringList>("ports");
    QTest::addColumn<QStringList>("calls"); // of both sensors, in order
    QTest::newRow("one port shared: one after the other")
        << QStringList{"P"}
        << QStringList{"Fake-B connect:P", "Fake-B connected:P", "Fake-B open:/tmp/Fake-B-P.tgs",
                       "Fake-A connect:P", "Fake-A connected:P", "Fake-A open:/tmp/Fake-A-P.tgs"};
    QTest::newRow("a port each: all at once")
        << QStringList{"P1", "P2"}
        << QStringList{"Fake-B connect:P1",   "Fake-A connect:P2",
                       "Fake-B connected:P1", "Fake-B open:/tmp/Fake-B-P1.tgs",
                       "Fake-A connected:P2", "Fake-A open:/tmp/Fake-A-P2.tgs"};
}

void tst_MainWindow::startupRunConnectsEachSensorThroughItsPort()
{
    QFETCH(QStringList, ports);
    qApp->setProperty("calls", QStringList());
    CommandLine options;
    options.presentation = true;
    options.openSensors = QStringList{"Fake-B", "Fake-A"};
    options.connectPorts = ports;
    options.settingsFile = QStringLiteral("/tmp/{sensor}-{port}.tgs");
    // The run reads only files that are there.
    std::vector<std::unique_ptr<QFile>> files;
    for (const char *sensor : {"Fake-A", "Fake-B"}) {
        for (const QString &port : std::as_const(ports)) {
            files.push_back(std::make_unique<QFile>(
                QStringLiteral("/tmp/%1-%2.tgs").arg(QLatin1String(sensor), port)));
            QVERIFY(files.back()->open(QIODevice::WriteOnly));
        }
    }
    options.quitAfterMs = 10; // shorter than one sensor takes to connect
    StartupRun run(options, m_host->window);
    QSignalSpy quit(&run, &StartupRun::quitRequested);
    QSignalSpy opened(&run, &StartupRun::sensorsOpened);
    const FirstPaints paints;
    // Marks the turns of the event loop between calls.
    QTimer turns;
    connect(&turns, &QTimer::timeout, this, [] {
        const QStringList calls = callsOf(qApp);
        if (!calls.isEmpty() && calls.last() != QLatin1String("turn"))
            qApp->setProperty("calls", calls + QStringList("turn"));
    });
    turns.start(0);
    run.start();
    QVERIFY(ExtensionSystem::Globals::getPresentationMode());
    QVERIFY(m_host->window.pluginObjects().isEmpty());
    QVERIFY(opened.wait(5000));
    QCOMPARE(sensorNames(m_host->window.pluginObjects()), QStringList({"Fake-B", "Fake-A"}));
    QCOMPARE(callsOf(qApp, "ports|painted").mid(0, 4),
             QStringList({"host painted", "Fake-B ports:COM1,COM4,SIM", "Fake-B painted",
                          "Fake-A ports:COM1,COM4,SIM"}));
    QVERIFY(callsOf(qApp, "connect").isEmpty());
    QVERIFY(quit.wait(5000));
    QTEST(callsOf(qApp, "connect|open"), "calls");
    // Each sensor starts connecting on a turn of its own: together they would hold the host.
    const QStringList starts = callsOf(qApp, " connect:|^turn$");
    for (int i = 1; i < starts.size(); ++i)
        QVERIFY2(starts.at(i - 1) == "turn" || starts.at(i) == "turn", qPrintable(starts.join(',')));
    // Opened after the switch, the windows read the mode themselves: no update.
    QVERIFY(callsOf(qApp, "update:").isEmpty());
    for (const std::unique_ptr<QFile> &file : files)
        file->remove();
    QCOMPARE(quit.at(0).at(0).toInt(), 0);
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
