#include <extensionsystem/portsettings.h>

#include <QTest>

using ExtensionSystem::PortSettings;

class tst_PortSettings : public QObject
{
    Q_OBJECT

private slots:
    void baudIndexSelectsFromTheTable_data();
    void baudIndexSelectsFromTheTable();
};

void tst_PortSettings::baudIndexSelectsFromTheTable_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("baudRate");

    QTest::newRow("index 2, the plug-in's choice") << 2 << 38400;
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

QTEST_GUILESS_MAIN(tst_PortSettings)
#include "tst_portsettings.moc"
