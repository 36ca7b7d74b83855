#include <utils/localoffset.h>
#include <utils/replotpace.h>

#include <QDateTime>
#include <QtTest>

#include <ctime>

// The chart's time axis: its local offset, cached between transitions, against the C library's
// own conversion of every instant, in zones with and without daylight saving time; and the pace
// at which new samples alone redraw it.
class tst_ChartAxis : public QObject
{
    Q_OBJECT

private slots:
    void cleanupTestCase();
    void cachedOffsetMatchesLocalTimeAcrossTransitions_data();
    void cachedOffsetMatchesLocalTimeAcrossTransitions();
    void newSamplesReplotOncePerColumnOrWhenLate_data();
    void newSamplesReplotOncePerColumnOrWhenLate();

private:
    void useZone(const QByteArray &zone);

    QByteArray m_zone = qgetenv("TZ");
};

void tst_ChartAxis::useZone(const QByteArray &zone)
{
    if (zone.isEmpty())
        qunsetenv("TZ");
    else
        qputenv("TZ", zone);
    tzset();
}

void tst_ChartAxis::cleanupTestCase()
{
    useZone(m_zone);
}

void tst_ChartAxis::cachedOffsetMatchesLocalTimeAcrossTransitions_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QStringList>("walk"); // UTC instants, asked in this order
    QTest::newRow("forward over the spring change")
        << QByteArray("Europe/Berlin")
        << QStringList{"2026-03-29T00:59:59.999", "2026-03-29T01:00:00.000",
                       "2026-03-29T01:00:00.001", "2026-07-01T12:00:00.000"};
    QTest::newRow("backward over the autumn change")
        << QByteArray("Europe/Berlin")
        << QStringList{"2026-10-25T01:00:00.000", "2026-10-25T00:59:59.999",
                       "2026-10-25T00:00:00.000", "2026-10-25T01:30:00.000"};
    QTest::newRow("half an hour of summer time")
        << QByteArray("Australia/Lord_Howe")
        << QStringList{"2026-04-04T14:59:59.999", "2026-04-04T15:00:00.000",
                       "2026-10-03T15:29:59.999", "2026-10-03T15:30:00.000"};
    QTest::newRow("no transitions") << QByteArray("UTC")
                                    << QStringList{"1970-01-01T00:00:00.000",
                                                   "2099-12-31T23:59:59.999"};
}

void tst_ChartAxis::cachedOffsetMatchesLocalTimeAcrossTransitions()
{
    QFETCH(QByteArray, zone);
    QFETCH(QStringList, walk);
    useZone(zone);
    const Utils::LocalOffset offset;
    for (const QString &text : walk) {
        QDateTime utc = QDateTime::fromString(text, Qt::ISODateWithMs);
        utc.setTimeSpec(Qt::UTC);
        const qint64 ms = utc.toMSecsSinceEpoch();
        const int expected = QDateTime::fromMSecsSinceEpoch(ms, Qt::LocalTime).offsetFromUtc();
        QVERIFY2(offset.secondsAt(ms) == expected, qPrintable(text));
    }
}

void tst_ChartAxis::newSamplesReplotOncePerColumnOrWhenLate_data()
{
    QTest::addColumn<double>("newestMs");
    QTest::addColumn<int>("columns"); // across a view of 60 s: 200 ms per column
    QTest::addColumn<qint64>("sinceReplotMs");
    QTest::addColumn<bool>("worth");
    QTest::newRow("within the column shown") << 1199.0 << 300 << qint64(120) << false;
    QTest::newRow("one column on") << 1200.0 << 300 << qint64(120) << true;
    QTest::newRow("a narrow plot's wide column") << 1400.0 << 60 << qint64(400) << false;
    QTest::newRow("the value shown lags too long") << 1001.0 << 60 << qint64(500) << true;
    QTest::newRow("no width yet") << 1001.0 << 0 << qint64(0) << false;
}

void tst_ChartAxis::newSamplesReplotOncePerColumnOrWhenLate()
{
    QFETCH(double, newestMs);
    QFETCH(int, columns);
    QFETCH(qint64, sinceReplotMs);
    QTEST(Utils::Charts::newSamplesWorthReplot(newestMs, 1000.0, 60000.0, columns, sinceReplotMs),
          "worth");
}

QTEST_GUILESS_MAIN(tst_ChartAxis)
#include "tst_chartaxis.moc"
