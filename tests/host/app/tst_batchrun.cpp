#include "tgaugeprocess.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// Scripted runs of tgauge with the real plug-in, offline or against the in-process simulator.
class TestBatchRun : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void runsInOrderAndExitsWithItsStatus_data();
    void runsInOrderAndExitsWithItsStatus();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString settingsText(const QString &name) const;

    QTemporaryDir m_dir;
    QString m_sensor;
    QProcess m_otherSensor; // a master whose sensor is not m_sensor
    QString m_otherPort;
};

QString TestBatchRun::settingsText(const QString &name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// defaults.tgs is what a fresh window saves; changed.tgs differs in one switching point.
void TestBatchRun::initTestCase()
{
    const TgaugeRun list = runTgauge({QStringLiteral("--list-sensors")});
    m_sensor = list.out.section(QLatin1Char('\n'), 0, 0);
    QVERIFY2(!m_sensor.isEmpty(), qPrintable(list.err));
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

    m_otherSensor.start(QStringLiteral(KR7D_APP_DIR "/iolink-master-sim"),
                        {QStringLiteral("--sensor"), list.out.section(QLatin1Char('\n'), 1, 1)});
    while (!m_otherSensor.canReadLine() && m_otherSensor.waitForReadyRead(5000)) {
    }
    m_otherPort = QString::fromLocal8Bit(m_otherSensor.readLine().trimmed());
    QVERIFY2(!m_otherPort.isEmpty(), m_otherSensor.readAllStandardError().constData());
}

void TestBatchRun::cleanupTestCase()
{
    m_otherSensor.kill();
    m_otherSensor.waitForFinished(5000);
}

void TestBatchRun::runsInOrderAndExitsWithItsStatus_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("printed"); // a pattern over stdout and stderr

    QTest::newRow("same file: no difference")
        << QStringList{"--compare-settings", "defaults.tgs"} << 0 << ": no differences from ";
    QTest::newRow("differing file: its line and 3")
        << QStringList{"--compare-settings", "changed.tgs"} << 3
        << "(^|\n)ThresholdsPressure1A1: file 1.250000, sensor \\d+\\.\\d{6}\n.*: 1 "
           "difference\\(s\\) from ";
    QTest::newRow("opened before compared and saved")
        << QStringList{"--open-settings", "changed.tgs",     "--compare-settings",
                       "changed.tgs",     "--save-settings", "saved.tgs"}
        << 0 << ": no differences from ";
    QTest::newRow("failed connection: 1 without waiting")
        << QStringList{"--connect",     "NOWHERE",      "--save-settings",
                       "unwritten.tgs", "--quit-after", "60000"}
        << 1 << "tgauge: cannot connect \\S+ through NOWHERE";
    QTest::newRow("other sensor behind the port: warning answered, 1")
        << QStringList{"--connect", "%otherport"} << 1
        << "tgauge: Connecting to sensor...: The connected sensor does not match .* \\[OK\\]";
    QTest::newRow("corrupted settings file: box answered, 1")
        << QStringList{"--open-settings", "missing.tgs"} << 1
        << "tgauge: Opening settings...: The selected settings are corupted \\[OK\\]\n"
           "tgauge: cannot apply the settings file ";
    QTest::newRow("unwritable export: 1")
        << QStringList{"--export-csv", "missing/chart.csv", "--delimiter", ","} << 1
        << "tgauge: cannot write the chart data ";
}

void TestBatchRun::runsInOrderAndExitsWithItsStatus()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, printed);
    QStringList command{QStringLiteral("--batch"), QStringLiteral("--open-sensor"), m_sensor};
    for (const QString &argument : std::as_const(arguments)) {
        command << (argument == QLatin1String("%otherport") ? m_otherPort
                    : argument.contains(QLatin1Char('.'))   ? path(argument)
                                                            : argument);
    }

    const TgaugeRun run = runTgauge(command);
    QVERIFY(run.finished);
    const QString output = run.out + run.err;
    QVERIFY2(QRegularExpression(printed).match(output).hasMatch(), qPrintable(output));
    QTEST(run.exitCode, "exitCode");
    QVERIFY(!QFile::exists(path(QStringLiteral("unwritten.tgs"))));
    if (arguments.contains(QStringLiteral("saved.tgs")))
        QVERIFY(settingsText(QStringLiteral("saved.tgs"))
                    .contains(QStringLiteral("ThresholdsPressure1A1=1.250000;")));
}

QTEST_GUILESS_MAIN(TestBatchRun)
#include "tst_batchrun.moc"
