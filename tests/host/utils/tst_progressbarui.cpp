#include <utils/progressbarui.h>

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <functional>

using Utils::ProgressBarUi;

class tst_ProgressBarUi : public QObject
{
    Q_OBJECT

private slots:
    void waitEndsOnlyOnItsOwnId_data();
    void waitEndsOnlyOnItsOwnId();
    void idThatArrivedFirstEndsTheWaitAtOnce();
    void deletingDuringTheWaitEndsIt();
};

void tst_ProgressBarUi::waitEndsOnlyOnItsOwnId_data()
{
    QTest::addColumn<bool>("showUi");
    QTest::newRow("without ui nothing shows") << false;
    QTest::newRow("with ui a modal indicator shows") << true;
}

void tst_ProgressBarUi::waitEndsOnlyOnItsOwnId()
{
    QFETCH(bool, showUi);
    QWidget parent;
    parent.show();
    ProgressBarUi wait(&parent);
    wait.setShowUi(showUi);
    wait.setModal(true);
    QStringList events;
    bool indicatorShown = false;
    // Each exit comes in its own turn of the event loop, after the previous one.
    const std::function<void(QList<unsigned int>)> exitInTurn = [&](QList<unsigned int> ids) {
        if (ids.isEmpty())
            return;
        QTimer::singleShot(0, &wait, [&, ids]() mutable {
            indicatorShown = wait.isUiVisible() && QApplication::activeModalWidget();
            const unsigned int id = ids.takeFirst();
            events << QStringLiteral("exit %1").arg(id);
            wait.exit(id);
            exitInTurn(ids);
        });
    };
    exitInTurn({7, 4, 5});
    wait.exec(5);
    events << QStringLiteral("returned");
    QCOMPARE(events, QStringList({QStringLiteral("exit 7"), QStringLiteral("exit 4"),
                                  QStringLiteral("exit 5"), QStringLiteral("returned")}));
    QCOMPARE(indicatorShown, showUi);
    QVERIFY(!wait.isUiVisible());
}

void tst_ProgressBarUi::idThatArrivedFirstEndsTheWaitAtOnce()
{
    ProgressBarUi wait(nullptr);
    wait.setShowUi(false);
    bool rescued = false;
    // Only there so that a failure ends the test instead of hanging it.
    QTimer::singleShot(5000, &wait, [&] {
        rescued = true;
        wait.exit(9);
    });
    wait.exit(9);
    wait.exec(9);
    QVERIFY(!rescued);
}

void tst_ProgressBarUi::deletingDuringTheWaitEndsIt()
{
    QPointer<ProgressBarUi> wait = new ProgressBarUi(nullptr);
    QTimer::singleShot(0, [&] { delete wait.data(); });
    wait->exec(3);
    QVERIFY(wait.isNull());
}

QTEST_MAIN(tst_ProgressBarUi)
#include "tst_progressbarui.moc"
