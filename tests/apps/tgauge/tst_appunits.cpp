// The parts of the tgauge application, each on its own: command line, port list, plug-in loader,
// language switcher, simulated master, batch answerer and frame trace.
#include <app/batchanswerer.h>
#include <app/commandline.h>
#include <app/frametracedock.h>
#include <app/languageswitcher.h>
#include <app/pathchecks.h>
#include <app/pluginloader.h>
#include <app/portlist.h>
#include <app/recentports.h>
#include <app/sensorfiles.h>
#include <app/simulatedmaster.h>
#include <app/tiler.h>
#include <app/tracelines.h>
#include <app/windowpicture.h>
#include <support/simulatedmaster.h>

#include <extensionsystem/connectionregistry.h>
#include <extensionsystem/frametrace.h>
#include <extensionsystem/globals.h>
#include <extensionsystem/plugininterface.h>
#include <extensionsystem/portsettings.h>

#include <simulator/devicedescription.h>
#include <simulator/mastersimulator.h>
#include <simulator/simulatedconnection.h>

#include <QAction>
#include <QFileDialog>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QtTest>

#include <array>

using ExtensionSystem::ConnectionRegistry;
using TGauge::BatchAnswerer;
using TGauge::CommandLine;
using TGauge::CommandLineParseResult;
using TGauge::FrameTraceDock;
using TGauge::LanguageSwitcher;
using TGauge::PluginLoader;
using TGauge::PluginLoadResult;
using TGauge::PortList;
using TGauge::TraceLines;
using Status = CommandLineParseResult::Status;

Q_DECLARE_METATYPE(Status)

namespace {

const QString defaultPluginDir = QStringLiteral("/opt/tgauge/plugins");

CommandLineParseResult parse(const QStringList &arguments)
{
    return TGauge::parseCommandLine(QStringList{QStringLiteral("tgauge")} + arguments,
                                    defaultPluginDir);
}

// Every option that differs from a fresh CommandLine, as "name=value".
QStringList changedOptions(const CommandLine &options)
{
    const CommandLine fresh;
    QStringList changed;
    const auto note = [&changed](const char *name, const auto &value, const auto &freshValue) {
        if (value != freshValue)
            changed << QString::fromLatin1(name) + QLatin1Char('=') + QVariant(value).toString();
    };
    note("openSensors", options.openSensors.join(QLatin1Char(',')), QString());
    note("connect", options.connectPorts.join(QLatin1Char(',')), QString());
    note("ports", options.ports.join(QLatin1Char(',')), QString());
    note("language", options.language, fresh.language);
    note("presentation", options.presentation, fresh.presentation);
    note("settings", options.settingsFile, fresh.settingsFile);
    note("screenshot", options.screenshotFile, fresh.screenshotFile);
    note("quitAfter", options.quitAfterMs.value_or(-1), -1);
    note("pluginDir", options.pluginDirectory, defaultPluginDir);
    note("simulate", options.simulatePort, fresh.simulatePort);
    note("list", options.listSensors, fresh.listSensors);
    note("batch", options.batch, fresh.batch);
    note("save", options.saveSettingsFile, fresh.saveSettingsFile);
    note("csv", options.exportCsvFile, fresh.exportCsvFile);
    note("delimiter", options.csvDelimiter, fresh.csvDelimiter);
    note("compare", options.compareSettingsFile, fresh.compareSettingsFile);
    note("trace", options.traceFile, fresh.traceFile);
    note("named", options.namedPorts().join(QLatin1Char(',')), QString());
    return changed;
}

const QString fakePlugin = QStringLiteral(FAKE_PLUGIN_DIR "/libkr7d_fake_plugin%1.so");
const QString pluginCatalogue = QStringLiteral("IoLinkKR7Dfamily_de.qm");
const QString qtCatalogue = QStringLiteral("qtbase_de.qm");

bool copyFixture(const QString &name, const QString &target)
{
    return QFile::copy(QStringLiteral(FIXTURE_TRANSLATION_DIR "/") + name, target);
}

// The texts and a number as the user sees them.
QString texts()
{
    return QCoreApplication::translate("HostFixture", "Pressure") + QLatin1Char('|')
           + QCoreApplication::translate("QtFixture", "Cancel") + QLatin1Char('|')
           + QLocale().toString(5800.5, 'f', 1);
}

// Notes the language the host reports while the application handles LanguageChange.
class LanguageChangeWitness final : public QObject
{
public:
    QStringList seen;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QString code = QString::fromStdString(ExtensionSystem::Globals::getLanguage());
        if (event->type() == QEvent::LanguageChange && !seen.contains(code))
            seen << code;
        return QObject::eventFilter(watched, event);
    }
};

