#include <comm/processdata.h>

#include <QtTest>

using namespace BravoSensorPlugin::Core;

class tst_ProcessData : public QObject
{
    Q_OBJECT

private slots:
    void decodesTheLastFourBytes_data();
    void decodesTheLastFourBytes();
    void analogOutputFollowsCharacteristic_data();
    void analogOutputFollowsCharacteristic();
};

void tst_ProcessData::decodesTheLastFourBytes_data()
{
    QTest::addColumn<QString>("hexText");
    QTest::addColumn<double>("divisor");
    QTest::addColumn<double>("pressure");
    QTest::addColumn<double>("temperature");
    QTest::addColumn<bool>("output1");
    QTest::addColumn<bool>("output2");
    QTest::addColumn<bool>("signalTooLow");

    QTest::newRow("negative pressure, A1 on, signal low")
        << "08a72200ff380195" << 100.0 << -2.0 << 2.5 << true << false << true;
    QTest::newRow("largest temperature, all bits off")
        << "08a7220003e8fff0" << 1000.0 << 1.0 << 409.5 << false << false << false;
    QTest::newRow("A2 on, unused bit ignored")
        << "08a7220000fa00fa" << 10.0 << 25.0 << 1.5 << false << true << false;
    QTest::newRow("only the last 8 characters count")
        << "ffffffff7fff0000" << 1.0 << 32767.0 << 0.0 << false << false << false;
    QTest::newRow("upper-case hex")
        << "8000FFF7" << 1000.0 << -32.768 << 409.5 << true << true << true;
    QTest::newRow("short text padded with zeros")
        << "fa5" << 1.0 << 0.0 << 25.0 << true << false << true;
    QTest::newRow("empty") << "" << 1000.0 << 0.0 << 0.0 << false << false << false;
}

void tst_ProcessData::decodesTheLastFourBytes()
{
    QFETCH(QString, hexText);
    QFETCH(double, divisor);
    const ProcessData data = decodeProcessData(hexText, divisor);
    QTEST(data.pressure, "pressure");
    QTEST(data.temperature, "temperature");
    QTEST(data.output1, "output1");
    QTEST(data.output2, "output2");
    QTEST(data.signalTooLow, "signalTooLow");
}

void tst_ProcessData::analogOutputFollowsCharacteristic_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("point0");
    QTest::addColumn<double>("point10");
    QTest::addColumn<int>("analogMode");
    QTest::addColumn<double>("expected");

    QTest::newRow("voltage, middle") << 5.0 << 0.0 << 10.0 << 0 << 5.0;
    QTest::newRow("voltage, offset points") << 2.5 << -1.0 << 6.0 << 0 << 5.0;
    QTest::newRow("voltage, falling characteristic") << 2.5 << 10.0 << 0.0 << 0 << 7.5;
    QTest::newRow("current, lower point") << 20.0 << 20.0 << 100.0 << 1 << 4.0;
    QTest::newRow("current, upper point") << 100.0 << 20.0 << 100.0 << 1 << 20.0;
    QTest::newRow("current, any mode but 0") << 60.0 << 20.0 << 100.0 << 2 << 12.0;
    QTest::newRow("voltage, above the range") << 15.0 << 0.0 << 10.0 << 0 << 15.0;
    QTest::newRow("voltage, equal points") << 3.0 << 3.0 << 3.0 << 0 << 0.0;
    QTest::newRow("current, equal points") << 7.0 << 3.0 << 3.0 << 1 << 4.0;
}

void tst_ProcessData::analogOutputFollowsCharacteristic()
{
    QFETCH(double, x);
    QFETCH(double, point0);
    QFETCH(double, point10);
    QFETCH(int, analogMode);
    QTEST(analogOutputValue(x, point0, point10, analogMode), "expected");
}

QTEST_GUILESS_MAIN(tst_ProcessData)
#include "tst_processdata.moc"
