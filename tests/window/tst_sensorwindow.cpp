#include <plugin/sensorcatalogue.h>
#include <window/sensorwindow.h>
#include <window/sensorwindowdata.h>
#include <window/ui_sensorwindow.h>

#include <extensionsystem/globals.h>
#include <propertybrowser/qteditorfactory.h>
#include <propertybrowser/qtpropertymanager.h>
#include <propertybrowser/qttreepropertybrowser.h>
#include <utils/buttonfactory.h>
#include <utils/buttonmanager.h>
#include <utils/genericchart.h>
#include <utils/thresholdwindowwidget.h>

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QMetaMethod>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QTranslator>
#include <QtTest>

#include <memory>

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

    void hostContractInItsOrder();
    void constructionConnections_data();
    void constructionConnections();
    void factoriesArePairedWithTheirManagers();
    void valueHandlingIsConnectedOnce_data();
    void valueHandlingIsConnectedOnce();

    void startsOfflineWithTheSensorInTheTitle();
    void unknownSensorGetsAnEmptyRecord();
    void portListRefill_data();
    void portListRefill();
    void titleFollowsThePort();
    void presentationModeHidesAllDocks();
    void propertyVisibilityCoversEveryItem();
    void closeStopsLiveDataAndTimers();
    void destructionWritesTheLayoutEvenWhenNeverShown();
    void languageChangeRecaptionsAndKeepsSelections();

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

void tst_SensorWindow::hostContractInItsOrder()
{
    const QMetaObject *meta = m_window->metaObject();
    QCOMPARE(meta->className(), "BravoSensorPlugin::Core::SensorWindow");
    QStringList signalList;
    QStringList publicSlots;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        const QString signature = QString::fromLatin1(method.methodSignature());
        if (method.methodType() == QMetaMethod::Signal)
            signalList << signature;
        else if (method.access() == QMetaMethod::Public)
            publicSlots << signature;
    }
    QCOMPARE(signalList,
             QStringList({"vAboutToClose()", "vSendData(QString)",
                          "vSendFrame(ExtensionSystem::CommunicationInterface::DataFrame)",
                          "vComPortSelected(QString)", "vUpdateChart(double)", "sendQuery()"}));
    QCOMPARE(
        publicSlots,
        QStringList({"vOpenManual()", "vSensorUpdate(QVariant)", "updateChart()",
                     "updateComPortList(QStringList)", "vRestoreFactorySettings()",
                     "vExportChartData()", "vClearHistory()", "vPrintDocument()",
                     "setWindowActive(bool)", "vAutoConnect(QString)", "vSetCompleteName(QString)",
                     "vSaveSettings()", "bOpenSettings(QString)", "bOpenSettings()"}));
}

void tst_SensorWindow::constructionConnections_data()
{
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QByteArray>("signal");
    QTest::addColumn<QByteArray>("slot");
    const auto row
        = [](const char *name, const char *sender, const char *signal, const char *slot) {
              QTest::newRow(name) << QString::fromLatin1(sender) << QByteArray(signal)
                                  << QByteArray(slot);
          };
    row("save", "actionSave_Settings", SIGNAL(triggered()), SLOT(vSaveSettings()));
    row("open", "actionOpen_Settings", SIGNAL(triggered()), SLOT(vLoadSettings()));
    row("defaults", "actionDefaultSettings", SIGNAL(triggered()), SLOT(vRestoreFactorySettings()));
    row("export", "actionExport_chart_view", SIGNAL(triggered()), SLOT(vExportChartData()));
    row("print", "actionPrint_chart_view", SIGNAL(triggered()), SLOT(vPrintDocument()));
    row("clear", "actionClear_History", SIGNAL(triggered()), SLOT(vClearHistory()));
    row("live data", "actionEnable_live_data", SIGNAL(triggered()), SLOT(actionEnableLiveData()));
    row("port choice", "portCombo", SIGNAL(activated(int)), SLOT(actionConnectSensor(int)));
    row("write all", "actionWriting", SIGNAL(triggered(bool)), SLOT(vWriteAllSettings(bool)));
    row("read all", "actionRead", SIGNAL(triggered(bool)), SLOT(vRadAllSettings(bool)));
    row("noise line", "chart", SIGNAL(vSignalZommResetForNoiseLine()),
        SLOT(vZommResetForNoiseLine()));
    row("browser", "browser", SIGNAL(currentItemChanged(QtBrowserItem *)),
        SLOT(itemSelected(QtBrowserItem *)));
    row("outputs", "outputsCombo", SIGNAL(currentIndexChanged(int)),
        SLOT(slotCurrentOutputChanged(int)));
    row("pressure marks", "marks 0", SIGNAL(emitValueChanged(unsigned int, double)),
        SLOT(chartThresholdChanged(unsigned int, double)));
    row("temperature marks", "marks 1", SIGNAL(emitValueChanged(unsigned int, double)),
        SLOT(chartThresholdChanged(unsigned int, double)));
}

