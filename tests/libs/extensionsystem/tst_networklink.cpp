#include <comm/frame.h>
#include <extensionsystem/networkconnection.h>
#include <extensionsystem/networkport.h>
#include <extensionsystem/portsettings.h>
#include <extensionsystem/telnetcodec.h>

#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>

using namespace ExtensionSystem;
using DataFrame = CommunicationInterface::DataFrame;

Q_DECLARE_METATYPE(NetworkPort::Protocol)

namespace {

QByteArray bytes(const char *hex)
{
    return QByteArray::fromHex(hex);
}

DataFrame probes(int count, double timeoutMs)
{
    CommunicationInterface::DataFrameRecord record;
    record.query = bytes("03511201").toStdString();
    record.timeoutMs = timeoutMs;
    return DataFrame(std::size_t(count), record);
}

} // namespace

// Links to a serial device server: port names, the Telnet stream and what the link does when
// the server answers, refuses or goes away, against a server inside the test.
class tst_NetworkLink : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void portNamesGiveProtocolHostAndPort_data();
    void portNamesGiveProtocolHostAndPort();
    void telnetSeparatesDataFromCommands_data();
    void telnetSeparatesDataFromCommands();
    void rfc2217SetsTheLineAndCarriesEveryByte();
    void droppedConnectionFailsTheRestLikeAPulledCable();
    void unreachableAddressIsRefusedWithTheReason_data();
    void unreachableAddressIsRefusedWithTheReason();

private:
    std::unique_ptr<NetworkConnection> open(const QString &scheme);
    QTcpSocket *accepted();

    QTcpServer m_server;
    QPointer<QTcpSocket> m_client;
};

void tst_NetworkLink::init()
{
    QVERIFY(m_server.listen(QHostAddress::LocalHost));
}

void tst_NetworkLink::cleanup()
{
    delete m_client;
    m_server.close();
}

std::unique_ptr<NetworkConnection> tst_NetworkLink::open(const QString &scheme)
{
    PortSettings settings;
    settings.portName = QStringLiteral("%1://127.0.0.1:%2").arg(scheme).arg(m_server.serverPort());
    const std::optional<NetworkPort> address = parseNetworkPort(settings.portName);
    if (!address)
        return nullptr;
    auto connection = std::make_unique<NetworkConnection>(*address, settings);
    if (!connection->open())
        return nullptr;
    return connection;
}

QTcpSocket *tst_NetworkLink::accepted()
{
    // The link's own wait while it connects may have taken the connection in already.
    if (!m_client && (m_server.hasPendingConnections() || m_server.waitForNewConnection(2000)))
        m_client = m_server.nextPendingConnection();
    return m_client;
}

void tst_NetworkLink::portNamesGiveProtocolHostAndPort_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<NetworkPort::Protocol>("protocol");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    const auto raw = NetworkPort::Protocol::Raw;
    QTest::newRow("raw") << "tcp://10.0.0.5:4001" << true << raw << "10.0.0.5" << 4001;
    QTest::newRow("rfc2217 by name") << "rfc2217://cabinet-3:7000" << true
                                     << NetworkPort::Protocol::Rfc2217 << "cabinet-3" << 7000;
    QTest::newRow("IPv6") << "tcp://[::1]:7000" << true << raw << "::1" << 7000;
    QTest::newRow("no port") << "tcp://cabinet-3" << false << raw << "" << 0;
    QTest::newRow("port out of range") << "tcp://cabinet-3:70000" << false << raw << "" << 0;
    QTest::newRow("a path") << "tcp://cabinet-3:7000/dev/ttyS0" << false << raw << "" << 0;
    QTest::newRow("other scheme") << "telnet://cabinet-3:23" << false << raw << "" << 0;
    QTest::newRow("serial device") << "/dev/ttyUSB0" << false << raw << "" << 0;
}

void tst_NetworkLink::portNamesGiveProtocolHostAndPort()
{
    QFETCH(QString, name);
    QFETCH(bool, valid);
    const std::optional<NetworkPort> port = parseNetworkPort(name);
    QCOMPARE(bool(port), valid);
    QCOMPARE(isNetworkPortName(name), name.contains(QLatin1String("tcp://"))
                                          || name.startsWith(QLatin1String("rfc2217")));
    if (!port)
        return;
    QTEST(port->protocol, "protocol");
    QTEST(port->host, "host");
    QTEST(int(port->port), "port");
}

void tst_NetworkLink::telnetSeparatesDataFromCommands_data()
{
    QTest::addColumn<QStringList>("chunks"); // hex, as they arrive
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QStringList>("subnegotiations"); // hex
    QTest::newRow("plain data") << QStringList{"0340120000"} << bytes("0340120000")
                                << QByteArray() << QStringList();
    QTest::newRow("doubled IAC is one data byte")
        << QStringList{"01ffff02"} << bytes("01ff02") << QByteArray() << QStringList();
    QTest::newRow("command split over reads")
        << QStringList{"01ff", "fb", "0102"} << bytes("0102") << bytes("fffe01") << QStringList();
    QTest::newRow("unknown option refused both ways")
        << QStringList{"fffd18fffb18"} << QByteArray() << bytes("fffc18fffe18") << QStringList();
    QTest::newRow("option offered already: no answer")
        << QStringList{"fffd00fffb2c"} << QByteArray() << QByteArray() << QStringList();
    QTest::newRow("switching off an option is confirmed")
        << QStringList{"fffe03"} << QByteArray() << bytes("fffc03") << QStringList();
    QTest::newRow("subnegotiation with an escaped byte, data around it")
        << QStringList{"41fffa2c65", "0000ffff00fff042"} << bytes("4142") << QByteArray()
        << QStringList{"2c650000ff00"};
}

