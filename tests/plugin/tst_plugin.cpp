#include <support/fakeconnection.h>

#include <plugin/exports.h>
#include <plugin/sensorcatalogue.h>
#include <plugin/sensorinterface.h>
#include <window/sensorwindow.h>
#include <window/sensorwindowdata.h>
#include <window/ui_sensorwindow.h>

#include <extensionsystem/communicationinterface.h>
#include <extensionsystem/connectionregistry.h>
#include <extensionsystem/globals.h>
#include <extensionsystem/portsettings.h>
#include <utils/genericchart.h>

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QMdiSubWindow>
#include <QPointer>
#include <QtTest>

#include <memory>

using BravoSensorPlugin::Core::buildSensorCatalogue;
using BravoSensorPlugin::Core::findSensor;
using BravoSensorPlugin::Core::Sensor;
using BravoSensorPlugin::Core::SensorInterface;
using BravoSensorPlugin::Core::SensorWindow;
using BravoSensorPlugin::Core::SensorWindowData;
using ExtensionSystem::CommunicationInterface;
using ExtensionSystem::ConnectionRegistry;
using ExtensionSystem::PortSettings;
using ExtensionSystem::SensorBasic;

namespace {

const QString missingPort = QStringLiteral("/dev/kr7d-no-such-port");

std::string fixture(const QString &name)
{
    return QString(QStringLiteral(KR7D_TEST_DATA_DIR "/") + name).toStdString();
}

QStringList namesAndIds(const std::list<SensorBasic> &catalogue)
{
    QStringList entries;
    for (const SensorBasic &sensor : catalogue)
        entries << QString::fromStdString(sensor.name() + "/" + sensor.id());
    return entries;
}

} // namespace

// The plug-in's catalogue, and its plugin object between the host and the window.
class tst_Plugin : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void instanceNeedsSensorAndSubWindow();
    void aChosenPortIsRegisteredOnceReplacedAndReleased();
    void failedRegistrationKeepsThePortName();
    void windowSignalsReachThePluginObject();
    void presentationModeReachesTheWindow();
    void exitClosesTheWindowAndReleasesThePort();
    void windowIsDestroyedOnceWhicheverGoesFirst_data();
    void windowIsDestroyedOnceWhicheverGoesFirst();
    void catalogueAndLookupFollowTheDocument_data();
    void catalogueAndLookupFollowTheDocument();
    void aRewrittenDescriptionIsReadAgain_data();
    void aRewrittenDescriptionIsReadAgain();
    void sensorMapReplacesTheListContents();
    void recordRejectsTextThatIsNoEntry();

private:
    SensorInterface *plugin() const { return m_plugin.get(); }
    SensorWindow *window() const { return m_plugin->sensorWindow(); }
    void verifyReleased() const;
    // What the window's port list offers once the host announced COM1 and COM4.
    QStringList portsOffered() const;

    SensorBasic m_sensor;
    std::shared_ptr<QList<PortSettings>> m_requested; // what the host's registry was asked to open
    std::unique_ptr<QMdiSubWindow> m_subWindow;
    std::unique_ptr<SensorInterface> m_plugin;
};

void tst_Plugin::init()
{
    m_sensor = buildSensorCatalogue().front();
    m_requested = std::make_shared<QList<PortSettings>>();
    // Only port names starting with "FAKE" open; the others stand for a missing serial port.
    ConnectionRegistry::instance().setFactory(
        [requested
         = m_requested](const PortSettings &settings) -> std::unique_ptr<CommunicationInterface> {
            requested->append(settings);
            if (!settings.portName.startsWith(QLatin1String("FAKE")))
                return nullptr;
            return std::make_unique<FakeConnection>(settings);
        });
    m_subWindow = std::make_unique<QMdiSubWindow>();
    m_plugin = std::make_unique<SensorInterface>(&m_sensor, m_subWindow.get());
}

void tst_Plugin::cleanup()
{
    m_plugin.reset();
    m_subWindow.reset();
    ConnectionRegistry::instance().setFactory(nullptr);
    ExtensionSystem::Globals::setLanguage("en");
    QCOMPARE(ConnectionRegistry::instance().openConnectionCount(), 0);
}