QStringList numbered(int from, int to)
{
    QStringList lines;
    for (int i = from; i <= to; ++i)
        lines << QString::number(i);
    return lines;
}

} // namespace

class tst_AppUnits : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void acceptsEveryOption_data();
    void acceptsEveryOption();
    void answersWithoutRunning_data();
    void answersWithoutRunning();
    void eachSensorGetsItsOwnFile_data();
    void eachSensorGetsItsOwnFile();
    void mergesSystemPortsFirstEachNameOnce_data();
    void mergesSystemPortsFirstEachNameOnce();
    void remembersTheLastNetworkPortsConnected_data();
    void remembersTheLastNetworkPortsConnected();
    void refusesLibraryThatLoadsIncompleteOrNot_data();
    void refusesLibraryThatLoadsIncompleteOrNot();
    void loadsEveryLibraryOfTheFolderOnceInNameOrder();
    void installsTheCataloguesFoundFirst_data();
    void installsTheCataloguesFoundFirst();
    void pluginFoldersAddEveryCatalogueQtFoldersOnlyQts();
    void switchingBackRemovesTheTranslationsAfterTheCodeChanged();
    void simulatedPortCarriesTheNamedSensorOnly();
    void boxIsAnsweredAndPrinted_data();
    void boxIsAnsweredAndPrinted();
    void fileDialogIsCancelled();
    void ringKeepsTheNewestLinesInOrder_data();
    void ringKeepsTheNewestLinesInOrder();
    void traceDockShowsFramesWhileOpenAndSavesThem();
    void fileProblemsNameTheirReason_data();
    void fileProblemsNameTheirReason();
    void pictureShowsTheOpenDialogWhereItStands();
    void tilingInPiecesEndsWhereTheAreasOwnTilingDoes_data();
    void tilingInPiecesEndsWhereTheAreasOwnTilingDoes();

private:
    ExtensionSystem::CommunicationInterface *openPort(const QString &port)
    {
        ExtensionSystem::PortSettings settings;
        settings.portName = port;
        return ConnectionRegistry::instance().connect(settings, &m_owner);
    }

    BatchAnswerer m_answerer;
    ExtensionSystem::PluginInterface m_owner;
};

void tst_AppUnits::initTestCase()
{
    qApp->installEventFilter(&m_answerer);
}

void tst_AppUnits::init()
{
    ExtensionSystem::Globals::setLanguage("en");
}

void tst_AppUnits::cleanup()
{
    ConnectionRegistry::instance().release(&m_owner);
    ConnectionRegistry::instance().setFactory(nullptr);
}