void tst_NetworkLink::telnetSeparatesDataFromCommands()
{
    QFETCH(QStringList, chunks);
    TelnetCodec codec({Telnet::Binary, Telnet::SuppressGoAhead, Telnet::ComPort});
    codec.offer();
    QByteArray data;
    QByteArray reply;
    QList<QByteArray> subnegotiations;
    for (const QString &chunk : chunks)
        data += codec.decode(QByteArray::fromHex(chunk.toLatin1()), &reply, &subnegotiations);
    QTEST(data, "data");
    QTEST(reply, "reply");
    QStringList seen;
    for (const QByteArray &sub : subnegotiations)
        seen << QString::fromLatin1(sub.toHex());
    QTEST(seen, "subnegotiations");
}

// The line is set to 38400 8N1 as the serial link sets it; data bytes 0xff are doubled on the
// wire both ways, and the answer still matches its request.
void tst_NetworkLink::rfc2217SetsTheLineAndCarriesEveryByte()
{
    const std::unique_ptr<NetworkConnection> connection = open(QStringLiteral("rfc2217"));
    QVERIFY(connection);
    QTcpSocket *client = accepted();
    QVERIFY(client);
    const QByteArray comPort = bytes("fffa2c0100009600fff0fffa2c0208fff0fffa2c0301fff0fffa2c0401fff0");
    QByteArray received;
    QTRY_VERIFY((received += client->readAll()).contains(comPort));
    QVERIFY(received.contains(bytes("fffb2c")));

    received.clear();
    connection->vSendRawData(std::string("\x01\xff", 2));
    QTRY_VERIFY((received += client->readAll()).endsWith(bytes("01ffff")));

    const QByteArray answer = BravoSensorPlugin::Core::buildFrame(0x27, bytes("00ff"));
    DataFrame frames = probes(1, 2000);
    frames.front().query = bytes("027327").toStdString();
    QSignalSpy finished(connection.get(), &CommunicationInterface::emitFinished);
    connection->uiSendDataFrames(&frames);
    QTRY_VERIFY((received += client->readAll()).endsWith(bytes("027327")));
    client->write(TelnetCodec::escape(answer));
    QVERIFY(finished.wait(2000));
    QCOMPARE(frames.front().status, 1);
    QCOMPARE(QByteArray::fromStdString(frames.front().answer), answer);
}

// Both schemes lose the link through the same socket; the Telnet layer is the one in between.
void tst_NetworkLink::droppedConnectionFailsTheRestLikeAPulledCable()
{
    const std::unique_ptr<NetworkConnection> connection = open(QStringLiteral("rfc2217"));
    QVERIFY(connection);
    QTcpSocket *client = accepted();
    QVERIFY(client);
    QObject::connect(client, &QTcpSocket::readyRead, client, [client] {
        if (client->readAll().contains(bytes("03511201")))
            client->close();
    });
    DataFrame first = probes(3, 3000);
    DataFrame second = probes(2, 3000);
    QSignalSpy finished(connection.get(), &CommunicationInterface::emitFinished);
    connection->uiSendDataFrames(&first);
    connection->uiSendDataFrames(&second);
    // Well before the records' own time-outs.
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 2000);
    QVERIFY(connection->bPortLost());
    QVERIFY(!connection->bIsOpen());
    QVERIFY(!connection->errorString().isEmpty());
    QCOMPARE(first.back().status, 0);
    QCOMPARE(second.back().status, 0);
}

void tst_NetworkLink::unreachableAddressIsRefusedWithTheReason_data()
{
    QTest::addColumn<QString>("portName");
    QTest::addColumn<QString>("reason");
    QTest::newRow("refused") << "tcp://127.0.0.1:1" << "Connection refused";
    QTest::newRow("unknown host") << "rfc2217://no-such-host.invalid:7000" << "Host not found";
}

void tst_NetworkLink::unreachableAddressIsRefusedWithTheReason()
{
    QFETCH(QString, portName);
    PortSettings settings;
    settings.portName = portName;
    NetworkConnection connection(*parseNetworkPort(portName), settings);
    QSignalSpy finished(&connection, &CommunicationInterface::emitFinished);
    QVERIFY(!connection.open());
    QTEST(connection.errorString(), "reason");
    QVERIFY(!connection.bIsOpen());
    DataFrame frames = probes(1, 60000);
    connection.uiSendDataFrames(&frames);
    QVERIFY(finished.wait(1000));
    QCOMPARE(frames.front().status, 0);
}

QTEST_GUILESS_MAIN(tst_NetworkLink)
#include "tst_networklink.moc"
