#include <window/connectionswitchdialog.h>

#include <QPushButton>
#include <QtTest>

using BravoSensorPlugin::Core::ConnectionSwitchDialog;

class tst_ConnectionSwitchDialog : public QObject
{
    Q_OBJECT

private slots:
    void resultIsTheChosenDirection_data();
    void resultIsTheChosenDirection();
};

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
