#include <plugin/sensorcatalogue.h>
#include <window/comparedialog.h>
#include <window/sensorwindow.h>
#include <window/sensorwindowdata.h>
#include <window/ui_sensorwindow.h>

#include <extensionsystem/globals.h>
#include <propertybrowser/qtpropertymanager.h>
#include <propertybrowser/qttreepropertybrowser.h>
#include <utils/buttonmanager.h>
#include <utils/genericchart.h>
#include <utils/thresholdwindowwidget.h>

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

using BravoSensorPlugin::Core::CompareDialog;
using BravoSensorPlugin::Core::CompareRow;
using BravoSensorPlugin::Core::SensorWindow;
using BravoSensorPlugin::Core::SensorWindowData;

namespace {

QStringList itemsOf(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

// "group/caption=file|window" for every leaf, depth first.
QStringList leaves(const QTreeWidgetItem *item, const QString &path = QString())
{
    QStringList found;
    for (int i = 0; i < item->childCount(); ++i) {
        const QTreeWidgetItem *child = item->child(i);
        if (child->childCount() == 0)
            found << path + child->text(0) + QLatin1Char('=') + child->text(1) + QLatin1Char('|')
                         + child->text(2);
        else
            found << leaves(child, path + child->text(0) + QLatin1Char('/'));
    }
    return found;
}

QString iniPath()
{
    return QStringLiteral(KR7D_APP_DIR "/IoLinkKR7Dfamily.ini");
}

} // namespace

class tst_SensorWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void connectedOnce_data();
    void connectedOnce();

    void startsOfflineWithTheSensorInTheTitle();
    void unknownSensorGetsAnEmptyRecord();
    void portListRefill_data();
    void portListRefill();
    void titleFollowsThePort();
    void presentationModeHidesAllDocks();
    void propertyVisibilityCoversEveryItem();
    void closeStopsLiveDataAndTimers();
    void destructionWritesTheLayoutEvenWhenNeverShown();
    void differencesAreGroupedLikeTheTree();
    void noDifferencesIsSaid();

private:
    SensorWindowData *data() const { return m_window->windowData(); }
    BravoSensorPlugin::Core::Ui_SensorWindow *form() const { return m_window->form(); }
    QAction *action(const QString &name) const { return m_window->findChild<QAction *>(name); }

    ExtensionSystem::SensorBasic m_sensor;
    std::unique_ptr<SensorWindow> m_window;
};

void tst_SensorWindow::initTestCase()
{
    const std::list<ExtensionSystem::SensorBasic> catalogue
        = BravoSensorPlugin::Core::buildSensorCatalogue();
    QVERIFY(!catalogue.empty());
    m_sensor = catalogue.front();
}

void tst_SensorWindow::init()
{
    m_window = std::make_unique<SensorWindow>(m_sensor);
}

void tst_SensorWindow::cleanup()
{
    m_window.reset();
    ExtensionSystem::Globals::setPresentationMode(false);
    ExtensionSystem::Globals::setLanguage("en");
}