void tst_Plugin::verifyReleased() const
{
    QVERIFY(!plugin()->isConnected());
    QCOMPARE(plugin()->registeredConnection(), nullptr);
    QCOMPARE(window()->windowData()->connection.data(), nullptr);
}

QStringList tst_Plugin::portsOffered() const
{
    plugin()->vAvailablePortsUpdated({QStringLiteral("COM1"), QStringLiteral("COM4")});
    const QComboBox *combo = window()->windowData()->portCombo;
    QStringList shown;
    for (int i = 2; i < combo->count(); ++i) // after "Offline" and a separator
        shown << combo->itemText(i);
    return shown;
}

void tst_Plugin::instanceNeedsSensorAndSubWindow()
{
    QMdiSubWindow subWindow;
    const int widgets = QApplication::allWidgets().size();
    QCOMPARE(poGetInterfaceInstance(&m_sensor, nullptr), nullptr);
    QCOMPARE(poGetInterfaceInstance(nullptr, &subWindow), nullptr);
    QCOMPARE(QApplication::allWidgets().size(), widgets);

    std::unique_ptr<ExtensionSystem::PluginInterface> instance(
        poGetInterfaceInstance(&m_sensor, &subWindow));
    QVERIFY(qobject_cast<SensorInterface *>(instance.get()));
    QVERIFY(qobject_cast<SensorWindow *>(subWindow.widget()));
    // It asks for 800 by 500; the window's own minimum width bounds that request.
    QCOMPARE(subWindow.widget()->size(), QSize(850, 500));
}

// With the sensor's delays; another port replaces the registration, an empty name releases it.
void tst_Plugin::aChosenPortIsRegisteredOnceReplacedAndReleased()
{
    plugin()->vComPortChanged(QStringLiteral("FAKE1"));
    plugin()->vComPortChanged(QStringLiteral("FAKE1"));

    QVERIFY(plugin()->isConnected());
    QCOMPARE(window()->windowData()->connection.data(), plugin()->registeredConnection());
    QCOMPARE(m_requested->size(), 1);
    const PortSettings &settings = m_requested->first();
    QCOMPARE(settings.portName, QStringLiteral("FAKE1"));
    QCOMPARE(settings.lineDelay, window()->sensorRecord().getLineDelay());
    QCOMPARE(portsOffered(), QStringList({"COM1", "COM4", "FAKE1"}));

    const QPointer<CommunicationInterface> first = plugin()->registeredConnection();
    plugin()->vComPortChanged(QStringLiteral("FAKE2"));
    QVERIFY(plugin()->isConnected());
    QCOMPARE(plugin()->registeredPortSettings().portName, QStringLiteral("FAKE2"));
    QCOMPARE(ConnectionRegistry::instance().connectionOf(plugin()),
             plugin()->registeredConnection());
    QTRY_VERIFY(first.isNull());

    plugin()->vComPortChanged(QString());
    verifyReleased();
    QCOMPARE(ConnectionRegistry::instance().connectionOf(plugin()), nullptr);
    QCOMPARE(plugin()->registeredPortSettings().portName, QString());
}

void tst_Plugin::failedRegistrationKeepsThePortName()
{
    plugin()->vComPortChanged(missingPort);
    verifyReleased();
    QCOMPARE(plugin()->registeredPortSettings().portName, missingPort);
    QCOMPARE(portsOffered(), QStringList({"COM1", "COM4"}));

    // An empty name while disconnected does not clear it, so the same name stays refused.
    plugin()->vComPortChanged(QString());
    QCOMPARE(plugin()->registeredPortSettings().portName, missingPort);
    plugin()->vComPortChanged(missingPort);
    QCOMPARE(m_requested->size(), 1);

    plugin()->vComPortChanged(QStringLiteral("FAKE2"));
    plugin()->vComPortChanged(missingPort);
    QCOMPARE(m_requested->size(), 3);
}

void tst_Plugin::windowSignalsReachThePluginObject()
{
    QVERIFY(QMetaObject::invokeMethod(window(), "vConnectToPort",
                                      Q_ARG(QString, QStringLiteral("FAKE7"))));
    QCOMPARE(plugin()->registeredPortSettings().portName, QStringLiteral("FAKE7"));

    emit window()->vSendData(QStringLiteral("\x02\x70\x22\xE9"));
    auto *connection = static_cast<FakeConnection *>(plugin()->registeredConnection());
    QVERIFY(connection);
    QCOMPARE(connection->sent, std::vector<std::string>({std::string("\x02\x70\x22\xE9")}));
}

