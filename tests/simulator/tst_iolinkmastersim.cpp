#include <comm/frame.h>

#include <support/simulatorprocess.h>

#include <QSerialPort>
#include <QtTest>

using BravoSensorPlugin::Core::isFrameIntact;

namespace {

const QByteArray kProbe = QByteArray::fromHex("03511201");

// The client side of the simulator's port, opened the way a serial port is.
class PortClient
{
public:
    explicit PortClient(const QString &path)
        : m_port(path)
    {
        m_port.open(QIODevice::ReadWrite);
    }

    bool isOpen() const { return m_port.isOpen(); }

    bool send(const QByteArray &bytes)
    {
        return m_port.write(bytes) == bytes.size() && m_port.flush();
    }

    // One frame (byte 0 counts the rest), or what came before the time ran out.
    QByteArray receiveFrame(int timeoutMs)
    {
        QByteArray frame;
        const QDeadlineTimer deadline(timeoutMs);
        while ((frame.isEmpty() || frame.size() < 1 + quint8(frame.at(0)))
               && m_port.waitForReadyRead(int(deadline.remainingTime())))
            frame += m_port.readAll();
        return frame;
    }

    QByteArray exchange(const QByteArray &request)
    {
        return send(request) ? receiveFrame(3000) : QByteArray();
    }

private:
    QSerialPort m_port;
};

} // namespace

class tst_IoLinkMasterSim : public QObject
{
    Q_OBJECT

private slots:
    void answersProbeOnItsPort();
    void requestInPiecesIsAnsweredWhenWhole();
    void clientCanReconnect();
    void logHoldsEveryFrameInAndOut();
    void terminationExitsCleanlyAndRemovesLink();
    void unplugClosesThePortAndExits();
    void faultOptionsDelayDropAndCorruptAnswers();
    void refusesUnknownSensor();

private:
    QTemporaryDir m_dir;
};

void tst_IoLinkMasterSim::answersProbeOnItsPort()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({}));
    QVERIFY(sim.portPath().startsWith(QLatin1String("/dev/")));
    PortClient client(sim.portPath());
    QVERIFY(client.isOpen());
    const QByteArray answer = client.exchange(kProbe);
    QCOMPARE(answer.size(), 4);
    QVERIFY(isFrameIntact(answer));
    QCOMPARE(quint8(answer.at(2)), quint8(0x12));
    QCOMPARE(quint8(answer.at(3)), quint8(0));
}

void tst_IoLinkMasterSim::requestInPiecesIsAnsweredWhenWhole()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({}));
    PortClient client(sim.portPath());
    QVERIFY(client.send(kProbe.left(2)));
    QVERIFY(client.receiveFrame(50).isEmpty());
    QVERIFY(client.send(kProbe.mid(2)));
    QCOMPARE(client.receiveFrame(3000).size(), 4);
}

void tst_IoLinkMasterSim::clientCanReconnect()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({}));
    {
        PortClient first(sim.portPath());
        QCOMPARE(first.exchange(kProbe).size(), 4);
    }
    PortClient second(sim.portPath());
    QCOMPARE(second.exchange(kProbe).size(), 4);
}

void tst_IoLinkMasterSim::logHoldsEveryFrameInAndOut()
{
    const QString logPath = m_dir.filePath(QStringLiteral("frames.log"));
    QByteArray answer;
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({"--log", logPath}));
        PortClient client(sim.portPath());
        answer = client.exchange(kProbe);
        QCOMPARE(answer.size(), 4);
    }
    QFile log(logPath);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArrayList lines = log.readAll().split('\n');
    QCOMPARE(lines,
             (QByteArrayList{"< " + kProbe.toHex(' '), "> " + answer.toHex(' '), QByteArray()}));
}

void tst_IoLinkMasterSim::terminationExitsCleanlyAndRemovesLink()
{
    const QString linkPath = m_dir.filePath(QStringLiteral("kr7d-port"));
    SimulatorProcess sim;
    QVERIFY(sim.start({"--link", linkPath}));
    QVERIFY(QFileInfo(linkPath).isSymLink());
    QCOMPARE(QFileInfo(linkPath).symLinkTarget(), sim.portPath());
    {
        PortClient client(linkPath);
        QCOMPARE(client.exchange(kProbe).size(), 4);
    }
    sim.process().terminate();
    QVERIFY(sim.process().waitForFinished(5000));
    QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process().exitCode(), 0);
    QVERIFY(!QFileInfo(linkPath).isSymLink());
}

void tst_IoLinkMasterSim::unplugClosesThePortAndExits()
{
    const QString linkPath = m_dir.filePath(QStringLiteral("unplugged-port"));
    SimulatorProcess sim;
    QVERIFY(sim.start({"--link", linkPath, "--unplug-after-ms", "200"}));
    QVERIFY(sim.process().waitForFinished(5000));
    QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process().exitCode(), 0);
    QVERIFY(!QFileInfo(linkPath).isSymLink());
    QVERIFY(!QFileInfo::exists(sim.portPath()));
}

void tst_IoLinkMasterSim::faultOptionsDelayDropAndCorruptAnswers()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({"--latency-ms", "250", "--drop-every", "2", "--corrupt-every", "3"}));
    PortClient client(sim.portPath());
    QElapsedTimer clock;
    clock.start();
    QVERIFY(isFrameIntact(client.exchange(kProbe)));
    QVERIFY(clock.elapsed() >= 250);
    QVERIFY(client.send(kProbe));
    QVERIFY(client.receiveFrame(600).isEmpty());
    const QByteArray corrupted = client.exchange(kProbe);
    QCOMPARE(corrupted.size(), 4);
    QVERIFY(!isFrameIntact(corrupted));
}

void tst_IoLinkMasterSim::refusesUnknownSensor()
{
    SimulatorProcess sim;
    QVERIFY(!sim.start({"--sensor", "KR9-NOPE"}));
    QVERIFY(sim.process().state() == QProcess::NotRunning || sim.process().waitForFinished(5000));
    QCOMPARE(sim.process().exitCode(), 1);
    QVERIFY(sim.process().readAllStandardError().contains("KR9-NOPE"));
}

QTEST_GUILESS_MAIN(tst_IoLinkMasterSim)
#include "tst_iolinkmastersim.moc"