void tst_SensorWindow::connectedOnce_data()
{
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QByteArray>("signal");
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<bool>("connected");
    const auto row
        = [](const char *sender, const char *signal, const char *slot, bool connected = true) {
              QTest::newRow(sender) << QString::fromLatin1(sender) << QByteArray(signal)
                                    << QByteArray(slot) << connected;
          };
    const char *const triggered = SIGNAL(triggered());
    row("actionSave_Settings", triggered, SLOT(vSaveSettings()));
    row("actionOpen_Settings", triggered, SLOT(vLoadSettings()));
    row("actionDefaultSettings", triggered, SLOT(vRestoreFactorySettings()));
    row("actionExport_chart_view", triggered, SLOT(vExportChartData()));
    row("actionPrint_chart_view", triggered, SLOT(vPrintDocument()));
    row("actionClear_History", triggered, SLOT(vClearHistory()));
    row("actionEnable_live_data", triggered, SLOT(actionEnableLiveData()));
    row("actionWriting", SIGNAL(triggered(bool)), SLOT(vWriteAllSettings(bool)));
    row("actionRead", SIGNAL(triggered(bool)), SLOT(vRadAllSettings(bool)));
    row("portCombo", SIGNAL(activated(int)), SLOT(actionConnectSensor(int)));
    row("chart", SIGNAL(vSignalZommResetForNoiseLine()), SLOT(vZommResetForNoiseLine()));
    row("browser", SIGNAL(currentItemChanged(QtBrowserItem *)),
        SLOT(itemSelected(QtBrowserItem *)));
    row("outputsCombo", SIGNAL(currentIndexChanged(int)), SLOT(slotCurrentOutputChanged(int)));
    row("pressure marks", SIGNAL(emitValueChanged(unsigned int, double)),
        SLOT(chartThresholdChanged(unsigned int, double)));
    row("temperature marks", SIGNAL(emitValueChanged(unsigned int, double)),
        SLOT(chartThresholdChanged(unsigned int, double)));
    // Value handling switched on again must not connect twice; text edits stay unwired.
    row("int", SIGNAL(valueChanged(QtProperty *, int)), SLOT(intValueChanged(QtProperty *, int)));
    row("string", SIGNAL(valueChanged(QtProperty *, QString)),
        SLOT(stringValueChanged(QtProperty *, QString)), false);
}

void tst_SensorWindow::connectedOnce()
{
    QFETCH(QString, sender);
    QFETCH(QByteArray, signal);
    QFETCH(QByteArray, slot);
    const QMap<QString, QObject *> parts{
        {QStringLiteral("portCombo"), data()->portCombo},
        {QStringLiteral("chart"), data()->chart},
        {QStringLiteral("browser"), m_window->propertyBrowser()},
        {QStringLiteral("outputsCombo"), data()->outputsCombo},
        {QStringLiteral("pressure marks"), data()->thresholdWidgets.value(0)},
        {QStringLiteral("temperature marks"), data()->thresholdWidgets.value(1)},
        {QStringLiteral("int"), data()->intManager},
        {QStringLiteral("string"), data()->stringManager},
    };
    QObject *object = parts.contains(sender) ? parts.value(sender) : action(sender);
    QVERIFY(object);
    // disconnect() reports whether the connection was there.
    QVERIFY(QMetaObject::invokeMethod(m_window.get(), "enableTreeDataHandling", Q_ARG(bool, true)));
    QTEST(QObject::disconnect(object, signal.constData(), m_window.get(), slot.constData()),
          "connected");
    QVERIFY(!QObject::disconnect(object, signal.constData(), m_window.get(), slot.constData()));
}

void tst_SensorWindow::startsOfflineWithTheSensorInTheTitle()
{
    QVERIFY(!m_window->sensorRecord().tree.empty());
    QCOMPARE(itemsOf(data()->portCombo), QStringList({"Offline", ""}));
    QCOMPARE(data()->portCombo->currentIndex(), 0);
    QCOMPARE(itemsOf(data()->outputsCombo), QStringList({"Output 1", "Output 2"}));

    const QString title = QString::fromStdString(m_sensor.name()) + QStringLiteral(" (Offline)");
    QCOMPARE(m_window->windowTitle(), title);
    QCOMPARE(form()->statusBar->currentMessage(), title);
    QVERIFY(!form()->sensorOperationsToolbar->isEnabled());
    QVERIFY(!data()->chart->isEnabled());
}

void tst_SensorWindow::unknownSensorGetsAnEmptyRecord()
{
    SensorWindow window(ExtensionSystem::SensorBasic("NONE", "Not in the description"));
    QVERIFY(window.sensorRecord().tree.empty());
    QCOMPARE(window.windowTitle(), QStringLiteral(" (Offline)"));
    QCOMPARE(itemsOf(window.windowData()->portCombo), QStringList({"Offline", ""}));
}

