#include "sensorwindow.h"

#include "sensorwindowdata.h"
#include "sharedicon.h"
#include "ui_sensorwindow.h"

#include <QAction>
#include <QIcon>
#include <QToolBar>

namespace BravoSensorPlugin {
namespace Core {

// Polling goes on whatever the switch says; the flag only decides whether answers are shown.
void SensorWindow::actionEnableLiveData()
{
    data->liveDataEnabled = ui->actionEnable_live_data->isChecked();
    if (data->connection)
        data->pollTimer.start();
}

void SensorWindow::updateChart()
{
    if (sensorConnected)
        ui->chartToolbar->setEnabled(true);
}

void SensorWindow::signalWriteModeIcon(bool signalIcon)
{
    if (!signalIcon) {
        ui->actionWriting->setIcon(sharedIcon(QStringLiteral(":/icons/icons/schreiben.svg")));
        return;
    }
    ui->actionWriting->setIcon(sharedIcon(QStringLiteral(":/icons/icons/schreiben2cerc.svg")));
    data->writeModeIconTimer.start();
}

} // namespace Core
} // namespace BravoSensorPlugin
