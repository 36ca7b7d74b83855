#include <support/simulatorprocess.h>

#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <csignal>

namespace {

struct TgaugeRun
{
    bool finished = false;
    int exitCode = -1;
    QString out;
    QString err;
};

void startTgauge(QProcess &process, const QStringList &arguments)
{
    // Without a display variable tgauge has to pick the headless platform itself.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    // The ports a run connects to are remembered in the settings, which stay the test's own.
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QDir::tempPath() + "/tst_tgauge-config");
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TGAUGE_EXECUTABLE), arguments);
}

TgaugeRun finishTgauge(QProcess &process)
{
    TgaugeRun run;
    // Connecting through a pseudo-terminal takes its real pauses, a lossy line its time-outs.
    run.finished = process.waitForFinished(120000);
    if (!run.finished)
        process.kill();
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    // What the platform says about the test's environment is none of tgauge's output.
    static const QRegularExpression platformNotice(
        QStringLiteral("(^|\n)(QStandardPaths: |This plugin does not support )[^\n]*"));
    run.err = QString::fromUtf8(process.readAllStandardError()).remove(platformNotice);
    if (run.err.startsWith(QLatin1Char('\n')))
        run.err.remove(0, 1);
    return run;
}

// The sample lines of an exported chart, past its header; -1 when there is no file.
int liveRows(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = file.readAll().split('\n');
    return int(std::count_if(lines.cbegin(), lines.cend(),
                             [](const QByteArray &line) { return !line.isEmpty(); }))
           - 1;
}

TgaugeRun runTgauge(const QStringList &arguments)
{
    QProcess process;
    startTgauge(process, arguments);
    return finishTgauge(process);
}

QString fileText(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

// tgauge as a process: what the command line answers, and scripted runs with the real plug-in,
// offline, against the in-process simulator or through a pseudo-terminal.
class tst_Tgauge : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void answersAndRunsInOrderWithItsExitStatus_data();
    void answersAndRunsInOrderWithItsExitStatus();
    void filesHoldOnlyWhatTheSensorConfirmed_data();
    void filesHoldOnlyWhatTheSensorConfirmed();
    void signalEndsTheRunLikeClosingTheWindow_data();
    void signalEndsTheRunLikeClosingTheWindow();
    void readsAndPollsThroughADeviceServer_data();
    void readsAndPollsThroughADeviceServer();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString settingsText(const QString &name) const { return fileText(path(name)); }
    QStringList command(const QString &arguments) const;
    QStringList command(const char *arguments) const { return command(QLatin1String(arguments)); }
    // The parameter entries of a settings file ("id=value;..."), empty when it holds none.
    QString parameterText(const QString &name) const;

    QTemporaryDir m_dir;
    SimulatorProcess m_simulator;
    SimulatorProcess m_secondSimulator;
    SimulatorProcess m_silentSimulator;
};

// A relative file name among the blank-separated arguments is one in the test's folder.
QStringList tst_Tgauge::command(const QString &arguments) const
{
    QStringList command;
    for (const QString &argument : arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const bool file = argument.contains(QLatin1Char('.'))
                          && !argument.startsWith(QLatin1Char('/'))
                          && !argument.contains(QLatin1String("://"));
        command << (file ? path(argument) : argument);
    }
    return command;
}

QString tst_Tgauge::parameterText(const QString &name) const
{
    static const QRegularExpression entries(QStringLiteral("<propertytreedata data=\"([^\"]*)\""));
    return entries.match(settingsText(name)).captured(1);
}

