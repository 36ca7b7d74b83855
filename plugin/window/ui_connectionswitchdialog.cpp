#include "ui_connectionswitchdialog.h"

#include <QCoreApplication>
#include <QDialog>
#include <QGridLayout>
#include <QIcon>
#include <QPushButton>

namespace BravoSensorPlugin {
namespace Core {

namespace {

QPushButton *addButton(QDialog *dialog, QGridLayout *layout, const char *objectName,
                       const char *icon, int row)
{
    auto *button = new QPushButton(dialog);
    button->setObjectName(QLatin1String(objectName));
    button->setMinimumSize(QSize(0, 30));
    button->setMaximumSize(QSize(150, QWIDGETSIZE_MAX));
    QIcon buttonIcon;
    buttonIcon.addFile(QLatin1String(icon), QSize(), QIcon::Normal, QIcon::Off);
    button->setIcon(buttonIcon);
    button->setFlat(false);
    layout->addWidget(button, row, 0);
    return button;
}

} // namespace

void Ui_connectionSwitchingDialog::setupUi(QDialog *connectionSwitchingDialog)
{
    if (connectionSwitchingDialog->objectName().isEmpty())
        connectionSwitchingDialog->setObjectName(QStringLiteral("connectionSwitchingDialog"));
    connectionSwitchingDialog->resize(225, 120);
    connectionSwitchingDialog->setMinimumSize(QSize(101, 0));
    connectionSwitchingDialog->setMaximumSize(QSize(300, 200));
    connectionSwitchingDialog->setStyleSheet(QStringLiteral(
        "QWidget#connectionSwitchingDialog {\n"
        "    border: 1px solid gray;\n"
        "    border-style: outset;\n"
        "    border-radius: 3px;\n"
        "    padding: 1px 18px 1px 3px;\n"
        "    min-width: 6em;\n"
        "    background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #E1E1E1, "
        "stop: 0.4 #DDDDDD, stop: 0.5 #D8D8D8, stop: 1.0 #D3D3D3);\n"
        "}\n"
        "QPushButton {\n"
        "    border-image: url(:/newPrefix/icons/button.svg);\n"
        "}\n"));
    gridLayout = new QGridLayout(connectionSwitchingDialog);
    gridLayout->setObjectName(QStringLiteral("gridLayout"));
    pcToSensor = addButton(connectionSwitchingDialog, gridLayout, "pcToSensor",
                           ":/newPrefix/icons/connect_sensor_pc.svg", 0);
    sensorToPc = addButton(connectionSwitchingDialog, gridLayout, "sensorToPc",
                           ":/newPrefix/icons/connect_yes.svg", 1);
    cancel = addButton(connectionSwitchingDialog, gridLayout, "cancel",
                       ":/newPrefix/icons/edit_delete_all.svg", 2);
    retranslateUi(connectionSwitchingDialog);
}

void Ui_connectionSwitchingDialog::retranslateUi(QDialog *connectionSwitchingDialog)
{
    connectionSwitchingDialog->setWindowTitle(
        QCoreApplication::translate("connectionSwitchingDialog", "Dialog"));
    pcToSensor->setToolTip(QCoreApplication::translate(
        "connectionSwitchingDialog", "Sensor settings will be overwritten with the ones from PC"));
    pcToSensor->setStatusTip(QString());
    pcToSensor->setAccessibleDescription(QString());
    pcToSensor->setText(QCoreApplication::translate("connectionSwitchingDialog", "PC -> Sensor"));
    sensorToPc->setToolTip(QCoreApplication::translate(
        "connectionSwitchingDialog",
        "PC settings will be overwritten with the ones from the Sensor"));
    sensorToPc->setText(QCoreApplication::translate("connectionSwitchingDialog", "Sensor -> PC"));
    cancel->setText(QCoreApplication::translate("connectionSwitchingDialog", "Cancel"));
}

} // namespace Core
} // namespace BravoSensorPlugin