// A window opened in presentation mode starts with its docks hidden; the host's switch reaches it.
void tst_Plugin::presentationModeReachesTheWindow()
{
    ExtensionSystem::Globals::setPresentationMode(true);
    QMdiSubWindow subWindow;
    SensorInterface object(&m_sensor, &subWindow);
    ExtensionSystem::Globals::setPresentationMode(false);
    const auto docksHidden = [&object] {
        const auto *data = object.sensorWindow()->windowData();
        return QSet<bool>{data->propertyDock->isHidden(),
                          data->chart->getDockChartItem(0)->isHidden(),
                          data->chart->getDockChartItem(1)->isHidden()};
    };
    QCOMPARE(docksHidden(), QSet<bool>{true});
    object.vUpdate(QVariant(false));
    QCOMPARE(docksHidden(), QSet<bool>{false});
    object.vUpdate(QVariant(true));
    QCOMPARE(docksHidden(), QSet<bool>{true});
}

void tst_Plugin::exitClosesTheWindowAndReleasesThePort()
{
    m_subWindow->show();
    QVERIFY(window()->isVisible());
    plugin()->vComPortChanged(QStringLiteral("FAKE1"));
    SensorWindowData &data = *window()->windowData();
    window()->form()->actionEnable_live_data->setChecked(true);
    data.liveDataEnabled = true;
    data.pollTimer.start();
    data.watchdogTimer.start();
    QSignalSpy aboutToClose(window(), SIGNAL(vAboutToClose()));

    plugin()->vActionExit(QStringLiteral("any reason"));

    QVERIFY(!window()->isVisible());
    QCOMPARE(aboutToClose.count(), 1);
    // Live data and every timer stop with the window.
    QVERIFY(!window()->form()->actionEnable_live_data->isChecked());
    QVERIFY(!data.liveDataEnabled);
    QVERIFY(!data.pollTimer.isActive());
    QVERIFY(!data.watchdogTimer.isActive());
    QCOMPARE(ConnectionRegistry::instance().connectionOf(plugin()), nullptr);
    QTRY_COMPARE(plugin()->registeredConnection(), nullptr);
}

void tst_Plugin::windowIsDestroyedOnceWhicheverGoesFirst_data()
{
    QTest::addColumn<bool>("subWindowFirst");
    QTest::newRow("sub-window first") << true;
    QTest::newRow("plugin object first") << false;
}

void tst_Plugin::windowIsDestroyedOnceWhicheverGoesFirst()
{
    QFETCH(bool, subWindowFirst);
    plugin()->vComPortChanged(QStringLiteral("FAKE1"));
    QSignalSpy destroyed(window(), &QObject::destroyed);

    if (subWindowFirst) {
        m_subWindow.reset();
        QCOMPARE(destroyed.count(), 1);
        QCOMPARE(plugin()->sensorWindow(), nullptr);
        // The plugin object stays usable without its window.
        plugin()->vAvailablePortsUpdated({QStringLiteral("COM1")});
        plugin()->vComPortChanged(QStringLiteral("FAKE2"));
        plugin()->vActionExit(QString());
    }
    m_plugin.reset();
    m_subWindow.reset();
    QCOMPARE(destroyed.count(), 1);
}