// Rows give the arguments, and the options that changed, separated by blanks.
void tst_AppUnits::acceptsEveryOption_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("changed");

    QTest::newRow("repeated sensors and ports keep their order")
        << "--open-sensor KR7D-P010 --port COM9 --open-sensor KR7D-P100 --port /dev/pts/4"
        << "openSensors=KR7D-P010,KR7D-P100 ports=COM9,/dev/pts/4 named=COM9,/dev/pts/4";
    // The window lists the ports named anywhere: --port ones, then --connect, then --simulate.
    QTest::newRow("scripted screenshot run")
        << "--simulate SIM0 --connect /tmp/sim --port COM2 --screenshot /tmp/shot.png "
           "--quit-after 8000 --presentation --language de --list-sensors"
        << "connect=/tmp/sim ports=COM2 language=de presentation=true screenshot=/tmp/shot.png "
           "quitAfter=8000 simulate=SIM0 list=true named=COM2,/tmp/sim,SIM0";
    QTest::newRow("a port per sensor, named apart")
        << "--open-sensor A --connect P1 --open-sensor B --connect /dev/P2 "
           "--export-csv out-{sensor}.csv --save-settings {port}.tgs"
        << "openSensors=A,B connect=P1,/dev/P2 save={port}.tgs csv=out-{sensor}.csv "
           "named=P1,/dev/P2";
    QTest::newRow("equals sign and the batch steps")
        << "--open-settings=/home/a.tgs --plugin-dir=/tmp/p --quit-after=0 --language en "
           "--batch --save-settings s.tgs --export-csv c.csv --delimiter , "
           "--compare-settings d.tgs --trace t.txt"
        << "language=en settings=/home/a.tgs quitAfter=0 pluginDir=/tmp/p batch=true "
           "save=s.tgs csv=c.csv delimiter=, compare=d.tgs trace=t.txt";
}

void tst_AppUnits::acceptsEveryOption()
{
    QFETCH(QString, arguments);
    QFETCH(QString, changed);
    const CommandLineParseResult result = parse(arguments.split(' ', Qt::SkipEmptyParts));
    QCOMPARE(result.status, Status::Ok);
    QVERIFY(result.message.isEmpty());
    QCOMPARE(changedOptions(result.options), changed.split(' ', Qt::SkipEmptyParts));
}

void tst_AppUnits::answersWithoutRunning_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<Status>("status");
    QTest::addColumn<QString>("messagePart");

    const Status error = Status::Error;
    QTest::newRow("empty port among others")
        << "--port COM1 --port=" << error << "--port needs a value";
    QTest::newRow("quit time not a number") << "--quit-after soon" << error << "not: soon";
    QTest::newRow("negative quit time") << "--quit-after -5" << error << "not: -5";
    QTest::newRow("language not offered, the offered ones listed")
        << "--language fr" << error << "No language fr; the languages are: en, de";
    QTest::newRow("language with a path in it")
        << "--language ../de" << error << "No language ../de";
    QTest::newRow("a port for some sensors only")
        << "--open-sensor A --open-sensor B --open-sensor C --connect P1 --connect P2" << error
        << "--connect given 2 times for 3 sensors";
    QTest::newRow("one file for several sensors")
        << "--open-sensor A --open-sensor B --export-csv out.csv" << error
        << "out.csv would be written by every sensor";
    QTest::newRow("stray argument") << "KR7D-P010" << error << "Unexpected argument: KR7D-P010";
    QTest::newRow("help wins over other options")
        << "--port COM1 -h" << Status::HelpRequested << "--open-sensor <name>";
    QTest::newRow("version") << "--version" << Status::VersionRequested << "9.8.7";
}

void tst_AppUnits::answersWithoutRunning()
{
    QFETCH(QString, arguments);
    QFETCH(QString, messagePart);
    QCoreApplication::setApplicationVersion(QStringLiteral("9.8.7"));
    const CommandLineParseResult result = parse(arguments.split(' '));
    QTEST(result.status, "status");
    QVERIFY2(result.message.contains(messagePart), qPrintable(result.message));
}

void tst_AppUnits::eachSensorGetsItsOwnFile_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("port");
    QTest::addColumn<bool>("apart");
    QTest::addColumn<QString>("file");
    const QString temp = QDir::tempPath();
    QTest::newRow("both placeholders")
        << "out/{sensor}@{port}.csv" << "/dev/pts/3" << true << "out/KR7D-P025@3.csv";
    QTest::newRow("a network port") << "{port}.csv" << "tcp://10.0.0.5:4001" << true
                                    << "10.0.0.5_4001.csv";
    QTest::newRow("a folder by its slash")
        << "runs/" << "/dev/ttyUSB0" << true << "runs/KR7D-P025-ttyUSB0.csv";
    QTest::newRow("an existing folder, no port") << temp << "" << true << temp + "/KR7D-P025.csv";
    QTest::newRow("one file") << "out.csv" << "COM3" << false << "out.csv";
}

