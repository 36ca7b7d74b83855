#include "sensorwindow.h"

#include "propertyvalues.h"
#include "sensorwindowdata.h"
#include "sequenceguard.h"
#include "ui_sensorwindow.h"

#include <model/settingsdocument.h>

#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qtpropertymanager.h>
#include <utils/genericchart.h>

#include <QAction>
#include <QDate>
#include <QFileDialog>
#include <QMessageBox>
#include <QToolBar>

namespace BravoSensorPlugin {
namespace Core {

namespace {

// Doubles are widened before a stored value is applied, so that none is clamped.
constexpr double loadedDoubleMinimum = -100000.0;
constexpr double loadedDoubleMaximum = 1000000.0;

} // namespace

void SensorWindow::vSaveSettings()
{
    const QString proposed = QString::fromStdString(sensor.name()) + QStringLiteral("-settings-")
                             + QDate::currentDate().toString(QStringLiteral("dd-MM-yyyy"))
                             + QStringLiteral(".tgs");
    const QString fileName
        = QFileDialog::getSaveFileName(this, tr("Save As..."), proposed, QStringLiteral("*.tgs"));
    if (!fileName.isEmpty())
        saveSettingsFile(fileName);
}

bool SensorWindow::saveSettingsFile(const QString &fileName)
{
    SettingsDocument document;
    document.pluginId = QString::fromLatin1(settingsPluginId);
    document.sensorId = QString::fromStdString(sensor.name());
    document.hasPluginSettings = true;
    document.parameterText = settingsParameterText();
    document.chartData0 = data->chart->dataToString(0);
    document.chartData1 = data->chart->dataToString(1);
    return writeWholeFile(fileName, writeSettingsDocument(document));
}

QString SensorWindow::settingsParameterText() const
{
    QList<ParameterEntry> entries;
    const QList<QtProperty *> properties = allSubProperties(data->rootProperty);
    for (QtProperty *property : properties) {
        const QString id = property->propertyId();
        const QVariant value = numericValue(property);
        switch (propertyKind(property)) {
        case PropertyKind::Bool:
            entries.append({id, QString::number(value.toBool() ? 1 : 0)});
            break;
        case PropertyKind::Int:
        case PropertyKind::Enumeration:
            entries.append({id, QString::number(value.toInt())});
            break;
        case PropertyKind::Double:
            entries.append({id, QString::number(value.toDouble(), 'f', 6)});
            break;
        case PropertyKind::String: {
            const auto texts = itemTexts.constFind(id);
            const int number = texts == itemTexts.cend()
                                   ? -1
                                   : texts->indexOf(data->stringManager->value(property));
            entries.append({id, QString::number(number)});
            break;
        }
        case PropertyKind::Other:
            break;
        }
    }
    return parameterText(entries);
}

bool SensorWindow::bOpenSettings(QString fileName)
{
    const SequenceGuard sequence(this, sequences);
    if (sequence.refused())
        return false;
    writePendingEdits();
    if (sequence.stopped())
        return false;
    bool complete = true;
    if (fileName.isEmpty()) {
        QFileDialog dialog(this);
        dialog.setNameFilter(tr("Sensor Settings (*.tgs)"));
        if (dialog.exec() != QDialog::Accepted)
            return false;
        const QStringList selected = dialog.selectedFiles();
        complete = !selected.isEmpty();
        fileName = selected.value(0);
    }
    if (sensorConnected
        && QMessageBox::information(this, tr("Open Settings"),
                                    tr("Loaded settings will override the current project"),
                                    QMessageBox::Ok | QMessageBox::Cancel)
               != QMessageBox::Ok)
        return false;

    const SettingsReadResult read = readSettingsFile(fileName);
    const auto refuse = [this](const QString &text) {
        QMessageBox::critical(this, tr("Opening settings..."), text, QMessageBox::Ok);
    };
    if (read.error == SettingsReadError::NoRoot) {
        refuse(tr("The selected settings are corupted"));
        return false;
    }
    if (read.error == SettingsReadError::Unreadable) {
        refuse(tr("The selected settings are corupted"));
        complete = false;
    } else {
        const SettingsDocument &document = read.document;
        if (document.pluginId != QString::fromLatin1(settingsPluginId)
            || document.sensorId != QString::fromStdString(sensor.name())) {
            refuse(tr("The selected settings are not for the current sensor"));
            return false;
        }
        enableTreeDataHandling(false);
        complete = applySettingsDocument(document) && complete;
    }
    writeLoadedSettings();
    return complete;
}

bool SensorWindow::applySettingsDocument(const SettingsDocument &document)
{
    if (!document.hasPluginSettings)
        return false;
    data->liveDataEnabled = false;
    if (data->connection)
        data->pollTimer.start();

    if (document.parameterText)
        applyParameterEntries(parseParameterText(*document.parameterText));
    bool complete = document.parameterText.has_value();
    const std::optional<std::string> *histories[] = {&document.chartData0, &document.chartData1};
    for (int plot = 0; plot < 2; ++plot) {
        const std::optional<std::string> &history = *histories[plot];
        if (!history) {
            complete = false;
            continue;
        }
        data->chart->clear(plot);
        complete = data->chart->setDataFromString(plot, *history, ';') && complete;
        ui->chartToolbar->setEnabled(true);
    }
    return complete;
}

void SensorWindow::applyParameterEntries(const QList<ParameterEntry> &entries)
{
    for (const ParameterEntry &entry : entries) {
        QtProperty *property = findProperty(data->rootProperty, entry.id.toLatin1());
        if (!property)
            continue;
        switch (propertyKind(property)) {
        case PropertyKind::Enumeration:
            data->enumManager->setValue(property, parameterInt(entry.value));
            break;
        case PropertyKind::Bool:
            data->boolManager->setValue(property, parameterInt(entry.value) != 0);
            break;
        case PropertyKind::Int:
            data->intManager->setValue(property, parameterInt(entry.value));
            break;
        case PropertyKind::Double:
            data->doubleManager->setRange(property, loadedDoubleMinimum, loadedDoubleMaximum);
            data->doubleManager->setValue(property, parameterDouble(entry.value));
            break;
        case PropertyKind::String:
        case PropertyKind::Other:
            break;
        }
    }
}

// Whatever the file gave, a connected sensor gets the window's values, in the unit the tree shows.
void SensorWindow::writeLoadedSettings()
{
    enableTreeDataHandling(true);
    QtProperty *units = findProperty(data->rootProperty, "TemperatureSettings");
    previousUnitIndex = units ? data->enumManager->value(units) : 0;
    if (!sensorConnected)
        return;
    data->unitIndex = previousUnitIndex;
    data->progressMaximum = 230;
    data->showTransferUi = true;
    vShowUpdateDialog(true);
    bulkWriteActive = true;
    writeAllSettings();
    bulkWriteActive = false;
    ui->sensorOperationsToolbar->setEnabled(true);
    enableTreeDataHandling(true);
}

void SensorWindow::vLoadSettings()
{
    if (deferredWhileBusy({tr("Open Settings"), false, [this] { vLoadSettings(); }}))
        return;
    QAction *liveData = ui->actionEnable_live_data;
    const bool wasLive = liveData->isChecked();
    if (sensorConnected) {
        data->watchdogTimer.stop();
        liveData->setChecked(false);
    }
    bOpenSettings();
    applyUnitsAndOutputs(QString());
    if (sensorConnected) {
        data->liveDataEnabled = wasLive;
        liveData->setChecked(wasLive);
        bCheckSensorIdentity();
    }
    data->chart->jumpToPlottingArea();
}

} // namespace Core
} // namespace BravoSensorPlugin