// changed.tgs is what a fresh window saves, but for one switching point; refused.tgs a switching
// point beyond the sensor's range; notxml.tgs is no settings file at all. sim.pty and p025.pty
// link to iolink-master-sim's pseudo-terminals, silent.pty to one whose master answers nothing.
void tst_Tgauge::initTestCase()
{
    QVERIFY(m_simulator.start(command("--sensor KR7D-P250 --link sim.pty")));
    QVERIFY(m_secondSimulator.start(command("--sensor KR7D-P025 --link p025.pty")));
    QVERIFY(m_silentSimulator.start(command("--drop-every 1 --link silent.pty")));
    const auto write = [this](const char *name, const QString &text) {
        QFile file(path(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    };
    write("notxml.tgs", QStringLiteral("ThresholdsPressure1A1=1.25;\n"));
    const TgaugeRun save = runTgauge(command("--batch --open-sensor KR7D-P250 "
                                             "--save-settings defaults.tgs"));
    QVERIFY2(save.exitCode == 0, qPrintable(save.err));
    const QString defaults = settingsText(QStringLiteral("defaults.tgs"));
    const auto withPoint = [&defaults](const char *value) {
        QString text = defaults;
        return text.replace(QRegularExpression(QStringLiteral("ThresholdsPressure1A1=[^;]*;")),
                            QStringLiteral("ThresholdsPressure1A1=%1;").arg(QLatin1String(value)));
    };
    write("changed.tgs", withPoint("1.250000"));
    write("refused.tgs", withPoint("300.000000"));

    const TgaugeRun read = runTgauge(command("--batch --open-sensor KR7D-P250 --connect sim.pty "
                                             "--save-settings sensor.tgs"));
    QVERIFY2(read.exitCode == 0, qPrintable(read.err));
    // Only read from the simulated sensor, not a fresh window's 125, can the value be 5.
    QVERIFY(parameterText(QStringLiteral("sensor.tgs"))
                .contains(QStringLiteral("ThresholdsPressure1A1=5.000000;")));
}

// A batch run that connects, reads and saves over a line (pty, raw TCP or RFC 2217) with the
// simulator's faults. The file holds what a clean line reads (sensor.tgs), or is not written.
void tst_Tgauge::filesHoldOnlyWhatTheSensorConfirmed_data()
{
    QTest::addColumn<QString>("link"); // how tgauge reaches iolink-master-sim
    QTest::addColumn<QString>("faults");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("printed"); // over stderr
    QTest::addColumn<bool>("saved");
    // A lost answer is waited out above the links, so one link shows it: the one with the most
    // of its own between the bytes. The serial and the network links are cut in their own ways;
    // raw TCP loses its socket as RFC 2217 does, which also has the Telnet layer in between.
    QTest::newRow("rfc2217, one answer in twenty lost: every value")
        << "rfc2217" << "--drop-every 20" << 0 << "" << true;
    for (const char *link : {"pty", "rfc2217"}) {
        QTest::addRow("%s, unplugged during the read: 1, no file", link)
            << link << "--unplug-after-ms 5000" << 1
            << "tgauge: Connecting to sensor: The sensor did not respond, please make sure it is "
               "properly connected. \\[OK\\]\n(.|\n)*tgauge: cannot connect KR7D-P250"
            << false;
    }
}

void tst_Tgauge::filesHoldOnlyWhatTheSensorConfirmed()
{
    QFETCH(QString, link);
    QFETCH(QString, faults);
    SimulatorProcess simulator;
    const bool pty = link == QLatin1String("pty");
    const QString line = pty ? QStringLiteral("--link faulty.pty") : QString("--listen " + link + ":0");
    QVERIFY(simulator.start(command(QString("--sensor KR7D-P250 " + faults + ' ' + line))));
    const QString port = pty ? path(QStringLiteral("faulty.pty")) : simulator.portPath();
    QFile::remove(path(QStringLiteral("faulty.tgs")));

    const TgaugeRun run = runTgauge(
        command(QString("--batch --open-sensor KR7D-P250 --save-settings faulty.tgs --connect " + port)));
    QVERIFY(run.finished);
    QTEST(run.exitCode, "exitCode");
    QFETCH(QString, printed);
    QVERIFY2(QRegularExpression(printed).match(run.err).hasMatch(), qPrintable(run.err));
    QFETCH(bool, saved);
    QCOMPARE(QFile::exists(path(QStringLiteral("faulty.tgs"))), saved);
    if (saved)
        QCOMPARE(parameterText(QStringLiteral("faulty.tgs")),
                 parameterText(QStringLiteral("sensor.tgs")));
}

// Rows give the arguments separated by blanks; a relative file name is one in the test's folder.
void tst_Tgauge::answersAndRunsInOrderWithItsExitStatus_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("printed"); // a pattern over stdout, then stderr

    QTest::newRow("help") << "--help" << 0 << "^Usage: ";
    QTest::newRow("unknown option") << "--frobnicate" << 2 << "tgauge: Unknown option 'frob";
    QTest::newRow("German: the parser's own words, still 2")
        << "--language de --frobnicate" << 2 << "^tgauge: Unbekannte Option 'frob";
    QTest::newRow("German: our own words, still 2")
        << "--language=de --quit-after soon" << 2
        << "^tgauge: --quit-after braucht eine Zahl von Millisekunden, nicht: soon\n'tgauge ";
    QTest::newRow("empty plug-in folder") << "--list-sensors --plugin-dir /tgauge-no-such-dir" << 0
                                          << "tgauge: no plug-in library in /tgauge-no-such-dir\n$";
    QTest::newRow("catalogue and refused libraries")
        << "--list-sensors --plugin-dir " FAKE_PLUGIN_DIR << 0
        << "^Fake-A\nFake-B\n(.|\n)*without_pcDescription.so: lacks the entry point\\(s\\) "
           "pcDescription";

    const QString batch = QStringLiteral("--batch --open-sensor KR7D-P250 ");
    QTest::newRow("differing file: its line and 3")
        << batch + "--compare-settings changed.tgs" << 3
        << "(^|\n)ThresholdsPressure1A1: file 1.250000, sensor \\d+\\.\\d{6}\n.*: 1 "
           "difference\\(s\\) from ";
    QTest::newRow("opened before compared and saved")
        << batch
               + "--open-settings changed.tgs --compare-settings changed.tgs "
                 "--save-settings saved.tgs"
        << 0 << ": no differences from ";
    // A network link refuses on the same path, with its own reason (the link's own test).
    QTest::newRow("missing port: 1 without waiting, with the reason")
        << batch + "--connect NOWHERE --save-settings unwritten.tgs --quit-after 60000" << 1
        << "tgauge: cannot connect KR7D-P250 through NOWHERE: No such file or directory\n";
    QTest::newRow("settings file that is no XML: box answered, 1")
        << batch + "--open-settings notxml.tgs" << 1
        << "tgauge: Opening settings...: The selected settings are corupted The file \\S+notxml.tgs "
           "is not XML. \\[OK\\]\n"
           "tgauge: cannot apply the settings file ";
    // Each file is checked before anything connects, so its line is the only one; every file
    // of the run goes through the same check, whose reasons the unit test names.
    QTest::newRow("missing settings file: why, before connecting")
        << batch + "--connect NOWHERE --open-settings missing.tgs" << 1
        << "^tgauge: cannot read the settings file \\S+/missing.tgs: it does not exist\n$";
    QTest::newRow("value out of range: 1, nothing written to the sensor")
        << batch + "--simulate SIM --connect SIM --open-settings refused.tgs --trace refused.trace"
        << 1
        << "tgauge: Opening settings...: The selected settings are corupted The value 300.000000 "
           "of ThresholdsPressure1A1 is out of range \\(0 to 25\\). \\[OK\\]\n"
           "tgauge: cannot apply the settings file ";
    // Without --batch a failure does not stop the run: the screenshot still comes.
    QTest::newRow("unknown sensor: the catalogue, 1 after the screenshot")
        << "--open-sensor KR7D-P250 --open-sensor KR7D-X --screenshot shot.png --quit-after 50" << 1
        << "tgauge: cannot open the sensor KR7D-X; the catalogue has: (\\S+, )*KR7D-P250(, "
           "\\S+)*\n(.|\n)*tgauge: saved the screenshot ";
    QTest::newRow("screenshot into a missing folder: 1, said once")
        << "--open-sensor KR7D-P250 --screenshot missing/picture.png --quit-after 50" << 1
        << "^tgauge: cannot save the screenshot \\S+: the folder \\S+ does not exist\n$";
    // Every sensor has a port of its own and its own file; one that fails does not stop the other.
    const QString twoSensors = QStringLiteral(
        "--batch --open-sensor KR7D-P025 --connect %1 --open-sensor KR7D-P250 --connect sim.pty "
        "--export-csv %2-{sensor}.csv --quit-after %3");
    QTest::newRow("two sensors on two masters: a file each")
        << twoSensors.arg("p025.pty", "both", "5000") << 0 << "^(?!(.|\\n)*tgauge: )";
    QTest::newRow("one master silent: 1, naming it")
        << twoSensors.arg("silent.pty", "one", "1000") << 1
        << "(^|\n)tgauge: cannot connect KR7D-P025 through \\S+silent.pty(: .*)?\n";
    // The master's silence ends in a warning box, which the window run's time closes.
    QTest::newRow("silent master: the window run ends with the box pictured")
        << "--open-sensor KR7D-P250 --connect silent.pty --quit-after 3000 --screenshot box.png"
        << 1 << "tgauge: saved the screenshot \\S+box.png\n(.|\n)*tgauge: cannot connect ";
}

void tst_Tgauge::answersAndRunsInOrderWithItsExitStatus()
{
    QFETCH(QString, arguments);
    QFETCH(QString, printed);
    QFETCH(int, exitCode);

    const TgaugeRun run = runTgauge(command(arguments));
    QVERIFY(run.finished);
    const QString output = run.out + run.err;
    QVERIFY2(QRegularExpression(printed).match(output).hasMatch(), qPrintable(output));
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == 0) {
        // A clean run prints nothing on standard error but what the user asked for.
        static const QRegularExpression foreignLine(QStringLiteral("(^|\n)(?!tgauge: )[^\n]"));
        QVERIFY2(!foreignLine.match(run.err).hasMatch(), qPrintable(run.err));
    }
    QVERIFY(!QFile::exists(path(QStringLiteral("unwritten.tgs"))));
    if (arguments.contains(QStringLiteral("saved.tgs")))
        QVERIFY(settingsText(QStringLiteral("saved.tgs"))
                    .contains(QStringLiteral("ThresholdsPressure1A1=1.250000;")));
    if (arguments.contains(QStringLiteral("refused.trace"))) {
        const QString trace = settingsText(QStringLiteral("refused.trace"));
        QVERIFY(trace.contains(QStringLiteral(" > ")));
        QVERIFY2(!trace.contains(QRegularExpression(QStringLiteral(" > \\S\\S \\S\\S 24 "))),
                 qPrintable(trace));
    }
    for (const QString &csv : {QStringLiteral("both-KR7D-P025.csv"),
                               QStringLiteral("both-KR7D-P250.csv"),
                               QStringLiteral("one-KR7D-P250.csv")}) {
        if (arguments.contains(csv.section(QLatin1Char('-'), 0, 0) + QStringLiteral("-{sensor}")))
            QVERIFY2(liveRows(path(csv)) > 0, qPrintable(csv));
    }
    QVERIFY(!QFile::exists(path(QStringLiteral("one-KR7D-P025.csv"))));
    if (arguments.contains(QStringLiteral("shot.png")))
        QVERIFY(!QImage(path(QStringLiteral("shot.png")), "PNG").isNull());
}