void tst_SensorWindow::constructionConnections()
{
    QFETCH(QString, sender);
    QFETCH(QByteArray, signal);
    QFETCH(QByteArray, slot);
    const QMap<QString, QObject *> parts{
        {QStringLiteral("portCombo"), data()->portCombo},
        {QStringLiteral("chart"), data()->chart},
        {QStringLiteral("browser"), m_window->propertyBrowser()},
        {QStringLiteral("outputsCombo"), data()->outputsCombo},
        {QStringLiteral("marks 0"), data()->thresholdWidgets.value(0)},
        {QStringLiteral("marks 1"), data()->thresholdWidgets.value(1)},
    };
    QObject *object = parts.contains(sender) ? parts.value(sender) : action(sender);
    QVERIFY(object);
    // disconnect() reports whether the connection was there.
    QVERIFY(QObject::disconnect(object, signal.constData(), m_window.get(), slot.constData()));
}

void tst_SensorWindow::factoriesArePairedWithTheirManagers()
{
    QDockWidget *dock = data()->propertyDock;
    QCOMPARE(dock->objectName(), QStringLiteral("propertyTree"));
    QCOMPARE(dock->widget(), m_window->propertyBrowser());
    QCOMPARE(data()->checkBoxFactory->propertyManagers(),
             QSet<QtBoolPropertyManager *>{data()->boolManager});
    QCOMPARE(data()->spinBoxFactory->propertyManagers(),
             QSet<QtIntPropertyManager *>{data()->intManager});
    QCOMPARE(data()->doubleSpinBoxFactory->propertyManagers(),
             QSet<QtDoublePropertyManager *>{data()->doubleManager});
    QCOMPARE(data()->lineEditFactory->propertyManagers(),
             QSet<QtStringPropertyManager *>{data()->stringManager});
    QCOMPARE(data()->enumEditorFactory->propertyManagers(),
             QSet<QtEnumPropertyManager *>{data()->enumManager});
}

void tst_SensorWindow::valueHandlingIsConnectedOnce_data()
{
    QTest::addColumn<QString>("manager");
    QTest::addColumn<QByteArray>("signal");
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<bool>("connected");
    const auto row = [](const char *manager, const char *signal, const char *slot, bool connected) {
        QTest::newRow(manager) << QString::fromLatin1(manager) << QByteArray(signal)
                               << QByteArray(slot) << connected;
    };
    row("bool", SIGNAL(valueChanged(QtProperty *, bool)),
        SLOT(boolValueChanged(QtProperty *, bool)), true);
    row("int", SIGNAL(valueChanged(QtProperty *, int)), SLOT(intValueChanged(QtProperty *, int)),
        true);
    row("double", SIGNAL(valueChanged(QtProperty *, double)),
        SLOT(doubleValueChanged(QtProperty *, double)), true);
    row("enum", SIGNAL(valueChanged(QtProperty *, int)), SLOT(enumValueChanged(QtProperty *, int)),
        true);
    row("button", SIGNAL(buttonClicked(QtProperty *)), SLOT(buttonClicked(QtProperty *)), true);
    // Text edits stay unwired.
    row("string", SIGNAL(valueChanged(QtProperty *, QString)),
        SLOT(stringValueChanged(QtProperty *, QString)), false);
}

