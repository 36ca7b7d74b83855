#include "sensorwindow.h"

#include "sensorwindowdata.h"
#include "ui_sensorwindow.h"

#include <qtproperty.h>

#include <QComboBox>
#include <QStatusBar>

namespace BravoSensorPlugin {
namespace Core {

void SensorWindow::updateComPortList(QStringList ports)
{
    QComboBox *combo = data->portCombo;
    const QString selected = combo->currentText();
    combo->clear();
    insertOfflineItem();
    combo->insertSeparator(1);
    combo->insertItems(2, ports);
    // An empty text would find the separator; a vanished port leaves no item selected.
    const int index = selected.isEmpty() ? -1 : combo->findText(selected, Qt::MatchExactly | Qt::MatchCaseSensitive);
    combo->setCurrentIndex(index);
}

void SensorWindow::updateWindowTitle()
{
    const QString title = QString::fromStdString(sensor.name()) + QLatin1String(" (")
                          + data->portCombo->currentText() + QLatin1Char(')');
    setWindowTitle(title);
    if (data->rootProperty)
        data->rootProperty->setPropertyName(title);
    ui->statusBar->showMessage(title);
}

void SensorWindow::vConnectToPort(QString port)
{
    emit vComPortSelected(port);
}

void SensorWindow::vDisconnect()
{
}

bool SensorWindow::bConnectToSensor()
{
    return false;
}

void SensorWindow::vAutoConnect(QString)
{
}

void SensorWindow::slotContinousDataTimeout()
{
}

void SensorWindow::actionConnectSensor(int)
{
}

} // namespace Core
} // namespace BravoSensorPlugin