void tst_Tgauge::signalEndsTheRunLikeClosingTheWindow_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<QString>("arguments"); // sent once the first frame is in sig.trace
    QTest::addColumn<QString>("printed");

    const QString batch = QStringLiteral("--batch --open-sensor KR7D-P250 --quit-after 60000 ");
    QTest::newRow("SIGTERM while connecting")
        << SIGTERM << batch + "--connect sim.pty --save-settings unwritten.tgs"
        << "^tgauge: interrupted \\(SIGTERM\\) during connecting KR7D-P250 through \\S+sim.pty\n$";
    QTest::newRow("SIGINT while the simulated master is read")
        << SIGINT << batch + "--simulate SIM --connect SIM --export-csv unwritten.csv"
        << "^tgauge: interrupted \\(SIGINT\\) during connecting KR7D-P250 through SIM\n$";
    QTest::newRow("SIGHUP of a window run: nothing said")
        << SIGHUP << "--open-sensor KR7D-P250 --simulate SIM --connect SIM"
        << "^$";
}

void tst_Tgauge::signalEndsTheRunLikeClosingTheWindow()
{
    QFETCH(int, signalNumber);
    QFETCH(QString, arguments);
    const QString trace = path(QStringLiteral("sig.trace"));
    QFile::remove(trace);

    QProcess process;
    startTgauge(process, command(arguments) << QStringLiteral("--trace") << trace);
    QTRY_VERIFY_WITH_TIMEOUT(
        QFile::exists(trace) && fileText(trace).contains(QStringLiteral(" > ")), 20000);
    QCOMPARE(::kill(pid_t(process.processId()), signalNumber), 0);
    const TgaugeRun run = finishTgauge(process);
    QVERIFY(run.finished);
    QFETCH(QString, printed);
    QVERIFY2(QRegularExpression(printed).match(run.out + run.err).hasMatch(),
             qPrintable(run.out + run.err));
    QCOMPARE(run.exitCode, 128 + signalNumber);
    for (const char *unwritten : {"unwritten.tgs", "unwritten.csv"})
        QVERIFY(!QFile::exists(path(QString::fromLatin1(unwritten))));
}
void tst_Tgauge::readsAndPollsThroughADeviceServer_data()
{
    QTest::addColumn<QString>("accepter"); // ser2net's
    QTest::addColumn<QString>("scheme");   // tgauge's
    QTest::newRow("raw TCP") << "tcp" << "tcp";
    QTest::newRow("RFC 2217") << "telnet(rfc2217),tcp" << "rfc2217";
}

