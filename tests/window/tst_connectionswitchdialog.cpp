#include <window/connectionswitchdialog.h>

#include <QPushButton>
#include <QtTest>

using BravoSensorPlugin::Core::ConnectionSwitchDialog;

class tst_ConnectionSwitchDialog : public QObject
{
    Q_OBJECT

private slots:
    void isAFramelessDialogWithThreeChoices();
    void resultIsTheChosenDirection_data();
    void resultIsTheChosenDirection();
};

void tst_ConnectionSwitchDialog::isAFramelessDialogWithThreeChoices()
{
    ConnectionSwitchDialog dialog;
    QCOMPARE(dialog.parent(), nullptr);
    QCOMPARE(int(dialog.windowFlags() & Qt::WindowType_Mask), 15);
    QCOMPARE(dialog.objectName(), QStringLiteral("connectionSwitchingDialog"));
    QCOMPARE(dialog.size(), QSize(225, 120));
    QCOMPARE(dialog.result(), 0);
    QStringList captions;
    for (const char *name : {"pcToSensor", "sensorToPc", "cancel"}) {
        auto *button = dialog.findChild<QPushButton *>(QLatin1String(name));
        QVERIFY(button);
        QVERIFY(!button->icon().isNull());
        captions << button->text();
    }
    QCOMPARE(captions, QStringList({"PC -> Sensor", "Sensor -> PC", "Cancel"}));
}

void tst_ConnectionSwitchDialog::resultIsTheChosenDirection_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");
    QTest::newRow("PC -> Sensor") << "pcToSensor" << int(ConnectionSwitchDialog::PcToSensor);
    QTest::newRow("Sensor -> PC") << "sensorToPc" << int(ConnectionSwitchDialog::SensorToPc);
    QTest::newRow("Cancel") << "cancel" << int(ConnectionSwitchDialog::Cancelled);
    QTest::newRow("Escape") << QString() << int(ConnectionSwitchDialog::Cancelled);
}

void tst_ConnectionSwitchDialog::resultIsTheChosenDirection()
{
    QFETCH(QString, button);
    QFETCH(int, result);
    ConnectionSwitchDialog dialog;
    dialog.show();
    if (button.isEmpty())
        QTest::keyClick(&dialog, Qt::Key_Escape);
    else
        dialog.findChild<QPushButton *>(button)->click();
    // exec() returns this result once the dialog has closed.
    QCOMPARE(dialog.result(), result);
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(tst_ConnectionSwitchDialog)
#include "tst_connectionswitchdialog.moc"