void tst_AppUnits::eachSensorGetsItsOwnFile()
{
    QFETCH(QString, pattern);
    QFETCH(QString, port);
    QTEST(TGauge::namesEachSensorApart(pattern), "apart");
    QTEST(TGauge::sensorFile(pattern, QStringLiteral("KR7D-P025"), port, QStringLiteral("csv")),
          "file");
}

void tst_AppUnits::remembersTheLastNetworkPortsConnected_data()
{
    QTest::addColumn<QStringList>("connected"); // in order
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("most recent first, serial ports left to the system")
        << QStringList{"tcp://a:1", "/dev/ttyUSB0", "rfc2217://b:2"}
        << QStringList{"rfc2217://b:2", "tcp://a:1"};
    QTest::newRow("a port connected again moves to the front, once")
        << QStringList{"tcp://a:1", "tcp://b:2", "tcp://a:1"}
        << QStringList{"tcp://a:1", "tcp://b:2"};
    QTest::newRow("only the last five")
        << QStringList{"tcp://a:1", "tcp://b:1", "tcp://c:1", "tcp://d:1", "tcp://e:1",
                       "tcp://f:1"}
        << QStringList{"tcp://f:1", "tcp://e:1", "tcp://d:1", "tcp://c:1", "tcp://b:1"};
    QTest::newRow("malformed names are not kept") << QStringList{"tcp://a"} << QStringList();
}

// The list survives the host: a new start reads it back in the same order.
void tst_AppUnits::remembersTheLastNetworkPortsConnected()
{
    QFETCH(QStringList, connected);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("tgauge.ini"));
    {
        QSettings settings(file, QSettings::IniFormat);
        TGauge::RecentPorts recent(settings);
        for (const QString &port : connected)
            recent.connected(port);
        QCOMPARE(recent.ports(), expected);
    }
    QSettings settings(file, QSettings::IniFormat);
    QCOMPARE(TGauge::RecentPorts(settings).ports(), expected);
}

void tst_AppUnits::mergesSystemPortsFirstEachNameOnce_data()
{
    QTest::addColumn<QStringList>("systemPorts");
    QTest::addColumn<QStringList>("namedPorts");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("named ports follow the system ports in their order")
        << QStringList{"COM4", "COM1"} << QStringList{"/dev/pts/3", "COM9"}
        << QStringList{"COM4", "COM1", "/dev/pts/3", "COM9"};
    QTest::newRow("a named port the system has stays at the system's place")
        << QStringList{"COM1", "COM4"} << QStringList{"COM4", "COM2"}
        << QStringList{"COM1", "COM4", "COM2"};
    QTest::newRow("names repeated on the command line appear once")
        << QStringList{} << QStringList{"SIM", "COM2", "SIM"} << QStringList{"SIM", "COM2"};
    QTest::newRow("names differing in case are different ports")
        << QStringList{"com1"} << QStringList{"COM1"} << QStringList{"com1", "COM1"};
    QTest::newRow("empty names dropped")
        << QStringList{"", "COM1"} << QStringList{""} << QStringList{"COM1"};
}

// The list starts from the named ports alone; one refresh brings the system's, a second one
// changes nothing and is not announced.
void tst_AppUnits::mergesSystemPortsFirstEachNameOnce()
{
    QFETCH(QStringList, systemPorts);
    QFETCH(QStringList, namedPorts);
    QStringList system;
    PortList list(namedPorts, [&system] { return system; });
    QSignalSpy changed(&list, &PortList::portsChanged);
    system = systemPorts;
    list.refresh();
    list.refresh();
    QTEST(list.ports(), "expected");
    QCOMPARE(changed.count(), systemPorts.isEmpty() ? 0 : 1);
    if (!changed.isEmpty())
        QCOMPARE(changed.at(0).at(0).toStringList(), list.ports());
}

