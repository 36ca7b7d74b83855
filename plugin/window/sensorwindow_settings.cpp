#include "sensorwindow.h"

#include "editsmuted.h"
#include "propertyvalues.h"
#include "sensorwindowdata.h"
#include "sequenceguard.h"
#include "ui_sensorwindow.h"

#include <model/descriptionformat.h>
#include <model/parameterids.h>
#include <model/settingscheck.h>
#include <model/settingsdocument.h>

#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qtpropertymanager.h>
#include <utils/genericchart.h>
#include <utils/historytext.h>
#include <utils/valueovertime.h>

#include <QAction>
#include <QDate>
#include <QFileDialog>
#include <QMessageBox>
#include <QToolBar>

#include <boost/property_tree/ptree.hpp>

#include <array>

namespace BravoSensorPlugin {
namespace Core {

namespace {

// An empty text is an empty history: what a window saves before anything was recorded.
bool decodeHistory(const std::string &text, Utils::ValueOverTime &history)
{
    return text.empty() || Utils::Charts::historyFromText(text, ';', history);
}

SettingsCheck decodeHistories(SettingsCheck check, std::array<Utils::ValueOverTime, 2> &histories)
{
    if (check.problem != SettingsProblem::None)
        return check;
    if (!decodeHistory(check.settings.history0, histories[0]))
        check.where = QStringLiteral("chartdata");
    else if (!decodeHistory(check.settings.history1, histories[1]))
        check.where = QStringLiteral("chartdata1");
    if (!check.where.isEmpty())
        check.problem = SettingsProblem::DamagedHistory;
    return check;
}

QString problemDetail(const SettingsCheck &check, const QString &fileName)
{
    switch (check.problem) {
    case SettingsProblem::Missing:
        return SensorWindow::tr("The file %1 does not exist.").arg(fileName);
    case SettingsProblem::Unreadable:
        return SensorWindow::tr("The file %1 cannot be read.").arg(fileName);
    case SettingsProblem::NotXml:
        return SensorWindow::tr("The file %1 is not XML.").arg(fileName);
    case SettingsProblem::NoRoot:
        return SensorWindow::tr("The file has no element \"root\".");
    case SettingsProblem::MissingElement:
        return SensorWindow::tr("The element \"%1\" is missing.").arg(check.where);
    case SettingsProblem::NotANumber:
        return SensorWindow::tr("The value \"%2\" of %1 is not a number of its kind.")
            .arg(check.where, check.value);
    case SettingsProblem::OutOfRange:
        return SensorWindow::tr("The value %2 of %1 is out of range (%3 to %4).")
            .arg(check.where, check.value)
            .arg(check.minimum)
            .arg(check.maximum);
    case SettingsProblem::DamagedHistory:
        return SensorWindow::tr("The chart history \"%1\" is damaged.").arg(check.where);
    case SettingsProblem::ForeignFile:
    case SettingsProblem::None:
        break;
    }
    return QString();
}

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
        if (const std::optional<QString> text = settingsText(property, itemTexts.value(id)))
            entries.append({id, *text});
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
    if (fileName.isEmpty()) {
        QFileDialog dialog(this);
        dialog.setNameFilter(tr("Sensor Settings (*.tgs)"));
        if (dialog.exec() != QDialog::Accepted)
            return false;
        fileName = dialog.selectedFiles().value(0);
    }
    if (sensorConnected
        && QMessageBox::information(this, tr("Open Settings"),
                                    tr("Loaded settings will override the current project"),
                                    QMessageBox::Ok | QMessageBox::Cancel)
               != QMessageBox::Ok)
        return false;

    // Nothing is taken from a file, and nothing written, before all of it has checked out.
    std::array<Utils::ValueOverTime, 2> histories;
    const int shownUnits = enumPropertyValue(ParameterIds::temperatureSettings, data->unitIndex);
    const SettingsCheck check = decodeHistories(checkSettings(readSettingsFile(fileName),
                                                              QString::fromStdString(sensor.name()),
                                                              settingsRules(), shownUnits),
                                                histories);
    if (check.problem != SettingsProblem::None) {
        QMessageBox box(QMessageBox::Critical, tr("Opening settings..."),
                        check.problem == SettingsProblem::ForeignFile
                            ? tr("The selected settings are not for the current sensor")
                            : tr("The selected settings are corupted"),
                        QMessageBox::Ok, this);
        box.setInformativeText(problemDetail(check, fileName));
        box.exec();
        return false;
    }
    {
        const EditsMuted muted(*this);
        applyCheckedSettings(check.settings, histories);
    }
    writeLoadedSettings();
    if (sequence.stopped())
        return true;
    // The marks, scales and groups follow the file's units and outputs.
    applyUnitsAndOutputs(QString());
    return true;
}

QList<ParameterRule> SensorWindow::settingsRules() const
{
    const auto nodes = descriptionTree->get_child_optional(DescriptionFormat::parameterNodesPath);
    QList<ParameterRule> rules = nodes ? parameterRules(*nodes) : QList<ParameterRule>();
    // The window's pressure points follow the sensor's range, not the description's.
    for (ParameterRule &rule : rules) {
        if (rule.quantity == Quantity::Pressure) {
            rule.minimum = data->pressureRangeMin;
            rule.maximum = data->pressureRangeMax;
        }
    }
    return rules;
}

void SensorWindow::applyCheckedSettings(const CheckedSettings &settings,
                                        std::array<Utils::ValueOverTime, 2> &histories)
{
    data->liveDataEnabled = false;
    if (data->connection)
        data->pollTimer.start();
    for (const CheckedValue &value : settings.values) {
        QtProperty *property = findProperty(data->rootProperty, value.id.toLatin1());
        // Only the sensor sets what it reports (operating hours...): a file's is never written.
        if (!property || isReadOnlyParameter(property))
            continue;
        applySettingsValue(property, value);
    }
    for (int plot = 0; plot < 2; ++plot) {
        data->chart->setData(plot, std::move(histories[std::size_t(plot)]));
        ui->chartToolbar->setEnabled(true);
    }
}

// A connected sensor gets the file's values, in the unit the file brought.
void SensorWindow::writeLoadedSettings()
{
    QtProperty *units = findProperty(data->rootProperty, ParameterIds::temperatureSettings);
    previousUnitIndex = units ? data->enumManager->value(units) : 0;
    if (!sensorConnected)
        return;
    data->unitIndex = previousUnitIndex;
    // At most a result fetch, the write and a process-data frame a parameter.
    startUpdateDialog(3 * parameterAddresses.size());
    const SequenceGuard sequence(this, sequences);
    bulkWriteActive = true;
    writeAllSettings();
    if (sequence.stopped())
        return;
    bulkWriteActive = false;
    endUpdateDialog();
    ui->sensorOperationsToolbar->setEnabled(true);
}

void SensorWindow::vLoadSettings()
{
    if (deferredWhileBusy({tr("Open Settings"), false, [this] { vLoadSettings(); }}))
        return;
    const SequenceGuard sequence(this, sequences);
    QAction *liveData = ui->actionEnable_live_data;
    const bool wasLive = liveData->isChecked();
    if (sensorConnected) {
        data->watchdogTimer.stop();
        liveData->setChecked(false);
    }
    bOpenSettings();
    if (sequence.stopped())
        return;
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
