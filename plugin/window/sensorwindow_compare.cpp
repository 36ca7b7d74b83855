#include "sensorwindow.h"

#include "comparedialog.h"
#include "propertyvalues.h"
#include "sensorwindowdata.h"
#include "sharedicon.h"
#include "storagemanager.h"
#include "ui_sensorwindow.h"

#include <model/settingscompare.h>
#include <model/settingsdocument.h>
#include <model/valuerules.h>

#include <propertybrowser/qtproperty.h>

#include <QAction>
#include <QFileDialog>
#include <QHash>
#include <QLocale>
#include <QMessageBox>
#include <QToolBar>

namespace BravoSensorPlugin {
namespace Core {

namespace {

// " (bar)" -> "bar"
QString bareUnit(const QString &label)
{
    QString unit = label.trimmed();
    unit.remove(QLatin1Char('(')).remove(QLatin1Char(')'));
    return unit;
}

} // namespace

void SensorWindow::createCompareAction()
{
    compareAction = new QAction(sharedIcon(QStringLiteral(":/newPrefix/icons/file_compare.svg")),
                                QString(), this);
    compareAction->setObjectName(QStringLiteral("actionCompare_Settings"));
    retranslateCompareAction();
    // Beside Save, before the separator that follows it.
    const QList<QAction *> fileActions = ui->fileToolBar->actions();
    ui->fileToolBar->insertAction(
        fileActions.value(fileActions.indexOf(ui->actionSave_Settings) + 1), compareAction);
    connect(compareAction, &QAction::triggered, this, &SensorWindow::vCompareSettings);
}

void SensorWindow::retranslateCompareAction()
{
    compareAction->setText(tr("Compare with settings file..."));
}

// Nothing when the file cannot be read, is not a settings file of this sensor, or holds no
// parameters.
std::optional<QList<ParameterDifference>>
SensorWindow::differencesFrom(const QString &fileName) const
{
    const SettingsReadResult read = readSettingsFile(fileName);
    const SettingsDocument &document = read.document;
    if (read.error != SettingsReadError::None
        || document.pluginId != QString::fromLatin1(settingsPluginId)
        || document.sensorId != QString::fromStdString(sensor.name()) || !document.parameterText) {
        return std::nullopt;
    }
    QList<StoredParameter> window;
    const QList<ParameterEntry> entries = parseParameterText(settingsParameterText());
    for (const ParameterEntry &entry : entries) {
        const QtProperty *property = findProperty(data->rootProperty, entry.id.toLatin1());
        const ParameterKind kind = propertyKind(property);
        const int decimals = storageOf(kind) == ValueStorage::Decimal
                                 ? managerOf<ValueStorage::Decimal>(property)->decimals(property)
                                 : 0;
        // While a sensor is connected the comparison is with it, so say what it has not confirmed.
        const QString unconfirmed = sensorConnected ? confirmations.reason(entry.id) : QString();
        window.append({entry.id, kind, entry.value, decimals, unconfirmed});
    }
    return compareParameters(window, parseParameterText(*document.parameterText));
}

int SensorWindow::compareSettingsFile(const QString &fileName, QStringList *differences)
{
    // The comparison is meant with the sensor itself, not with what the window last heard of it.
    if (sensorConnected)
        vRadAllSettings(false);
    const std::optional<QList<ParameterDifference>> found = differencesFrom(fileName);
    if (!found)
        return -1;
    if (differences) {
        for (const ParameterDifference &difference : *found)
            differences->append(differenceLine(difference));
    }
    return found->size();
}

void SensorWindow::vCompareSettings()
{
    const QString fileName = QFileDialog::getOpenFileName(this, tr("Compare with settings file"),
                                                          QString(), tr("Sensor Settings (*.tgs)"));
    if (fileName.isEmpty())
        return;
    const std::optional<QList<ParameterDifference>> found = differencesFrom(fileName);
    if (!found) {
        QMessageBox::critical(
            this, tr("Compare with settings file"),
            tr("The selected settings are not for the current sensor or are corupted"),
            QMessageBox::Ok);
        return;
    }

    QHash<const QtProperty *, QtProperty *> parents;
    const QList<QtProperty *> properties = allSubProperties(data->rootProperty);
    for (QtProperty *property : properties) {
        const QList<QtProperty *> children = property->subProperties();
        for (const QtProperty *child : children)
            parents.insert(child, property);
    }
    QList<CompareRow> rows;
    for (const ParameterDifference &difference : *found) {
        QtProperty *property = findProperty(data->rootProperty, difference.id.toLatin1());
        CompareRow row{{},
                       property->propertyName(),
                       shownValue(difference.id, difference.fileValue),
                       shownValue(difference.id, difference.windowValue),
                       difference.unconfirmed};
        for (QtProperty *group = parents.value(property); group; group = parents.value(group))
            row.groups.prepend(group->propertyName());
        rows.append(row);
    }
    CompareDialog dialog(fileName, rows, this);
    dialog.exec();
}

QString SensorWindow::shownValue(const QString &id, const QString &storedValue) const
{
    const QtProperty *property = findProperty(data->rootProperty, id.toLatin1());
    switch (propertyStorage(property)) {
    case ValueStorage::Choice:
        return managerOf<ValueStorage::Choice>(property)->enumNames(property).value(
            parameterInt(storedValue), storedValue);
    case ValueStorage::Truth:
        return parameterInt(storedValue) != 0 ? tr("on") : tr("off");
    case ValueStorage::Decimal: {
        const QString unit = isPressureId(id) ? bareUnit(pressureUnitLabel(data->unitIndex))
                             : id.contains(QLatin1String("Temp"))
                                 ? bareUnit(temperatureUnitLabel(data->unitIndex))
                                 : QString();
        const QString number
            = QLocale().toString(parameterDouble(storedValue), 'f',
                                 managerOf<ValueStorage::Decimal>(property)->decimals(property));
        return unit.isEmpty() ? number : number + QLatin1Char(' ') + unit;
    }
    case ValueStorage::None:
    case ValueStorage::Whole:
    case ValueStorage::Button:
    case ValueStorage::Text:
        break;
    }
    return storedValue;
}

} // namespace Core
} // namespace BravoSensorPlugin