void tst_AppUnits::refusesLibraryThatLoadsIncompleteOrNot_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("error");
    const QString prefix = QStringLiteral("libkr7d_fake_plugin_without_");
    const QStringList files
        = QDir(QStringLiteral(FAKE_PLUGIN_DIR)).entryList({prefix + QLatin1Char('*')});
    QCOMPARE(files.size(), PluginLoader::requiredExports().size());
    for (const QString &file : files) {
        const QString name = file.mid(prefix.size()).chopped(3);
        QTest::newRow(qPrintable(QStringLiteral("without ") + name))
            << fakePlugin.arg(QStringLiteral("_without_") + name)
            << QStringLiteral("lacks the entry point(s) ") + name;
    }
    QTest::newRow("not there") << fakePlugin.arg(QStringLiteral("_absent"))
                               << QStringLiteral("cannot be loaded: ");
}

void tst_AppUnits::refusesLibraryThatLoadsIncompleteOrNot()
{
    QFETCH(QString, file);
    QFETCH(QString, error);
    const PluginLoadResult result = PluginLoader::load(file);
    QVERIFY(!result.library);
    QCOMPARE(result.filePath, file);
    QVERIFY2(result.error.startsWith(error), qPrintable(result.error));
}

void tst_AppUnits::loadsEveryLibraryOfTheFolderOnceInNameOrder()
{
    QTemporaryDir dir;
    QVERIFY(QFile::copy(fakePlugin.arg(QString()), dir.filePath(QStringLiteral("libb.so"))));
    QVERIFY(QFile::copy(fakePlugin.arg(QStringLiteral("_without_vSensorMap")),
                        dir.filePath(QStringLiteral("liba.so"))));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("libb.so")),
                        dir.filePath(QStringLiteral("libb.so.1"))));
    QFile readme(dir.filePath(QStringLiteral("README.txt")));
    QVERIFY(readme.open(QIODevice::WriteOnly));
    readme.close();

    const std::vector<PluginLoadResult> results = PluginLoader(dir.path()).loadAll();
    QCOMPARE(results.size(), size_t(2));
    QCOMPARE(results[0].filePath, dir.filePath(QStringLiteral("liba.so")));
    QVERIFY(!results[0].library);
    QCOMPARE(results[1].filePath, dir.filePath(QStringLiteral("libb.so")));
    QVERIFY2(results[1].library, qPrintable(results[1].error));
    QCOMPARE(results[1].library->filePath, results[1].filePath);
}

// Catalogues as <folder index>/<file>, separated by blanks.
void tst_AppUnits::installsTheCataloguesFoundFirst_data()
{
    QTest::addColumn<QString>("placed");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("installed");

    QTest::newRow("from either folder") << "0/IoLinkKR7Dfamily_de.qm 1/qtbase_de.qm"
                                        << "de"
                                        << "0/IoLinkKR7Dfamily_de.qm 1/qtbase_de.qm";
    QTest::newRow("the first folder wins")
        << "0/qtbase_de.qm 1/IoLinkKR7Dfamily_de.qm 1/qtbase_de.qm"
        << "de"
        << "1/IoLinkKR7Dfamily_de.qm 0/qtbase_de.qm";
    QTest::newRow("no catalogue for the language") << "0/IoLinkKR7Dfamily_de.qm 0/qtbase_de.qm"
                                                   << "fr"
                                                   << "";
}

void tst_AppUnits::installsTheCataloguesFoundFirst()
{
    QFETCH(QString, placed);
    QFETCH(QString, code);
    QFETCH(QString, installed);
    QTemporaryDir dirs[2];
    const auto pathOf = [&dirs](const QString &entry) {
        return dirs[entry.left(1).toInt()].filePath(entry.mid(2));
    };
    for (const QString &entry : placed.split(QLatin1Char(' ')))
        QVERIFY(copyFixture(entry.mid(2), pathOf(entry)));
    QStringList expected;
    for (const QString &entry : installed.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        expected << pathOf(entry);

    LanguageSwitcher switcher({dirs[0].path(), dirs[1].path()});
    QSignalSpy changed(&switcher, &LanguageSwitcher::languageChanged);
    switcher.switchTo(code);

    QCOMPARE(switcher.installedFiles(), expected);
    QCOMPARE(switcher.language(), code);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), code);
}

