#include <app/frametracedock.h>
#include <app/tracelines.h>

#include <extensionsystem/frametrace.h>

#include <QAction>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

using TGauge::FrameTraceDock;
using TGauge::TraceLines;

namespace {

QStringList numbered(int from, int to)
{
    QStringList lines;
    for (int i = from; i <= to; ++i)
        lines << QString::number(i);
    return lines;
}

} // namespace

class TestFrameTraceDock : public QObject
{
    Q_OBJECT

private slots:
    void ringKeepsTheNewestLinesInOrder_data();
    void ringKeepsTheNewestLinesInOrder();
    void pausedViewStandsStillAndCatchesUp();
    void showsTheTraceOnlyWhileOpen();
};

void TestFrameTraceDock::ringKeepsTheNewestLinesInOrder_data()
{
    QTest::addColumn<int>("appended");
    QTest::addColumn<QStringList>("kept");

    QTest::newRow("below capacity") << 2 << numbered(1, 2);
    QTest::newRow("at capacity") << 3 << numbered(1, 3);
    QTest::newRow("one over") << 4 << numbered(2, 4);
    QTest::newRow("wrapped twice and more") << 8 << numbered(6, 8);
}

void TestFrameTraceDock::ringKeepsTheNewestLinesInOrder()
{
    QFETCH(int, appended);
    TraceLines ring(3);
    for (const QString &line : numbered(1, appended))
        ring.append(line);
    QTEST(ring.lines(), "kept");
    ring.clear();
    ring.append(QStringLiteral("after clear"));
    QCOMPARE(ring.lines(), QStringList{QStringLiteral("after clear")});
}

void TestFrameTraceDock::pausedViewStandsStillAndCatchesUp()
{
    FrameTraceDock dock;
    auto view = dock.findChild<QPlainTextEdit *>();
    dock.addLine(QStringLiteral("1"));
    dock.pauseAction()->setChecked(true);
    dock.addLine(QStringLiteral("2"));
    QCOMPARE(view->toPlainText(), QStringLiteral("1"));
    QCOMPARE(dock.lines().lines(), numbered(1, 2));

    dock.pauseAction()->setChecked(false);
    QCOMPARE(view->toPlainText(), QStringLiteral("1\n2"));

    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("trace.txt"));
    QVERIFY(dock.saveTo(fileName));
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("1\n2\n"));
    QVERIFY(!dock.saveTo(dir.filePath(QStringLiteral("missing/trace.txt"))));
}

void TestFrameTraceDock::showsTheTraceOnlyWhileOpen()
{
    QMainWindow window;
    auto dock = new FrameTraceDock(&window);
    window.addDockWidget(Qt::BottomDockWidgetArea, dock);
    window.show();
    ExtensionSystem::FrameTrace &trace = ExtensionSystem::FrameTrace::instance();

    trace.frameSent(QStringLiteral("P"), QByteArray::fromHex("027022"));
    QCOMPARE(dock->lines().size(), 1);
    dock->toggleViewAction()->trigger();
    trace.frameSent(QStringLiteral("P"), QByteArray::fromHex("027022"));
    QCOMPARE(dock->lines().size(), 1);
}

QTEST_MAIN(TestFrameTraceDock)
#include "tst_frametracedock.moc"
