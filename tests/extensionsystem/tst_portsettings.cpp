#include <extensionsystem/portsettings.h>

#include <QTest>

using ExtensionSystem::PortSettings;

class tst_PortSettings : public QObject
{
    Q_OBJECT

private slots:
    void baudIndexSelectsFromTheTable_data();
    void baudIndexSelectsFromTheTable();
    void initRestoresEveryDefault();
};

void tst_PortSettings::baudIndexSelectsFromTheTable_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("baudRate");

    QTest::newRow("0") << 0 << 9600;
    QTest::newRow("1") << 1 << 19200;
    QTest::newRow("2, the plug-in's choice") << 2 << 38400;
    QTest::newRow("3") << 3 << 57600;
    QTest::newRow("4") << 4 << 115200;
    QTest::newRow("below the table keeps the rate") << -1 << 57600;
    QTest::newRow("above the table keeps the rate") << 5 << 57600;
}

void tst_PortSettings::baudIndexSelectsFromTheTable()
{
    QFETCH(int, index);
    QFETCH(int, baudRate);

    PortSettings settings;
    settings.vSetBaudrateDefault(3);
    settings.vSetBaudrateDefault(index);
    QCOMPARE(settings.baudRate, baudRate);
}

void tst_PortSettings::initRestoresEveryDefault()
{
    PortSettings settings;
    settings.portName = QStringLiteral("COM3");
    settings.characterDelay = 5;
    settings.lineDelay = 7;
    settings.responseDelay = 9;
    settings.vSetBaudrateDefault(0);
    settings.parity = QSerialPort::EvenParity;
    settings.stopBits = QSerialPort::TwoStop;
    settings.dataBits = QSerialPort::Data7;

    settings.vInit();
    QVERIFY(settings.portName.isEmpty());
    QCOMPARE(settings.characterDelay, 0);
    QCOMPARE(settings.lineDelay, 0);
    QCOMPARE(settings.responseDelay, 0);
    QCOMPARE(settings.baudRate, 38400);
    QCOMPARE(settings.parity, QSerialPort::NoParity);
    QCOMPARE(settings.stopBits, QSerialPort::OneStop);
    QCOMPARE(settings.dataBits, QSerialPort::Data8);
}

QTEST_GUILESS_MAIN(tst_PortSettings)
#include "tst_portsettings.moc"
