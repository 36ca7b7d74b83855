#include <simulator/frameassembler.h>

#include <QtTest>

using Kr7dSim::FrameAssembler;

namespace {

struct Chunk
{
    qint64 atMs;
    QByteArray bytes;
};

} // namespace

Q_DECLARE_METATYPE(QVector<Chunk>)

class tst_FrameAssembler : public QObject
{
    Q_OBJECT

private slots:
    void cutsStreamIntoFrames_data();
    void cutsStreamIntoFrames();
};

void tst_FrameAssembler::cutsStreamIntoFrames_data()
{
    QTest::addColumn<QVector<Chunk>>("chunks");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<int>("pending");
    const QByteArray probe = QByteArray::fromHex("03511201");
    const QByteArray poll = QByteArray::fromHex("027022");
    QTest::newRow("whole frame") << QVector<Chunk>{{0, probe}} << QByteArrayList{probe} << 0;
    QTest::newRow("frame in three pieces")
        << QVector<Chunk>{{0, probe.left(1)}, {5, probe.mid(1, 2)}, {9, probe.mid(3)}}
        << QByteArrayList{probe} << 0;
    QTest::newRow("two frames in one read")
        << QVector<Chunk>{{0, probe + poll}} << QByteArrayList{probe, poll} << 0;
    QTest::newRow("frame and the start of the next")
        << QVector<Chunk>{{0, probe + poll.left(2)}} << QByteArrayList{probe} << 2;
    QTest::newRow("rest of a split frame completes it")
        << QVector<Chunk>{{0, probe + poll.left(2)}, {150, poll.mid(2)}}
        << QByteArrayList{probe, poll} << 0;
    QTest::newRow("stale start dropped after the gap")
        << QVector<Chunk>{{0, QByteArray::fromHex("0573")}, {201, poll}} << QByteArrayList{poll}
        << 0;
    QTest::newRow("count byte 0 is a frame of its own")
        << QVector<Chunk>{{0, QByteArray(1, '\0') + poll}}
        << QByteArrayList{QByteArray(1, '\0'), poll} << 0;
}

void tst_FrameAssembler::cutsStreamIntoFrames()
{
    QFETCH(QVector<Chunk>, chunks);
    FrameAssembler assembler(200);
    QByteArrayList received;
    for (const Chunk &chunk : chunks)
        received += assembler.feed(chunk.bytes, chunk.atMs);
    QTEST(received, "frames");
    QTEST(assembler.pendingBytes(), "pending");
}

QTEST_GUILESS_MAIN(tst_FrameAssembler)
#include "tst_frameassembler.moc"
