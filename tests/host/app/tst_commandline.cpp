#include <app/commandline.h>

#include <QtTest>

using TGauge::CommandLine;
using TGauge::CommandLineParseResult;
using Status = CommandLineParseResult::Status;

Q_DECLARE_METATYPE(Status)

namespace {

const QString defaultPluginDir = QStringLiteral("/opt/tgauge/plugins");

CommandLineParseResult parse(const QStringList &arguments)
{
    return TGauge::parseCommandLine(QStringList{QStringLiteral("tgauge")} + arguments,
                                    defaultPluginDir);
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void acceptsEveryOption_data();
    void acceptsEveryOption();
    void rejectsMalformedInput_data();
    void rejectsMalformedInput();
    void answersHelpAndVersion_data();
    void answersHelpAndVersion();
    void namedPortsListPortsThenConnectThenSimulated_data();
    void namedPortsListPortsThenConnectThenSimulated();
};

void TestCommandLine::acceptsEveryOption_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("openSensors");
    QTest::addColumn<QString>("connectPort");
    QTest::addColumn<QStringList>("ports");
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("presentation");
    QTest::addColumn<QString>("settingsFile");
    QTest::addColumn<QString>("screenshotFile");
    QTest::addColumn<int>("quitAfterMs"); // -1: not given
    QTest::addColumn<QString>("pluginDirectory");
    QTest::addColumn<QString>("simulatePort");
    QTest::addColumn<bool>("listSensors");

    QTest::newRow("nothing given keeps the defaults")
        << QStringList{} << QStringList{} << QString() << QStringList{} << QString() << false
        << QString() << QString() << -1 << defaultPluginDir << QString() << false;
    QTest::newRow("repeated sensors and ports keep their order")
        << QStringList{"--open-sensor", "KR7D-P010", "--port", "COM9",
                       "--open-sensor", "KR7D-P100", "--port", "/dev/pts/4"}
        << QStringList{"KR7D-P010", "KR7D-P100"} << QString() << QStringList{"COM9", "/dev/pts/4"}
        << QString() << false << QString() << QString() << -1 << defaultPluginDir << QString()
        << false;
    QTest::newRow("scripted screenshot run")
        << QStringList{"--open-sensor",
                       "KR7D-P010",
                       "--connect",
                       "/tmp/sim",
                       "--screenshot",
                       "/tmp/shot.png",
                       "--quit-after",
                       "8000",
                       "--presentation",
                       "--language",
                       "de"}
        << QStringList{"KR7D-P010"} << QString("/tmp/sim") << QStringList{} << QString("de") << true
        << QString() << QString("/tmp/shot.png") << 8000 << defaultPluginDir << QString() << false;
    QTest::newRow("equals sign, settings, plug-in folder and simulation")
        << QStringList{"--open-settings=/home/u/a b.tgs",
                       "--plugin-dir=/tmp/p",
                       "--simulate",
                       "SIM0",
                       "--quit-after=0",
                       "--list-sensors",
                       "--language",
                       "pt_BR"}
        << QStringList{} << QString() << QStringList{} << QString("pt_BR") << false
        << QString("/home/u/a b.tgs") << QString() << 0 << QString("/tmp/p") << QString("SIM0")
        << true;
}

void TestCommandLine::acceptsEveryOption()
{
    QFETCH(QStringList, arguments);
    const CommandLineParseResult result = parse(arguments);
    QCOMPARE(result.status, Status::Ok);
    QVERIFY(result.message.isEmpty());
    const CommandLine &options = result.options;
    QTEST(options.openSensors, "openSensors");
    QTEST(options.connectPort, "connectPort");
    QTEST(options.ports, "ports");
    QTEST(options.language, "language");
    QTEST(options.presentation, "presentation");
    QTEST(options.settingsFile, "settingsFile");
    QTEST(options.screenshotFile, "screenshotFile");
    QTEST(options.quitAfterMs.value_or(-1), "quitAfterMs");
    QTEST(options.pluginDirectory, "pluginDirectory");
    QTEST(options.simulatePort, "simulatePort");
    QTEST(options.listSensors, "listSensors");
}

void TestCommandLine::rejectsMalformedInput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("messagePart");

    QTest::newRow("unknown option") << QStringList{"--open"} << "Unknown option 'open'";
    QTest::newRow("option without its value")
        << QStringList{"--open-sensor"} << "Missing value after '--open-sensor'";
    QTest::newRow("empty sensor name")
        << QStringList{"--open-sensor="} << "--open-sensor needs a value";
    QTest::newRow("empty port among others")
        << QStringList{"--port", "COM1", "--port", ""} << "--port needs a value";
    QTest::newRow("empty screenshot file")
        << QStringList{"--screenshot", ""} << "--screenshot needs a value";
    QTest::newRow("quit time not a number") << QStringList{"--quit-after", "soon"} << "not: soon";
    QTest::newRow("negative quit time") << QStringList{"--quit-after", "-5"} << "not: -5";
    QTest::newRow("language with a path in it")
        << QStringList{"--language", "../de"} << "Not a language code: ../de";
    QTest::newRow("stray argument") << QStringList{"KR7D-P010"} << "Unexpected argument: KR7D-P010";
}

void TestCommandLine::rejectsMalformedInput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, messagePart);
    const CommandLineParseResult result = parse(arguments);
    QCOMPARE(result.status, Status::Error);
    QVERIFY2(result.message.contains(messagePart), qPrintable(result.message));
}

void TestCommandLine::answersHelpAndVersion_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<Status>("status");
    QTest::addColumn<QString>("messagePart");

    QTest::newRow("help lists the automation options")
        << "--help" << Status::HelpRequested << "--open-sensor <name>";
    QTest::newRow("help wins over other options")
        << "-h" << Status::HelpRequested << "--quit-after <ms>";
    QTest::newRow("version") << "--version" << Status::VersionRequested << "9.8.7";
}

void TestCommandLine::answersHelpAndVersion()
{
    QFETCH(QString, argument);
    QCoreApplication::setApplicationVersion(QStringLiteral("9.8.7"));
    const CommandLineParseResult result
        = parse({QStringLiteral("--port"), QStringLiteral("COM1"), argument});
    QTEST(result.status, "status");
    QFETCH(QString, messagePart);
    QVERIFY2(result.message.contains(messagePart), qPrintable(result.message));
}

void TestCommandLine::namedPortsListPortsThenConnectThenSimulated_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("namedPorts");

    QTest::newRow("none") << QStringList{} << QStringList{};
    QTest::newRow("connect port joins the list so the window can select it")
        << QStringList{"--connect", "/dev/pts/7", "--port", "COM2"}
        << QStringList{"COM2", "/dev/pts/7"};
    QTest::newRow("simulated port after the connect port")
        << QStringList{"--simulate", "SIM", "--connect", "SIM", "--port", "COM2"}
        << QStringList{"COM2", "SIM", "SIM"};
}

void TestCommandLine::namedPortsListPortsThenConnectThenSimulated()
{
    QFETCH(QStringList, arguments);
    QTEST(parse(arguments).options.namedPorts(), "namedPorts");
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