// Debian's ser2net carries iolink-master-sim's pseudo-terminal over loopback TCP, as a serial
// device server carries a master's line; the run reads every value and polls through it.
void tst_Tgauge::readsAndPollsThroughADeviceServer()
{
    QFETCH(QString, accepter);
    QFETCH(QString, scheme);
    const QString ser2net = QStandardPaths::findExecutable(
        QStringLiteral("ser2net"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    if (ser2net.isEmpty())
        QSKIP("ser2net is not installed (Debian package ser2net)");
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    QFile config(path(QStringLiteral("ser2net-%1.yaml").arg(scheme)));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(QStringLiteral("connection: &sensor\n"
                                "  accepter: %1,127.0.0.1,%2\n"
                                "  connector: serialdev,%3,38400n81,local\n"
                                "  options:\n"
                                "    kickolduser: true\n")
                     .arg(accepter, QString::number(port), m_secondSimulator.portPath())
                     .toUtf8());
    config.close();
    QProcess server;
    server.start(ser2net, {QStringLiteral("-n"), QStringLiteral("-d"), QStringLiteral("-P"),
                           path(QStringLiteral("ser2net.pid")), QStringLiteral("-c"),
                           config.fileName()});
    const auto stopServer = qScopeGuard([&server] {
        server.terminate();
        if (!server.waitForFinished(5000))
            server.kill();
    });
    QTcpSocket check;
    for (int attempt = 0; attempt < 50 && server.state() != QProcess::NotRunning; ++attempt) {
        check.connectToHost(QHostAddress::LocalHost, port);
        if (check.waitForConnected(100))
            break;
        check.abort();
        QTest::qWait(100);
    }
    if (check.state() != QAbstractSocket::ConnectedState)
        QSKIP(qPrintable(QStringLiteral("ser2net did not start: %1")
                             .arg(QString::fromLocal8Bit(server.readAllStandardError()))));
    check.disconnectFromHost();

    const QString portName = QStringLiteral("%1://127.0.0.1:%2").arg(scheme).arg(port);
    const TgaugeRun run = runTgauge(command(
        QStringLiteral("--batch --open-sensor KR7D-P025 --connect %1 --save-settings served-%2.tgs "
                       "--export-csv served-%2.csv --quit-after 3000")
            .arg(portName, scheme)));
    const QString csv = path(QStringLiteral("served-%1.csv").arg(scheme));
    const QString settings = QStringLiteral("served-%1.tgs").arg(scheme);
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY(liveRows(csv) > 0);
    QVERIFY(!parameterText(settings).isEmpty());
}

QTEST_GUILESS_MAIN(tst_Tgauge)
#include "tst_tgauge.moc"
