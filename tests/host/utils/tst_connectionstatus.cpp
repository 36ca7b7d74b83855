#include <utils/connectionstatus.h>

#include <QtTest>

using Utils::ConnectionStatus;

class tst_ConnectionStatus : public QObject
{
    Q_OBJECT

private slots:
    void lampAndTextShowTheStateWithoutChangingSize_data();
    void lampAndTextShowTheStateWithoutChangingSize();
};

void tst_ConnectionStatus::lampAndTextShowTheStateWithoutChangingSize_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QString>("text");
    QTest::newRow("connected: green lamp") << true << QStringLiteral("Connected");
    QTest::newRow("disconnected: red lamp") << false << QStringLiteral("Disconnected");
}

void tst_ConnectionStatus::lampAndTextShowTheStateWithoutChangingSize()
{
    QFETCH(bool, connected);
    QFETCH(QString, text);
    ConnectionStatus status;
    status.setConnected(!connected);
    const QSize before = status.sizeHint();
    status.setConnected(connected);
    QCOMPARE(status.sizeHint(), before);
    QVERIFY(before.width()
            > status.fontMetrics().horizontalAdvance(QStringLiteral("Disconnected")));
    status.resize(status.sizeHint());
    QCOMPARE(status.isConnected(), connected);
    QCOMPARE(status.text(), text);
    QCOMPARE(status.toolTip(), text);

    const QImage image = status.grab().toImage();
    const int lamp = status.fontMetrics().height() - 2;
    const QColor centre = image.pixelColor(4 + lamp / 2, image.height() / 2);
    if (connected)
        QVERIFY2(centre.green() > centre.red() + 40, qPrintable(centre.name()));
    else
        QVERIFY2(centre.red() > centre.green() + 40, qPrintable(centre.name()));
}

QTEST_MAIN(tst_ConnectionStatus)
#include "tst_connectionstatus.moc"