void tst_AppUnits::pluginFoldersAddEveryCatalogueQtFoldersOnlyQts()
{
    // A catalogue of any name counts; Qt's folder offers nothing but qtbase.
    QTemporaryDir qtFolder;
    QTemporaryDir pluginFolder;
    QVERIFY(QDir(pluginFolder.path()).mkdir(QStringLiteral("translations")));
    const QString other = pluginFolder.filePath(QStringLiteral("translations/Other_de.qm"));
    QVERIFY(copyFixture(pluginCatalogue, qtFolder.filePath(pluginCatalogue)));
    QVERIFY(copyFixture(qtCatalogue, qtFolder.filePath(qtCatalogue)));
    QVERIFY(copyFixture(pluginCatalogue, other));

    LanguageSwitcher switcher({}, {qtFolder.path()});
    switcher.switchTo(QStringLiteral("de"));
    QCOMPARE(switcher.installedFiles(), QStringList{qtFolder.filePath(qtCatalogue)});
    QCOMPARE(texts(), QStringLiteral("Pressure|Abbrechen|5800,5"));

    QSignalSpy changed(&switcher, &LanguageSwitcher::languageChanged);
    const QString library = pluginFolder.filePath(QStringLiteral("libplugin.so"));
    switcher.addCatalogueDirectories(LanguageSwitcher::pluginDirectories({library, library}));
    QCOMPARE(switcher.installedFiles(), QStringList({other, qtFolder.filePath(qtCatalogue)}));
    QCOMPARE(texts(), QStringLiteral("Druck|Abbrechen|5800,5"));
    QCOMPARE(changed.count(), 0);
}

// Numbers follow the language, not the system.
void tst_AppUnits::switchingBackRemovesTheTranslationsAfterTheCodeChanged()
{
    QLocale::setDefault(QLocale(QLocale::German)); // as on a system set to German
    LanguageChangeWitness witness;
    qApp->installEventFilter(&witness);
    LanguageSwitcher switcher({QStringLiteral(FIXTURE_TRANSLATION_DIR)});
    QCOMPARE(texts(), QStringLiteral("Pressure|Cancel|5800.5"));
    switcher.switchTo(QStringLiteral("de"));
    QCOMPARE(texts(), QStringLiteral("Druck|Abbrechen|5800,5"));

    switcher.switchTo(QStringLiteral("en"));
    qApp->removeEventFilter(&witness);
    QVERIFY(switcher.installedFiles().isEmpty());
    QCOMPARE(texts(), QStringLiteral("Pressure|Cancel|5800.5"));
    QCOMPARE(witness.seen, QStringList({"de", "en"}));
}

// The second sensor, as the simulator alone would not pick it; other ports open as before.
void tst_AppUnits::simulatedPortCarriesTheNamedSensorOnly()
{
    const auto description = Kr7dSim::DeviceDescription::fromFile(descriptionPath());
    QVERIFY(description && description->sensors().size() >= 2);
    const QString second = description->sensors().at(1).name;
    TGauge::serveSimulatedMaster(QStringLiteral("SIM-A"), second, descriptionPath());
    const auto simulated
        = qobject_cast<Kr7dSim::SimulatedConnection *>(openPort(QStringLiteral("SIM-A")));
    QVERIFY(simulated);
    QCOMPARE(simulated->portName(), QStringLiteral("SIM-A"));
    QCOMPARE(simulated->simulator().device().sensor.name, second);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Cannot open port /dev/tgauge-absent"));
    QCOMPARE(openPort(QStringLiteral("/dev/tgauge-absent")), nullptr);

    TGauge::serveSimulatedMaster(QStringLiteral("SIM-D"), QStringLiteral("KR7D-NONE"),
                                 descriptionPath());
    for (const char *warning : {"^cannot simulate SIM-D: ", "^Cannot open port SIM-D"})
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QString::fromLatin1(warning)));
    QCOMPARE(openPort(QStringLiteral("SIM-D")), nullptr);
}

