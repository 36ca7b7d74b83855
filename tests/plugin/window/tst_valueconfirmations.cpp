#include <window/valueconfirmations.h>

#include <QtTest>

using BravoSensorPlugin::Core::ValueConfirmations;

// What a window knows about each value it shows: confirmed by the sensor, or why not.
class tst_ValueConfirmations : public QObject
{
    Q_OBJECT

private slots:
    void eventsDecideEachValuesMark_data();
    void eventsDecideEachValuesMark();
};

// Events: "read A" and "acknowledged A" confirm, "edit A" and "refused A" mark, "lost hh:mm:ss"
// takes the sensor away. Reasons are given for A, B and C in that order, "-" for none.
void tst_ValueConfirmations::eventsDecideEachValuesMark_data()
{
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("unconfirmed");
    QTest::addColumn<int>("pending");
    QTest::addColumn<QString>("reasons");

    const QString notRead = QStringLiteral("not read from the sensor yet");
    QTest::newRow("nothing read yet")
        << ""
        << "A B C" << 0 << QStringList({notRead, notRead, notRead}).join(QLatin1Char('|'));
    QTest::newRow("read and acknowledged values are confirmed") << "read A, acknowledged B, read C"
                                                                << "" << 0 << "-|-|-";
    QTest::newRow("an edit waits, a refusal stays until a write or read succeeds")
        << "read A, read B, read C, edit A, edit B, refused B, edit C"
        << "A B C" << 2 << "not yet written|refused by the sensor|not yet written";
    QTest::newRow("a refused value is confirmed by reading it back")
        << "read A, refused A, read A, read B, read C"
        << "" << 0 << "-|-|-";
    QTest::newRow("offline keeps edits, refusals and unread values as they were")
        << "read A, refused B, edit C, lost 09:05:07"
        << "A B C" << 1 << "sensor offline since 09:05:07|refused by the sensor|not yet written";
    QTest::newRow("a later loss does not move the time")
        << "read A, lost 09:05:07, lost 10:00:00"
        << "A B C" << 0
        << QStringLiteral("sensor offline since 09:05:07|") + notRead + QLatin1Char('|') + notRead;
    QTest::newRow("read after the loss confirms again")
        << "read A, lost 09:05:07, read A, read B, read C"
        << "" << 0 << "-|-|-";
    QTest::newRow("a sensor found again is not read yet; edits and refusals stay")
        << "read A, refused B, edit C, lost 09:05:07, found"
        << "A B C" << 1 << notRead + QLatin1String("|refused by the sensor|not yet written");
    QTest::newRow("ids that are not tracked are never marked")
        << "read A, read B, read C, edit Button, refused Group"
        << "" << 0 << "-|-|-";
}

void tst_ValueConfirmations::eventsDecideEachValuesMark()
{
    QFETCH(QString, events);
    ValueConfirmations confirmations;
    confirmations.track({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    for (const QString &event : events.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        const QString what = event.section(QLatin1Char(' '), 0, 0);
        const QString argument = event.section(QLatin1Char(' '), 1);
        if (what == QLatin1String("read") || what == QLatin1String("acknowledged"))
            confirmations.confirm(argument);
        else if (what == QLatin1String("edit"))
            confirmations.markPending(argument);
        else if (what == QLatin1String("refused"))
            confirmations.markRefused(argument);
        else if (what == QLatin1String("found"))
            confirmations.sensorFound();
        else if (what == QLatin1String("lost"))
            confirmations.sensorLost(QTime::fromString(argument, QStringLiteral("hh:mm:ss")));
        else
            QFAIL(qPrintable(QStringLiteral("unknown event ") + event));
    }
    QTEST(confirmations.unconfirmedIds().join(QLatin1Char(' ')), "unconfirmed");
    QTEST(confirmations.pendingCount(), "pending");
    QStringList reasons;
    for (const char *id : {"A", "B", "C"}) {
        const QString reason = confirmations.reason(QLatin1String(id));
        const bool confirmed
            = confirmations.state(QLatin1String(id)) == ValueConfirmations::State::Confirmed;
        QCOMPARE(reason.isEmpty(), confirmed);
        reasons << (confirmed ? QStringLiteral("-") : reason);
    }
    QTEST(reasons.join(QLatin1Char('|')), "reasons");
}

QTEST_GUILESS_MAIN(tst_ValueConfirmations)
#include "tst_valueconfirmations.moc"