void tst_SensorWindow::portListRefill_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QList<QStringList>>("refills");
    QTest::addColumn<int>("index");
    QTest::newRow("chosen port still listed")
        << QStringList({"COM1", "COM3"}) << "COM3" << QList<QStringList>{{"COM3", "COM5"}} << 2;
    QTest::newRow("chosen port vanished")
        << QStringList({"COM1", "COM3"}) << "COM3" << QList<QStringList>{{"COM1"}} << -1;
    QTest::newRow("names are case-sensitive")
        << QStringList({"COM3"}) << "COM3" << QList<QStringList>{{"com3"}} << -1;
    QTest::newRow("offline stays chosen")
        << QStringList({"COM1"}) << "Offline" << QList<QStringList>{{"COM2"}} << 0;
    QTest::newRow("no choice never becomes the separator")
        << QStringList({"COM3"}) << "COM3" << QList<QStringList>{{"COM1"}, {"COM1", "COM4"}} << -1;
}

void tst_SensorWindow::portListRefill()
{
    QFETCH(QStringList, before);
    QFETCH(QString, chosen);
    QFETCH(QList<QStringList>, refills);
    QComboBox *combo = data()->portCombo;
    m_window->updateComPortList(before);
    combo->setCurrentIndex(combo->findText(chosen));
    for (const QStringList &ports : refills)
        m_window->updateComPortList(ports);

    QCOMPARE(itemsOf(combo), QStringList({"Offline", ""}) + refills.last());
    QTEST(combo->currentIndex(), "index");
}

void tst_SensorWindow::titleFollowsThePort()
{
    m_window->updateComPortList({QStringLiteral("COM1"), QStringLiteral("COM3")});
    data()->portCombo->setCurrentIndex(3);
    QtProperty *root = data()->groupManager->addProperty(QStringLiteral("old caption"));
    data()->rootProperty = root;
    QVERIFY(QMetaObject::invokeMethod(m_window.get(), "updateWindowTitle"));

    const QString title = QString::fromStdString(m_sensor.name()) + QStringLiteral(" (COM3)");
    QCOMPARE(m_window->windowTitle(), title);
    QCOMPARE(root->propertyName(), title);
    QCOMPARE(form()->statusBar->currentMessage(), title);
}

void tst_SensorWindow::presentationModeHidesAllDocks()
{
    ExtensionSystem::Globals::setPresentationMode(true);
    SensorWindow window(m_sensor);
    const auto hiddenDocks = [&window] {
        const SensorWindowData *data = window.windowData();
        return QList<bool>{data->propertyDock->isHidden(),
                           data->chart->getDockChartItem(0)->isHidden(),
                           data->chart->getDockChartItem(1)->isHidden()};
    };
    QCOMPARE(hiddenDocks(), QList<bool>({true, true, true}));
    window.vSensorUpdate(QVariant(false));
    QCOMPARE(hiddenDocks(), QList<bool>({false, false, false}));
    window.vSensorUpdate(QVariant(true));
    QCOMPARE(hiddenDocks(), QList<bool>({true, true, true}));
}

void tst_SensorWindow::propertyVisibilityCoversEveryItem()
{
    QtGroupPropertyManager *groups = data()->groupManager;
    QtProperty *root = groups->addProperty(QStringLiteral("root"));
    QtProperty *first = groups->addProperty(QStringLiteral("first group"));
    QtProperty *second = groups->addProperty(QStringLiteral("second group"));
    QtProperty *shared = data()->intManager->addProperty(QStringLiteral("delay"));
    shared->setPropertyId(QStringLiteral("OnDelay2"));
    root->addSubProperty(first);
    root->addSubProperty(second);
    first->addSubProperty(shared);
    second->addSubProperty(shared);
    data()->rootProperty = root;
    QtTreePropertyBrowser *browser = m_window->propertyBrowser();
    browser->addProperty(root);
    QCOMPARE(browser->items(shared).size(), 2);

    m_window->setPropertyVisible(QStringLiteral("OnDelay2"), false);
    for (QtBrowserItem *item : browser->items(shared))
        QVERIFY(!browser->isItemVisible(item));
    QVERIFY(!m_window->isPropertyVisible(QStringLiteral("OnDelay2")));

    m_window->setPropertyVisible(QStringLiteral("OnDelay2"), true);
    for (QtBrowserItem *item : browser->items(shared))
        QVERIFY(browser->isItemVisible(item));
    QVERIFY(m_window->isPropertyVisible(QStringLiteral("OnDelay2")));

    m_window->setPropertyVisible(QStringLiteral("NoSuchProperty"), false);
    QVERIFY(!m_window->isPropertyVisible(QStringLiteral("NoSuchProperty")));
}