void tst_SensorWindow::valueHandlingIsConnectedOnce()
{
    QFETCH(QString, manager);
    QFETCH(QByteArray, signal);
    QFETCH(QByteArray, slot);
    const QMap<QString, QObject *> managers{
        {QStringLiteral("bool"), data()->boolManager},
        {QStringLiteral("int"), data()->intManager},
        {QStringLiteral("double"), data()->doubleManager},
        {QStringLiteral("enum"), data()->enumManager},
        {QStringLiteral("button"), data()->buttonManager},
        {QStringLiteral("string"), data()->stringManager},
    };
    QObject *sender = managers.value(manager);
    QVERIFY(QMetaObject::invokeMethod(m_window.get(), "enableTreeDataHandling", Q_ARG(bool, true)));
    QTEST(QObject::disconnect(sender, signal.constData(), m_window.get(), slot.constData()),
          "connected");
    QVERIFY(!QObject::disconnect(sender, signal.constData(), m_window.get(), slot.constData()));

    QVERIFY(QMetaObject::invokeMethod(m_window.get(), "enableTreeDataHandling", Q_ARG(bool, true)));
    QVERIFY(
        QMetaObject::invokeMethod(m_window.get(), "enableTreeDataHandling", Q_ARG(bool, false)));
    QVERIFY(!QObject::disconnect(sender, signal.constData(), m_window.get(), slot.constData()));
}

void tst_SensorWindow::startsOfflineWithTheSensorInTheTitle()
{
    QCOMPARE(m_window->parent(), nullptr);
    QCOMPARE(m_window->objectName(), QStringLiteral("SensorWindow"));
    QCOMPARE(m_window->sensorRecord().name(), m_sensor.name());
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
    const QList<QDockWidget *> docks{window.windowData()->propertyDock,
                                     window.windowData()->chart->getDockChartItem(0),
                                     window.windowData()->chart->getDockChartItem(1)};
    for (const QDockWidget *dock : docks)
        QVERIFY(dock->isHidden());

    window.vSensorUpdate(QVariant(false));
    for (const QDockWidget *dock : docks)
        QVERIFY(!dock->isHidden());
    window.vSensorUpdate(QVariant(true));
    for (const QDockWidget *dock : docks)
        QVERIFY(dock->isHidden());
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
    QVERIFY(data()->closing);
    QVERIFY(!data()->showTransferUi);
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

void tst_SensorWindow::languageChangeRecaptionsAndKeepsSelections()
{
    QTranslator german;
    QVERIFY(german.load(QStringLiteral(KR7D_APP_DIR "/translations/IoLinkKR7Dfamily_de.qm")));
    m_window->updateComPortList({QStringLiteral("COM1"), QStringLiteral("COM3")});
    data()->portCombo->setCurrentIndex(3);
    data()->outputsCombo->setCurrentIndex(1);

    ExtensionSystem::Globals::setLanguage("de");
    QCoreApplication::installTranslator(&german);
    QTRY_COMPARE(form()->actionSave_Settings->text(), QStringLiteral("Einstellungen speichern"));
    QCoreApplication::removeTranslator(&german);

    QCOMPARE(data()->language, std::string("de"));
    QCOMPARE(itemsOf(data()->outputsCombo), QStringList({"Ausgang 1", "Ausgang 2"}));
    QCOMPARE(data()->outputsCombo->currentIndex(), 1);
    QCOMPARE(itemsOf(data()->portCombo), QStringList({"Offline", "", "COM1", "COM3"}));
    QCOMPARE(data()->portCombo->currentIndex(), 3);
    QCOMPARE(data()->chart->getDockChartItem(0)->windowTitle(), QStringLiteral("Temperatur"));
    QCOMPARE(m_window->windowTitle(),
             QString::fromStdString(m_sensor.name()) + QStringLiteral(" (COM3)"));
}

QTEST_MAIN(tst_SensorWindow)
#include "tst_sensorwindow.moc"