void tst_AppUnits::boxIsAnsweredAndPrinted_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("caption");

    QTest::newRow("default button first")
        << int(QMessageBox::Ok | QMessageBox::Cancel) << int(QMessageBox::Cancel)
        << int(QMessageBox::Cancel) << "Cancel";
    QTest::newRow("accepting button before escape")
        << int(QMessageBox::No | QMessageBox::Yes) << int(QMessageBox::NoButton)
        << int(QMessageBox::Yes) << "Yes";
    QTest::newRow("escape button when nothing accepts")
        << int(QMessageBox::Help | QMessageBox::Abort) << int(QMessageBox::NoButton)
        << int(QMessageBox::Abort) << "Abort";
}

void tst_AppUnits::boxIsAnsweredAndPrinted()
{
    QFETCH(int, buttons);
    QFETCH(int, defaultButton);
    QFETCH(QString, caption);
    QSignalSpy answered(&m_answerer, &BatchAnswerer::answered);

    const QMessageBox::StandardButton given = QMessageBox::warning(
        nullptr, QStringLiteral("Connecting to sensor"),
        QStringLiteral("The sensor did not\nrespond."), QMessageBox::StandardButtons(buttons),
        QMessageBox::StandardButton(defaultButton));

    QTEST(int(given), "answer");
    QCOMPARE(answered.count(), 1);
    QCOMPARE(answered.at(0).at(0).toString(),
             "tgauge: Connecting to sensor: The sensor did not respond. [" + caption + ']');
}

void tst_AppUnits::fileDialogIsCancelled()
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QCOMPARE(QFileDialog::getOpenFileName(nullptr, QStringLiteral("Open"), QDir::tempPath()),
             QString());
}

void tst_AppUnits::ringKeepsTheNewestLinesInOrder_data()
{
    QTest::addColumn<int>("appended");
    QTest::addColumn<QStringList>("kept");

    QTest::newRow("one over") << 4 << numbered(2, 4);
    QTest::newRow("wrapped twice and more") << 8 << numbered(6, 8);
}

void tst_AppUnits::ringKeepsTheNewestLinesInOrder()
{
    QFETCH(int, appended);
    TraceLines ring(3);
    for (const QString &line : numbered(1, appended))
        ring.append(line);
    QTEST(ring.lines(), "kept");
    ring.clear();
    ring.append(QStringLiteral("after clear"));
    QCOMPARE(ring.lines(), QStringList{QStringLiteral("after clear")});
}

