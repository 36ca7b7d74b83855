#include <comm/platformsleep.h>

#include <QElapsedTimer>
#include <QtTest>

#include <limits>

using namespace BravoSensorPlugin::Core;

class tst_PlatformSleep : public QObject
{
    Q_OBJECT

private slots:
    void scaleBelowZeroMeansNoPause_data();
    void scaleBelowZeroMeansNoPause();
    void pauseIsScaled();
    void cleanup();
};

void tst_PlatformSleep::scaleBelowZeroMeansNoPause_data()
{
    QTest::addColumn<double>("scale");
    QTest::newRow("zero") << 0.0;
    QTest::newRow("negative") << -2.0;
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN();
}

void tst_PlatformSleep::scaleBelowZeroMeansNoPause()
{
    QFETCH(double, scale);
    setPlatformSleepScale(scale);
    QCOMPARE(platformSleepScale(), 0.0);
    QElapsedTimer clock;
    clock.start();
    platformSleep(60000);
    QVERIFY(clock.elapsed() < 1000);
}

void tst_PlatformSleep::pauseIsScaled()
{
    setPlatformSleepScale(0.01);
    QCOMPARE(platformSleepScale(), 0.01);
    QElapsedTimer clock;
    clock.start();
    platformSleep(3000);
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= 29 && elapsed < 3000, qPrintable(QString::number(elapsed)));
}

void tst_PlatformSleep::cleanup()
{
    setPlatformSleepScale(1.0);
}

QTEST_GUILESS_MAIN(tst_PlatformSleep)
#include "tst_platformsleep.moc"
