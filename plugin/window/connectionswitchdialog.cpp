#include "connectionswitchdialog.h"

#include "ui_connectionswitchdialog.h"

#include <QPushButton>

namespace BravoSensorPlugin {
namespace Core {

ConnectionSwitchDialog::ConnectionSwitchDialog()
    : QDialog(nullptr, Qt::SplashScreen)
    , ui(std::make_unique<Ui_connectionSwitchingDialog>())
{
    ui->setupUi(this);
    connect(ui->pcToSensor, &QPushButton::clicked, this, &ConnectionSwitchDialog::vPcToSensor);
    connect(ui->sensorToPc, &QPushButton::clicked, this, &ConnectionSwitchDialog::vSensorToPc);
    connect(ui->cancel, &QPushButton::clicked, this, &ConnectionSwitchDialog::vCancel);
}

ConnectionSwitchDialog::~ConnectionSwitchDialog() = default;

void ConnectionSwitchDialog::vPcToSensor()
{
    finish(PcToSensor);
}

void ConnectionSwitchDialog::vSensorToPc()
{
    finish(SensorToPc);
}

void ConnectionSwitchDialog::vCancel()
{
    finish(Cancelled);
}

// accept() ends exec(); the result set right after it is what exec() returns.
void ConnectionSwitchDialog::finish(Result result)
{
    accept();
    setResult(result);
}

} // namespace Core
} // namespace BravoSensorPlugin
