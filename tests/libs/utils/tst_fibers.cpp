#include <utils/fiberrunner.h>
#include <utils/fiberwait.h>

#include <QTimer>
#include <QtTest>

using Utils::FiberRunner;
using Utils::FiberWait;

namespace {

// Waits ms on a timer as a sequence's pause does.
void pause(int ms)
{
    FiberWait wait;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&wait] { wait.quit(); });
    timer.start(ms);
    wait.exec();
}

} // namespace

class tst_Fibers : public QObject
{
    Q_OBJECT

private slots:
    void aWaitEndsWhenItsOwnTimeIsUp_data();
    void aWaitEndsWhenItsOwnTimeIsUp();
    void aStaleWakeNeverCutsTheNextWaitShort();
};

// The second piece of work starts inside the first one's wait. On one stack the first could only
// go on once the second had left it; on fibers each goes on when its own wait is over.
void tst_Fibers::aWaitEndsWhenItsOwnTimeIsUp_data()
{
    QTest::addColumn<int>("firstMs");
    QTest::addColumn<int>("secondMs");
    QTest::addColumn<QStringList>("ended");
    QTest::newRow("started first, done first") << 10 << 300 << QStringList{"first", "second"};
    QTest::newRow("started second, done first") << 300 << 10 << QStringList{"second", "first"};
}

void tst_Fibers::aWaitEndsWhenItsOwnTimeIsUp()
{
    QFETCH(int, firstMs);
    QFETCH(int, secondMs);
    FiberRunner *runner = FiberRunner::instance();
    QStringList ended;
    QTimer::singleShot(0, [&] {
        runner->start([&] {
            pause(secondMs);
            ended << QStringLiteral("second");
        });
    });
    runner->start([&] {
        pause(firstMs);
        ended << QStringLiteral("first");
    });
    QCOMPARE(runner->unfinished(), 1);
    QTRY_COMPARE(ended.size(), 2);
    QTEST(ended, "ended");
    QCOMPARE(runner->unfinished(), 0);
}

// A wait that was ended twice resumes its fiber once: the next wait of that fiber lasts its time.
void tst_Fibers::aStaleWakeNeverCutsTheNextWaitShort()
{
    bool secondTimedOut = false;
    bool endedByItsTimer = false;
    bool finished = false;
    FiberRunner::instance()->start([&] {
        FiberWait first;
        QTimer::singleShot(0, [&first] {
            first.quit();
            first.quit();
        });
        first.exec();
        FiberWait second;
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            secondTimedOut = true;
            second.quit();
        });
        timer.start(50);
        second.exec();
        endedByItsTimer = secondTimedOut;
        finished = true;
    });
    QTRY_VERIFY(finished);
    QVERIFY(endedByItsTimer);
}

QTEST_MAIN(tst_Fibers)
#include "tst_fibers.moc"
