#include <support/simulatorprocess.h>

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

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
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TGAUGE_EXECUTABLE), arguments);
}

TgaugeRun finishTgauge(QProcess &process)
{
    TgaugeRun run;
    run.finished = process.waitForFinished(30000);
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
class TestTgauge : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void answersAndRunsInOrderWithItsExitStatus_data();
    void answersAndRunsInOrderWithItsExitStatus();
    void signalEndsTheRunLikeClosingTheWindow_data();
    void signalEndsTheRunLikeClosingTheWindow();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString settingsText(const QString &name) const { return fileText(path(name)); }
    QStringList command(const QString &arguments) const;

    QTemporaryDir m_dir;
    SimulatorProcess m_simulator;
    SimulatorProcess m_silentMaster;
    const QString m_sensor = QStringLiteral("KR7D-P250");
};

// A relative file name among the blank-separated arguments is one in the test's folder.
QStringList TestTgauge::command(const QString &arguments) const
{
    QStringList command;
    for (const QString &argument : arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const bool file
            = argument.contains(QLatin1Char('.')) && !argument.startsWith(QLatin1Char('/'));
        command << (file ? path(argument) : argument);
    }
    return command;
}

// changed.tgs is what a fresh window saves, but for one switching point; notxml.tgs is no
// settings file at all; sim.pty links to iolink-master-sim's pseudo-terminal, silent.pty to
// one whose master answers nothing.
void TestTgauge::initTestCase()
{
    QVERIFY(m_simulator.start({QStringLiteral("--sensor"), m_sensor, QStringLiteral("--link"),
                               path(QStringLiteral("sim.pty"))}));
    QVERIFY(m_silentMaster.start({QStringLiteral("--drop-every"), QStringLiteral("1"),
                                  QStringLiteral("--link"), path(QStringLiteral("silent.pty"))}));
    QFile notXml(path(QStringLiteral("notxml.tgs")));
    QVERIFY(notXml.open(QIODevice::WriteOnly));
    notXml.write("ThresholdsPressure1A1=1.25;\n");
    notXml.close();
    const TgaugeRun save
        = runTgauge({QStringLiteral("--batch"), QStringLiteral("--open-sensor"), m_sensor,
                     QStringLiteral("--save-settings"), path(QStringLiteral("defaults.tgs"))});
    QVERIFY2(save.exitCode == 0, qPrintable(save.err));
    QString text = settingsText(QStringLiteral("defaults.tgs"));
    text.replace(QRegularExpression(QStringLiteral("ThresholdsPressure1A1=[^;]*;")),
                 QStringLiteral("ThresholdsPressure1A1=1.250000;"));
    QFile changed(path(QStringLiteral("changed.tgs")));
    QVERIFY(changed.open(QIODevice::WriteOnly));
    changed.write(text.toUtf8());
}

// Rows give the arguments separated by blanks; a relative file name is one in the test's folder.
void TestTgauge::answersAndRunsInOrderWithItsExitStatus_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("printed"); // a pattern over stdout, then stderr

    QTest::newRow("help") << "--help" << 0 << "^Usage: ";
    QTest::newRow("unknown option") << "--frobnicate" << 2 << "tgauge: Unknown option 'frob";
    QTest::newRow("language not offered: the offered ones")
        << "--language fr" << 2 << "^tgauge: No language fr; the languages are: en, de\nTry ";
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
    // Only read from the simulated sensor, not a fresh window's 125, can the value be 5.
    QTest::newRow("real serial path: the sensor's own values")
        << batch + "--connect sim.pty --compare-settings changed.tgs" << 3
        << "(^|\n)ThresholdsPressure1A1: file 1.250000, sensor 5.000000\n";
    QTest::newRow("opened before compared and saved")
        << batch
               + "--open-settings changed.tgs --compare-settings changed.tgs "
                 "--save-settings saved.tgs"
        << 0 << ": no differences from ";
    QTest::newRow("simulated master connected, then the screenshot")
        << batch + "--simulate SIM --connect SIM --screenshot shot.png" << 0
        << "tgauge: saved the screenshot \\S+shot.png";
    QTest::newRow("missing port: 1 without waiting, with the reason")
        << batch + "--connect NOWHERE --save-settings unwritten.tgs --quit-after 60000" << 1
        << "tgauge: cannot connect KR7D-P250 through NOWHERE: No such file or directory\n";
    QTest::newRow("settings file that is no XML: box answered, 1")
        << batch + "--open-settings notxml.tgs" << 1
        << "tgauge: Opening settings...: The selected settings are corupted \\[OK\\]\n"
           "tgauge: cannot apply the settings file ";
    // Each file is checked before anything connects, so its line is the only one.
    QTest::newRow("missing settings file: why, before connecting")
        << batch + "--connect NOWHERE --open-settings missing.tgs" << 1
        << "^tgauge: cannot read the settings file \\S+/missing.tgs: it does not exist\n$";
    QTest::newRow("export into a missing folder: why, before connecting")
        << batch + "--connect NOWHERE --export-csv missing/chart.csv --delimiter ," << 1
        << "^tgauge: cannot write the chart data \\S+: the folder \\S+/missing does not exist\n$";
    QTest::newRow("settings file that is a folder: why, before connecting")
        << batch + "--connect NOWHERE --save-settings . --compare-settings changed.tgs" << 1
        << "^tgauge: cannot write the settings file \\S+: it is a folder\n$";
    // Without --batch a failure does not stop the run: the screenshot still comes.
    QTest::newRow("unknown sensor: the catalogue, 1 after the screenshot")
        << "--open-sensor KR7D-P250 --open-sensor KR7D-X --screenshot any.png --quit-after 50" << 1
        << "tgauge: cannot open the sensor KR7D-X; the catalogue has: (\\S+, )*KR7D-P250(, "
           "\\S+)*\n(.|\n)*tgauge: saved the screenshot ";
    QTest::newRow("screenshot into a missing folder: 1, said once")
        << "--open-sensor KR7D-P250 --screenshot missing/picture.png --quit-after 50" << 1
        << "^tgauge: cannot save the screenshot \\S+: the folder \\S+ does not exist\n$";
    // The master's silence ends in a warning box, which the window run's time closes.
    QTest::newRow("silent master: the window run ends with the box pictured")
        << "--open-sensor KR7D-P250 --connect silent.pty --quit-after 3000 --screenshot box.png"
        << 1 << "tgauge: saved the screenshot \\S+box.png\n(.|\n)*tgauge: cannot connect ";
}

void TestTgauge::answersAndRunsInOrderWithItsExitStatus()
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
    if (arguments.contains(QStringLiteral("shot.png")))
        QVERIFY(!QImage(path(QStringLiteral("shot.png")), "PNG").isNull());
}

void TestTgauge::signalEndsTheRunLikeClosingTheWindow_data()
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

void TestTgauge::signalEndsTheRunLikeClosingTheWindow()
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

QTEST_GUILESS_MAIN(TestTgauge)
#include "tst_tgauge.moc"