void tst_SensorWindow::closeStopsLiveDataAndTimers()
{
    m_window->show();
    form()->actionEnable_live_data->setChecked(true);
    data()->liveDataEnabled = true;
    data()->pollTimer.start();
    data()->watchdogTimer.start();
    QSignalSpy aboutToClose(m_window.get(), SIGNAL(vAboutToClose()));

    QVERIFY(m_window->close());

    QCOMPARE(aboutToClose.count(), 1);
    QVERIFY(!form()->actionEnable_live_data->isChecked());
    QVERIFY(!data()->liveDataEnabled);
    QVERIFY(!data()->pollTimer.isActive());
    QVERIFY(!data()->watchdogTimer.isActive());
    QVERIFY(!QObject::disconnect(&data()->pollTimer, SIGNAL(timeout()), m_window.get(),
                                 SLOT(queryChartData())));
    QVERIFY(!QObject::disconnect(&data()->watchdogTimer, SIGNAL(timeout()), m_window.get(),
                                 SLOT(slotContinousDataTimeout())));
}

void tst_SensorWindow::destructionWritesTheLayoutEvenWhenNeverShown()
{
    QFile::remove(iniPath());
    QVERIFY(!m_window->isVisible());
    m_window.reset();

    QSettings layout(iniPath(), QSettings::IniFormat);
    QVERIFY(!layout.value(QStringLiteral("SensorWindow/geometry")).toByteArray().isEmpty());
    const QByteArray state = layout.value(QStringLiteral("SensorWindow/state")).toByteArray();
    QVERIFY(!state.isEmpty());
    SensorWindow another(m_sensor);
    QVERIFY(another.restoreState(state, 0));
}

void tst_SensorWindow::differencesAreGroupedLikeTheTree()
{
    const QList<CompareRow> rows{{{"Output A1", "Pressure"}, "Set point", "2.50 bar", "5.00 bar"},
                                 {{"Output A1"}, "Logic", "NC", "NO"},
                                 {{"Output A1", "Pressure"}, "Reset point", "1.00 bar", "2.00 bar"},
                                 {{"Display"}, "Unit", "psi", "bar"}};
    CompareDialog dialog(QStringLiteral("/tmp/line4.tgs"), rows);
    QTreeWidget *tree = dialog.differenceTree();
    QVERIFY(tree);
    QCOMPARE(tree->topLevelItemCount(), 2);
    QCOMPARE(leaves(tree->invisibleRootItem()),
             QStringList({"Output A1/Pressure/Set point=2.50 bar|5.00 bar",
                          "Output A1/Pressure/Reset point=1.00 bar|2.00 bar",
                          "Output A1/Logic=NC|NO", "Display/Unit=psi|bar"}));
}

void tst_SensorWindow::noDifferencesIsSaid()
{
    CompareDialog dialog(QStringLiteral("/tmp/line4.tgs"), {});
    QVERIFY(!dialog.differenceTree());
    QStringList texts;
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        texts << label->text();
    QVERIFY2(texts.contains(QStringLiteral("No differences")),
             qPrintable(texts.join(QLatin1Char(','))));
}

QTEST_MAIN(tst_SensorWindow)
#include "tst_sensorwindow.moc"
