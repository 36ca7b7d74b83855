#include "sensorwindow.h"

#include "propertyvalues.h"
#include "sensorwindowdata.h"
#include "ui_sensorwindow.h"

#include <propertybrowser/qtproperty.h>

#include <QLabel>
#include <QStatusBar>

namespace BravoSensorPlugin {
namespace Core {

QStringList SensorWindow::unconfirmedParameterIds() const
{
    return confirmations.unconfirmedIds();
}

QStringList SensorWindow::unconfirmedParameterReport() const
{
    QStringList lines;
    const QStringList ids = confirmations.unconfirmedIds();
    for (const QString &id : ids)
        lines << id + QLatin1String(" (") + confirmations.reason(id) + QLatin1Char(')');
    return lines;
}

// Values of parameters only: buttons and groups hold nothing the sensor could confirm.
void SensorWindow::trackConfirmations()
{
    QStringList ids;
    for (auto address = parameterAddresses.cbegin(); address != parameterAddresses.cend();
         ++address) {
        if (holdsValue(propertyKind(findProperty(data->rootProperty, address.key().toLatin1()))))
            ids << address.key();
    }
    confirmations.track(ids);
    unwrittenLabel = new QLabel(this);
    unwrittenLabel->setObjectName(QStringLiteral("unwrittenChanges"));
    ui->statusBar->addPermanentWidget(unwrittenLabel, 0);
    showConfirmations();
}

void SensorWindow::confirmValue(const QString &id)
{
    confirmations.confirm(id);
    showConfirmation(id);
}

void SensorWindow::markValuePending(const QString &id)
{
    confirmations.markPending(id);
    showConfirmation(id);
}

void SensorWindow::markValueRefused(QtProperty *property)
{
    confirmations.markRefused(property->propertyId());
    showConfirmation(property->propertyId());
    ui->statusBar->showMessage(
        tr("The sensor refused the value of %1").arg(property->propertyName()));
}

void SensorWindow::markValuesOffline()
{
    confirmations.sensorLost(QTime::currentTime());
    showConfirmations();
}

void SensorWindow::showConfirmation(const QString &id)
{
    if (QtProperty *property = findProperty(data->rootProperty, id.toLatin1()))
        property->setValueNote(confirmations.reason(id));
    if (!unwrittenLabel)
        return;
    const int unwritten = confirmations.pendingCount();
    unwrittenLabel->setText(
        unwritten > 0 ? tr("%1 changes not written to the sensor").arg(unwritten) : QString());
    unwrittenLabel->setVisible(unwritten > 0);
}

void SensorWindow::showConfirmations()
{
    const QList<QtProperty *> properties = allSubProperties(data->rootProperty);
    for (QtProperty *property : properties)
        property->setValueNote(confirmations.reason(property->propertyId()));
    showConfirmation(QString());
}

} // namespace Core
} // namespace BravoSensorPlugin
