#pragma once

#include <QDialog>

#include <memory>

namespace BravoSensorPlugin {
namespace Core {

class Ui_connectionSwitchingDialog;

// Asks in which direction the settings go when a port is chosen. The result is
// PcToSensor, SensorToPc or Cancelled (also for Escape).
class ConnectionSwitchDialog : public QDialog
{
    Q_OBJECT
public:
    enum Result { Cancelled = 0, SensorToPc = 1, PcToSensor = 2 };

    ConnectionSwitchDialog();
    ~ConnectionSwitchDialog() override;

protected slots:
    virtual void vPcToSensor();
    virtual void vSensorToPc();
    virtual void vCancel();

private:
    void finish(Result result);

    std::unique_ptr<Ui_connectionSwitchingDialog> ui;
};

} // namespace Core
} // namespace BravoSensorPlugin
