#include <app/portlist.h>

#include <QtTest>

using TGauge::PortList;

class TestPortList : public QObject
{
    Q_OBJECT

private slots:
    void mergesSystemPortsFirstEachNameOnce_data();
    void mergesSystemPortsFirstEachNameOnce();
    void refreshAnnouncesOnlyChangedLists();
};

void TestPortList::mergesSystemPortsFirstEachNameOnce_data()
{
    QTest::addColumn<QStringList>("systemPorts");
    QTest::addColumn<QStringList>("namedPorts");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("no ports at all") << QStringList{} << QStringList{} << QStringList{};
    QTest::newRow("system order kept")
        << QStringList{"ttyS1", "ttyS0"} << QStringList{} << QStringList{"ttyS1", "ttyS0"};
    QTest::newRow("named ports follow the system ports")
        << QStringList{"COM1", "COM4"} << QStringList{"/dev/pts/3", "COM9"}
        << QStringList{"COM1", "COM4", "/dev/pts/3", "COM9"};
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

void TestPortList::mergesSystemPortsFirstEachNameOnce()
{
    QFETCH(QStringList, systemPorts);
    QFETCH(QStringList, namedPorts);
    QTEST(PortList::merged(systemPorts, namedPorts), "expected");
    const PortList list(namedPorts, [systemPorts] { return systemPorts; });
    QTEST(list.ports(), "expected");
}

void TestPortList::refreshAnnouncesOnlyChangedLists()
{
    QStringList system{"COM1"};
    PortList list({QStringLiteral("SIM")}, [&system] { return system; });
    QSignalSpy changed(&list, &PortList::portsChanged);

    list.refresh();
    QCOMPARE(changed.count(), 0);

    system = QStringList{"COM1", "COM3"};
    list.refresh();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.takeFirst().at(0).toStringList(), (QStringList{"COM1", "COM3", "SIM"}));
    QCOMPARE(list.ports(), (QStringList{"COM1", "COM3", "SIM"}));

    system = QStringList{"SIM"}; // a system port that happens to carry a named port's name
    list.refresh();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.takeFirst().at(0).toStringList(), QStringList{"SIM"});
}

QTEST_GUILESS_MAIN(TestPortList)
#include "tst_portlist.moc"
