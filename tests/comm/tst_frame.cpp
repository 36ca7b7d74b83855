#include <comm/fixedframes.h>
#include <comm/frame.h>

#include <QtTest>

using namespace BravoSensorPlugin::Core;

class tst_Frame : public QObject
{
    Q_OBJECT

private slots:
    void framesAreReproducedByteForByte_data();
    void framesAreReproducedByteForByte();
    void intactFramesPassAndEverySingleBitErrorIsDetected_data();
    void intactFramesPassAndEverySingleBitErrorIsDetected();
    void malformedFramesAreRejected_data();
    void malformedFramesAreRejected();
};

namespace {

// Every frame the window sends, built by the code under test, next to the bytes the master expects.
void addFrameRows()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("expectedHex");

    QTest::newRow("probe") << probeFrame() << QByteArray("03511201");
    QTest::newRow("identity setup") << identitySetupFrame() << QByteArray("0473110903");
    QTest::newRow("identity start") << identityStartFrame() << QByteArray("03702103");
    QTest::newRow("product id read") << productIdReadFrame() << QByteArray("054626130000");
    QTest::newRow("process data") << processDataFrame() << QByteArray("027022");
    QTest::newRow("result fetch") << resultFetchFrame() << QByteArray("027327");
    QTest::newRow("factory reset") << factoryResetFrame() << QByteArray("066b2402000082");
    QTest::newRow("read request of index 19")
        << readRequestFrame(19, 0) << QByteArray("054626130000");
    QTest::newRow("two-byte write, high byte first")
        << writeFrame(77, 0, 7, 300) << QByteArray("077f244d0000012c");
    QTest::newRow("one-byte write keeps the low byte")
        << writeFrame(77, 0, 6, 300) << QByteArray("066e244d00002c");
    QTest::newRow("index low byte first, subindex")
        << writeFrame(0x0140, 2, 6, 5) << QByteArray("06682440010205");
    QTest::newRow("negative two-byte value")
        << writeFrame(77, 0, 7, -150) << QByteArray("0745244d0000ff6a");
}

} // namespace

void tst_Frame::framesAreReproducedByteForByte_data()
{
    addFrameRows();
}

void tst_Frame::framesAreReproducedByteForByte()
{
    QFETCH(QByteArray, frame);
    QTEST(frame.toHex(), "expectedHex");
}

void tst_Frame::intactFramesPassAndEverySingleBitErrorIsDetected_data()
{
    addFrameRows();
}

void tst_Frame::intactFramesPassAndEverySingleBitErrorIsDetected()
{
    QFETCH(QByteArray, expectedHex);
    const QByteArray good = QByteArray::fromHex(expectedHex);
    QVERIFY(isFrameIntact(good));
    for (int byte = 0; byte < good.size(); ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            QByteArray bad = good;
            bad[byte] = char(bad.at(byte) ^ (1 << bit));
            QVERIFY2(!isFrameIntact(bad),
                     qPrintable(QStringLiteral("byte %1 bit %2").arg(byte).arg(bit)));
        }
    }
}

void tst_Frame::malformedFramesAreRejected_data()
{
    QTest::addColumn<QByteArray>("frameHex");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("count only") << QByteArray("00");
    QTest::newRow("no command") << QByteArray("0170");
    QTest::newRow("no command, check octet of command 0") << QByteArray("0175");
    QTest::newRow("cut short") << QByteArray("077f244d000001");
    QTest::newRow("trailing byte") << QByteArray("02702200");
    QTest::newRow("check octet without its 01 bits") << QByteArray("023022");
}

void tst_Frame::malformedFramesAreRejected()
{
    QFETCH(QByteArray, frameHex);
    QVERIFY(!isFrameIntact(QByteArray::fromHex(frameHex)));
}

QTEST_GUILESS_MAIN(tst_Frame)
#include "tst_frame.moc"
