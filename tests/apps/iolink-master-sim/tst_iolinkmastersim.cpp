#include <simulator/simcommandline.h>

#include <comm/frame.h>

#include <support/simulatorprocess.h>

#include <QSerialPort>
#include <QTcpSocket>
#include <QtTest>

using namespace Kr7dSim;
using BravoSensorPlugin::Core::isFrameIntact;

namespace {

const QByteArray kProbe = QByteArray::fromHex("03511201");

// One frame (byte 0 counts the rest), or what came before the time ran out.
QByteArray receiveFrame(QIODevice &port, int timeoutMs = 3000)
{
    QByteArray frame;
    const QDeadlineTimer deadline(timeoutMs);
    while ((frame.isEmpty() || frame.size() < 1 + quint8(frame.at(0)))
           && port.waitForReadyRead(int(deadline.remainingTime())))
        frame += port.readAll();
    return frame;
}

QByteArray exchange(QIODevice &port, const QByteArray &request, int timeoutMs = 3000)
{
    return port.write(request) == request.size() ? receiveFrame(port, timeoutMs) : QByteArray();
}

} // namespace

class tst_IoLinkMasterSim : public QObject
{
    Q_OBJECT

private slots:
    void servesItsPortUntilTerminated();
    void servesTheNetworkBesideThePty();
    void faultOptionsDelayDropAndCorruptAnswers();
    void commandLineReadsEveryOption();
    void commandLineAnswersOrRefusesWithoutServing_data();
    void commandLineAnswersOrRefusesWithoutServing();

private:
    QTemporaryDir m_dir;
};

void tst_IoLinkMasterSim::servesItsPortUntilTerminated()
{
    const QString linkPath = m_dir.filePath(QStringLiteral("kr7d-port"));
    const QString logPath = m_dir.filePath(QStringLiteral("frames.log"));
    SimulatorProcess sim;
    QVERIFY(sim.start({"--link", linkPath, "--log", logPath}));
    QCOMPARE(QFileInfo(linkPath).symLinkTarget(), sim.portPath());
    QByteArray answer;
    {
        QSerialPort first(linkPath);
        QVERIFY(first.open(QIODevice::ReadWrite));
        QVERIFY(exchange(first, kProbe.left(2), 50).isEmpty());
        answer = exchange(first, kProbe.mid(2));
        QCOMPARE(answer.mid(2), QByteArray::fromHex("1200"));
        QVERIFY(isFrameIntact(answer));
    }
    QSerialPort second(sim.portPath());
    QVERIFY(second.open(QIODevice::ReadWrite));
    QCOMPARE(exchange(second, kProbe), answer);
    sim.process().terminate();
    QVERIFY(sim.process().waitForFinished(5000));
    QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process().exitCode(), 0);
    QVERIFY(!QFileInfo(linkPath).isSymLink());
    QFile log(logPath);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray logged = "< " + kProbe.toHex(' ') + "\n> " + answer.toHex(' ') + '\n';
    QCOMPARE(log.readAll(), logged + logged);
}

// One master behind every front end: a raw TCP client, and a Telnet client whose COM-port
// settings are acknowledged, get the pty's answers until the master unplugs and closes them all.
void tst_IoLinkMasterSim::servesTheNetworkBesideThePty()
{
    const QString linkPath = m_dir.filePath(QStringLiteral("unplugged-port"));
    SimulatorProcess sim;
    QVERIFY(sim.start({"--pty", "--link", linkPath, "--listen", "tcp:0", "--listen", "rfc2217:0",
                       "--unplug-after-ms", "3000"}));
    QVERIFY(sim.portPath().startsWith(QLatin1String("/dev/")));
    QStringList addresses;
    while (sim.process().canReadLine() || sim.process().waitForReadyRead(3000)) {
        while (sim.process().canReadLine())
            addresses << QString::fromLatin1(sim.process().readLine().trimmed());
        if (addresses.size() >= 2)
            break;
    }
    QCOMPARE(addresses.size(), 2);
    QVERIFY(addresses.at(0).startsWith(QLatin1String("tcp://127.0.0.1:")));
    QVERIFY(addresses.at(1).startsWith(QLatin1String("rfc2217://127.0.0.1:")));
    const auto connected = [](QTcpSocket &socket, const QString &address) {
        socket.connectToHost(QHostAddress::LocalHost, quint16(address.section(':', -1).toUInt()));
        return socket.waitForConnected(3000);
    };
    QSerialPort pty(sim.portPath());
    QVERIFY(pty.open(QIODevice::ReadWrite));
    const QByteArray answer = exchange(pty, kProbe);
    QVERIFY(isFrameIntact(answer));

    QTcpSocket raw;
    QVERIFY(connected(raw, addresses.at(0)));
    QCOMPARE(exchange(raw, kProbe), answer);

    QTcpSocket telnet;
    QVERIFY(connected(telnet, addresses.at(1)));
    telnet.write(QByteArray::fromHex("fffb2cfffa2c0100009600fff0"));
    const QByteArray acknowledged = QByteArray::fromHex("fffa2c6500009600fff0");
    QByteArray negotiation;
    while (!negotiation.contains(acknowledged) && telnet.waitForReadyRead(3000))
        negotiation += telnet.readAll();
    QVERIFY(negotiation.contains(acknowledged));
    QCOMPARE(exchange(telnet, kProbe), answer);

    QVERIFY(sim.process().waitForFinished(5000));
    QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process().exitCode(), 0);
    QVERIFY(raw.state() == QAbstractSocket::UnconnectedState || raw.waitForDisconnected(1000));
    QVERIFY(!QFileInfo(linkPath).isSymLink());
    QVERIFY(!QFileInfo::exists(sim.portPath()));
}

