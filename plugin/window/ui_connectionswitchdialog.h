#pragma once

class QDialog;
class QGridLayout;
class QPushButton;

namespace BravoSensorPlugin {
namespace Core {

// The form of the dialog that asks in which direction the settings go.
class Ui_connectionSwitchingDialog
{
public:
    QGridLayout *gridLayout = nullptr;
    QPushButton *pcToSensor = nullptr;
    QPushButton *sensorToPc = nullptr;
    QPushButton *cancel = nullptr;

    void setupUi(QDialog *connectionSwitchingDialog);
    // Captions in the translation context "connectionSwitchingDialog".
    void retranslateUi(QDialog *connectionSwitchingDialog);
};

} // namespace Core
} // namespace BravoSensorPlugin