// Shown only while open; paused, the view stands still and catches up on resuming.
void tst_AppUnits::traceDockShowsFramesWhileOpenAndSavesThem()
{
    QMainWindow window;
    auto dock = new FrameTraceDock(&window);
    window.addDockWidget(Qt::BottomDockWidgetArea, dock);
    window.show();
    for (int expected : {1, 1}) {
        ExtensionSystem::FrameTrace::instance().frameSent(QStringLiteral("P"),
                                                          QByteArray::fromHex("027022"));
        QCOMPARE(dock->lines().size(), expected);
        dock->toggleViewAction()->trigger();
    }
    auto view = dock->findChild<QPlainTextEdit *>();
    dock->pauseAction()->setChecked(true);
    dock->addLine(QStringLiteral("2"));
    const QStringList lines = dock->lines().lines();
    QCOMPARE(lines.size(), 2);
    QCOMPARE(view->toPlainText(), lines.constFirst());
    dock->pauseAction()->setChecked(false);
    QCOMPARE(view->toPlainText(), lines.join(QLatin1Char('\n')));

    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("trace.txt")));
    QVERIFY(dock->saveTo(file.fileName()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    QVERIFY(!dock->saveTo(dir.filePath(QStringLiteral("missing/trace.txt"))));
}

// Rows name a file in a folder that holds "file" and "folder/"; an empty reason means usable.
void tst_AppUnits::fileProblemsNameTheirReason_data()
{
    QTest::addColumn<bool>("output");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");

    const QString usable;
    QTest::newRow("read an existing file") << false << "file" << usable;
    QTest::newRow("read a missing file") << false << "gone"
                                         << "it does not exist";
    QTest::newRow("read a folder") << false << "folder"
                                   << "it is a folder";
    QTest::newRow("replace a file") << true << "file" << usable;
    QTest::newRow("create a file") << true << "folder/new" << usable;
    QTest::newRow("write over a folder") << true << "folder"
                                         << "it is a folder";
    QTest::newRow("write into a missing folder") << true << "gone/new"
                                                 << "the folder <dir>/gone does not exist";
    QTest::newRow("write below a file") << true << "file/new"
                                        << "<dir>/file is not a folder";
}

void tst_AppUnits::fileProblemsNameTheirReason()
{
    QFETCH(bool, output);
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    QFile file(dir.filePath(QStringLiteral("file")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    const QString path = dir.filePath(name);
    QCOMPARE(output ? TGauge::outputFileProblem(path) : TGauge::inputFileProblem(path),
             reason.replace(QStringLiteral("<dir>"), dir.path()));
}

void tst_AppUnits::pictureShowsTheOpenDialogWhereItStands()
{
    QWidget window;
    window.setStyleSheet(QStringLiteral("background: red"));
    window.resize(400, 300);
    window.show();
    QDialog dialog(&window);
    dialog.setStyleSheet(QStringLiteral("background: blue"));
    dialog.resize(100, 80);
    dialog.show();
    dialog.move(window.mapToGlobal(QPoint(250, 20)));
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    const QImage picture = TGauge::pictureWithDialogs(window).toImage();
    QCOMPARE(picture.size(), window.size());
    QCOMPARE(picture.pixelColor(300, 60), QColor(Qt::blue));
    QCOMPARE(picture.pixelColor(100, 200), QColor(Qt::red));
}

// Rows give the sub-windows' minimum contents sizes, the first one maximized.
void tst_AppUnits::tilingInPiecesEndsWhereTheAreasOwnTilingDoes_data()
{
    QTest::addColumn<QVector<QSize>>("minimumSizes");
    QTest::newRow("one, maximized") << QVector<QSize>{{200, 100}};
    QTest::newRow("two side by side") << QVector<QSize>{{200, 100}, {150, 120}};
    QTest::newRow("five, grid uneven") << QVector<QSize>(5, QSize(100, 80));
    QTest::newRow("four too big: the area grows") << QVector<QSize>(4, QSize(850, 500));
}

void tst_AppUnits::tilingInPiecesEndsWhereTheAreasOwnTilingDoes()
{
    QFETCH(QVector<QSize>, minimumSizes);
    // Each area its own window, as the areas grow to fit.
    std::array<QMdiArea, 2> areas;
    for (QMdiArea &area : areas) {
        area.resize(900, 600);
        area.show();
        for (const QSize &size : std::as_const(minimumSizes)) {
            auto *contents = new QWidget;
            contents->setMinimumSize(size);
            QMdiSubWindow *subWindow = area.addSubWindow(contents);
            if (area.subWindowList().size() == 1)
                subWindow->showMaximized();
            else
                subWindow->show();
        }
        QVERIFY(QTest::qWaitForWindowExposed(&area));
    }
    const auto placed = [](const QMdiArea &area) {
        QList<QRect> rects{area.geometry()};
        for (const QMdiSubWindow *subWindow : area.subWindowList())
            rects << subWindow->geometry() << subWindow->widget()->geometry();
        return rects;
    };
    areas[0].tileSubWindows();
    TGauge::Tiler tiler(areas[1]);
    QSignalSpy tiled(&tiler, &TGauge::Tiler::tiled);
    tiler.tile();
    QVERIFY(tiler.isTiling());
    QVERIFY(tiled.wait(5000));
    QCOMPARE(tiled.count(), 1);
    QCOMPARE(placed(areas[1]), placed(areas[0]));
}

QTEST_MAIN(tst_AppUnits)
#include "tst_appunits.moc"
