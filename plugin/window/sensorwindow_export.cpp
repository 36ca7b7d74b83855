#include "sensorwindow.h"

#include "sensorwindowdata.h"
#include "ui_sensorwindow.h"

#include <model/valuerules.h>
#include <utils/csvexport.h>
#include <utils/exportdialog.h>
#include <utils/genericchart.h>
#include <utils/plotdocument.h>

#include <QMessageBox>
#include <QStatusBar>
#include <QToolBar>

namespace BravoSensorPlugin {
namespace Core {

QList<const Utils::ValueOverTime *> SensorWindow::exportSeries() const
{
    return {data->chart->getData(pressurePlot), data->chart->getData(temperaturePlot)};
}

QList<QString> SensorWindow::exportColumnNames() const
{
    // The series hold what the plots show, in the display units.
    return {tr("Time"), tr("Pressure") + pressureUnitLabel(data->unitIndex),
            tr("Temperature") + temperatureUnitLabel(data->unitIndex)};
}

void SensorWindow::vExportChartData()
{
    QList<const Utils::ValueOverTime *> series = exportSeries();
    QList<QString> names = exportColumnNames();
    Utils::ExportDialog dialog(&series, &names, this,
                               Qt::WindowTitleHint | Qt::WindowSystemMenuHint);
    dialog.setPrecision(exportPrecision);
    dialog.exec();
}

bool SensorWindow::exportChartData(const QString &fileName, const QString &delimiter)
{
    return writeWholeFile(
        fileName, Utils::csvText(exportSeries(), exportColumnNames(), delimiter, exportPrecision));
}

bool SensorWindow::writeWholeFile(const QString &fileName, const QByteArray &bytes)
{
    QString reason;
    if (Utils::writeFileAtomically(fileName, bytes, &reason))
        return true;
    ui->statusBar->showMessage(tr("Could not save %1: %2").arg(fileName, reason));
    return false;
}

void SensorWindow::vPrintDocument()
{
    // A plot out of sight is drawn only when asked: the print shows the newest samples too.
    data->chart->updateChart(true);
    for (int plot : {0, 1}) {
        Utils::PlotDocument document(data->chart->poPlot(plot));
        document.vPrintDocument();
    }
    // Communication resumes after the modal print dialogs.
    bCheckSensorIdentity();
}

void SensorWindow::vClearHistory()
{
    if (QMessageBox::warning(this, tr("Clear chart history"),
                             tr("Do you really want to clear chart history ?"),
                             QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    data->chart->clear();
    ui->chartToolbar->setEnabled(false);
}

void SensorWindow::vRestoreFactorySettings()
{
    if (!sensorConnected)
        return;
    if (QMessageBox::warning(this, tr("Restore factory defaults"),
                             tr("All settings will be restored to factory defaults, continue ?"),
                             QMessageBox::Ok | QMessageBox::Cancel)
        != QMessageBox::Ok)
        return;
    // Confirmed inside another sequence's wait, the reset follows that sequence; the sensor may
    // have gone while the question was open.
    const DeferredAction reset{tr("Restore factory defaults"), true,
                               [this] { restoreFactorySettingsConfirmed(); }};
    if (!deferredWhileBusy(reset))
        runOrSayWhyNot(reset);
}

void SensorWindow::restoreFactorySettingsConfirmed()
{
    const SequenceGuard sequence(this, sequences);
    writePendingEdits();
    // Lost meanwhile: there is nothing to reset.
    if (sequence.stopped() || !sensorConnected)
        return;
    data->liveDataEnabled = false;
    if (data->connection)
        data->pollTimer.start();
    data->decodeTextParameters = false;
    bFactoryResetSequence();
    if (sequence.stopped())
        return;
    data->decodeTextParameters = true;
    editForwarding = true;
    data->liveDataEnabled = true;
    if (data->connection)
        data->pollTimer.start();
}

} // namespace Core
} // namespace BravoSensorPlugin
