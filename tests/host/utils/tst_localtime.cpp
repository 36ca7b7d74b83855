#include <utils/localoffset.h>

#include <QDateTime>
#include <QtTest>

#include <ctime>

// The time axis's local offset, cached between transitions, against the C library's own
// conversion of every instant, in zones with and without daylight saving time.
class tst_LocalTime : public QObject
{
    Q_OBJECT

private slots:
    void cleanupTestCase();
    void cachedOffsetMatchesLocalTimeAcrossTransitions_data();
    void cachedOffsetMatchesLocalTimeAcrossTransitions();

private:
    void useZone(const QByteArray &zone);

    QByteArray m_zone = qgetenv("TZ");
};

void tst_LocalTime::useZone(const QByteArray &zone)
{
    if (zone.isEmpty())
        qunsetenv("TZ");
    else
        qputenv("TZ", zone);
    tzset();
}

void tst_LocalTime::cleanupTestCase()
{
    useZone(m_zone);
}

void tst_LocalTime::cachedOffsetMatchesLocalTimeAcrossTransitions_data()
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

void tst_LocalTime::cachedOffsetMatchesLocalTimeAcrossTransitions()
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

QTEST_GUILESS_MAIN(tst_LocalTime)
#include "tst_localtime.moc"
