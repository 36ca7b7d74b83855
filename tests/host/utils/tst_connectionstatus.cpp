#include <utils/connectionstatus.h>

#include <QtTest>

using Utils::ConnectionStatus;

class tst_ConnectionStatus : public QObject
{
    Q_OBJECT

private slots:
    void lampAndTextShowTheState_data();
    void lampAndTextShowTheState();
    void sizeDoesNotJumpBetweenStates();
};

void tst_ConnectionStatus::lampAndTextShowTheState_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QString>("text");
    QTest::newRow("connected: green lamp") << true << QStringLiteral("Connected");
    QTest::newRow("disconnected: red lamp") << false << QStringLiteral("Disconnected");
}

void tst_ConnectionStatus::lampAndTextShowTheState()
{
    QFETCH(bool, connected);
    QFETCH(QString, text);
    ConnectionStatus status;
    status.setConnected(!connected);
    status.setConnected(connected);
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

void tst_ConnectionStatus::sizeDoesNotJumpBetweenStates()
{
    ConnectionStatus status;
    const QSize disconnected = status.sizeHint();
    status.setConnected(true);
    QCOMPARE(status.sizeHint(), disconnected);
    QVERIFY(disconnected.width()
            > status.fontMetrics().horizontalAdvance(QStringLiteral("Disconnected")));
}

QTEST_MAIN(tst_ConnectionStatus)
#include "tst_connectionstatus.moc"