void tst_Plugin::catalogueAndLookupFollowTheDocument_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("catalogue"); // "name/id" in order
    QTest::addColumn<QByteArray>("name");        // looked up
    QTest::addColumn<QByteArray>("id");          // of the record found, empty for none
    QTest::addColumn<int>("characterDelay");
    QTest::addColumn<int>("lineDelay");
    // The entry without id is refused by the host's record and left out.
    const QStringList listed{"Alpha 10/ALPH", "Beta 25/BETA", "Alpha 10/ALP2"};
    const auto row = [](const char *name, const char *file, const QStringList &catalogue,
                        const char *lookedUp, const char *id, int characterDelay = 0,
                        int lineDelay = 0) {
        QTest::newRow(name) << QString::fromLatin1(file) << catalogue << QByteArray(lookedUp)
                            << QByteArray(id) << characterDelay << lineDelay;
    };
    row("first of two entries named alike", "catalogue.xml", listed, "Alpha 10", "ALPH", 3, 7);
    row("entry without port settings has no delays", "catalogue.xml", listed, "Beta 25", "BETA");
    row("no such entry: an empty record", "catalogue.xml", listed, "Gamma 600", "");
    // The lookup stops at an entry without name; the catalogue goes on.
    row("nameless entry first", "nameless_entry_first.xml", {"Beta 25/BETA"}, "Beta 25", "");
    for (const char *file : {"no_such_file.xml", "malformed.xml", "id_missing.xml",
                             "sensorlist_missing.xml", "id_in_other_case.xml",
                             "id_with_kept_trailing_blank.xml"})
        row(file, file, {}, "Beta 25", "");
    // The reader trims element text, so a blank written around the id is not part of it.
    row("blank trimmed by the reader", "id_with_trimmed_trailing_blank.xml", {"Beta 25/BETA"},
        "Beta 25", "BETA");
}

void tst_Plugin::catalogueAndLookupFollowTheDocument()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, id);
    ExtensionSystem::Globals::setLanguage("de");
    QTEST(namesAndIds(buildSensorCatalogue(fixture(file))), "catalogue");
    const Sensor record = findSensor(name.toStdString(), fixture(file));
    QCOMPARE(record.id(), id.toStdString());
    QCOMPARE(record.tree.empty(), id.isEmpty());
    QTEST(record.getCharacterDelay(), "characterDelay");
    QTEST(record.getLineDelay(), "lineDelay");
    QCOMPARE(record.getLanguage(), std::string("de"));
}

void tst_Plugin::aRewrittenDescriptionIsReadAgain_data()
{
    QTest::addColumn<QByteArray>("newId");
    QTest::addColumn<int>("secondsLater"); // of the rewritten file's modification time
    QTest::newRow("same size, modified later") << QByteArray("BETB") << 2;
    QTest::newRow("other size, same modification time") << QByteArray("BETA2") << 0;
}

void tst_Plugin::aRewrittenDescriptionIsReadAgain()
{
    QFETCH(QByteArray, newId);
    QFETCH(int, secondsLater);
    QFile original(QString::fromStdString(fixture(QStringLiteral("catalogue.xml"))));
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray text = original.readAll();
    const QTemporaryDir dir;
    QFile copy(dir.filePath(QStringLiteral("description.xml")));
    // Whole seconds, so that "the same time" is exactly the same on every file system.
    const QDateTime written = QDateTime::fromSecsSinceEpoch(1764856987);
    const auto write = [&copy](const QByteArray &content, const QDateTime &modified) {
        return copy.open(QIODevice::WriteOnly | QIODevice::Truncate) && copy.write(content) >= 0
               && copy.flush() && copy.setFileTime(modified, QFileDevice::FileModificationTime);
    };
    const std::string path = copy.fileName().toStdString();
    QVERIFY(write(text, written));
    copy.close();
    QCOMPARE(findSensor("Beta 25", path).id(), std::string("BETA"));

    QVERIFY(write(QByteArray(text).replace("<id>BETA</id>", "<id>" + newId + "</id>"),
                  written.addSecs(secondsLater)));
    copy.close();
    QCOMPARE(findSensor("Beta 25", path).id(), newId.toStdString());
    QVERIFY(namesAndIds(buildSensorCatalogue(path)).contains(QLatin1String("Beta 25/" + newId)));
}

void tst_Plugin::sensorMapReplacesTheListContents()
{
    std::list<SensorBasic> sensors{SensorBasic("OLD", "stale entry")};
    vSensorMap(&sensors);
    vSensorMap(&sensors);
    const QStringList expected = namesAndIds(buildSensorCatalogue());
    QVERIFY(!expected.isEmpty());
    QCOMPARE(namesAndIds(sensors), expected);
}

void tst_Plugin::recordRejectsTextThatIsNoEntry()
{
    Sensor record;
    std::stringstream text("this is <not xml");
    QVERIFY(!record.fromXMLStream(text));
    QVERIFY(record.name().empty());
}

QTEST_MAIN(tst_Plugin)
#include "tst_plugin.moc"