void tst_IoLinkMasterSim::faultOptionsDelayDropAndCorruptAnswers()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({"--latency-ms", "250", "--drop-every", "2", "--corrupt-every", "3"}));
    QSerialPort port(sim.portPath());
    QVERIFY(port.open(QIODevice::ReadWrite));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(isFrameIntact(exchange(port, kProbe)));
    QVERIFY(clock.elapsed() >= 250);
    QVERIFY(exchange(port, kProbe, 600).isEmpty());
    const QByteArray corrupted = exchange(port, kProbe);
    QCOMPARE(corrupted.size(), 4);
    QVERIFY(!isFrameIntact(corrupted));
}

void tst_IoLinkMasterSim::commandLineReadsEveryOption()
{
    const QStringList arguments
        = QStringLiteral("iolink-master-sim --description /d.xml --sensor KR7D-P250 --variant 100 "
                         "--product-id K7DB100 --link /tmp/port --log /tmp/frames.log "
                         "--latency-ms 15 --drop-every 4 --corrupt-every 5 --unplug-after-ms 3000")
              .split(' ');
    SimCommandLine commandLine;
    const std::optional<SimOptions> options = commandLine.parse(arguments, {});
    QVERIFY2(options, qPrintable(commandLine.errorText()));
    const SimOptions &o = *options;
    const QStringList read = QStringList()
                             << o.descriptionPath << o.selection.sensorName
                             << o.selection.variantId3 << o.selection.productId << o.linkPath
                             << o.logPath << QString::number(o.faults.latencyMs)
                             << QString::number(o.faults.dropEvery)
                             << QString::number(o.faults.corruptEvery)
                             << QString::number(o.faults.unplugAfterMs);
    for (int i = 0; i < read.size(); ++i)
        QCOMPARE(read.at(i), arguments.at(2 + 2 * i));
}

// What the parser says reaches the user through the process, with its exit code.
void tst_IoLinkMasterSim::commandLineAnswersOrRefusesWithoutServing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("printed"); // over standard output and error

    QTest::newRow("version") << QStringList{"--version"} << 0
                             << "iolink-master-sim " KR7D_VERSION "\n";
    QTest::newRow("help") << QStringList{"--help"} << 0 << "--unplug-after-ms <ms>";
    QTest::newRow("unknown option") << QStringList{"--baud", "9600"} << 2 << "baud";
    QTest::newRow("negative latency") << QStringList{"--latency-ms", "-5"} << 2 << "latency-ms";
    QTest::newRow("count that is no number")
        << QStringList{"--drop-every", "often"} << 2 << "drop-every";
    QTest::newRow("stray argument") << QStringList{"extra"} << 2 << "extra";
    QTest::newRow("unknown sensor") << QStringList{"--sensor", "KR9-NOPE"} << 1 << "KR9-NOPE";
    QTest::newRow("listen on no known protocol")
        << QStringList{"--listen", "udp:7000"} << 2 << "listen";
    QTest::newRow("listen without a port number")
        << QStringList{"--listen", "tcp:any"} << 2 << "listen";
}

void tst_IoLinkMasterSim::commandLineAnswersOrRefusesWithoutServing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, printed);
    QProcess process;
    process.start(QStringLiteral(KR7D_APP_DIR "/iolink-master-sim"), arguments);
    QVERIFY(process.waitForFinished(10000));
    QTEST(process.exitCode(), "exitCode");
    const QString output = QString::fromUtf8(process.readAllStandardOutput()
                                             + process.readAllStandardError());
    QVERIFY2(output.contains(printed), qPrintable(output));
}

QTEST_GUILESS_MAIN(tst_IoLinkMasterSim)
#include "tst_iolinkmastersim.moc"
