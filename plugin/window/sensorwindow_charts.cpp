#include "sensorwindow.h"

#include "editsmuted.h"
#include "sensorwindowdata.h"
#include "sharedicon.h"
#include "ui_sensorwindow.h"

#include <model/outputconfig.h>

#include <propertybrowser/qtbrowseritem.h>
#include <propertybrowser/qtpropertymanager.h>
#include <propertybrowser/qttreepropertybrowser.h>
#include <utils/genericchart.h>
#include <utils/thresholdmultimanager.h>
#include <utils/thresholdwindowwidget.h>

#include <QAction>
#include <QColor>
#include <QComboBox>
#include <QDockWidget>
#include <QIcon>
#include <QToolBar>
#include <QVBoxLayout>

namespace BravoSensorPlugin {
namespace Core {

namespace {

void collectItems(const QList<QtBrowserItem *> &items, const QtProperty *property,
                  QList<QtBrowserItem *> &found)
{
    for (QtBrowserItem *item : items) {
        if (item->property() == property)
            found.append(item);
        collectItems(item->children(), property, found);
    }
}

} // namespace

Utils::Charts::GenericChart *SensorWindow::createCharts()
{
    auto *chart = new Utils::Charts::GenericChart(2, nullptr, this, true, true);
    chart->setCurrentValuePrecision(pressurePlot, 3);
    chart->setCurrentValuePrecision(temperaturePlot, 2);
    chart->setScale(pressurePlot, -100.0, 100000.0);
    chart->setScale(temperaturePlot, -40.0, 260.0);
    for (int plot : {pressurePlot, temperaturePlot}) {
        chart->setAllowNegativeValues(plot, true);
        chart->setPlotColor(plot, QColor(0, 0, 188, 255), false, QColor(0, 0, 188, 20), 1);
    }
    chart->setDockFixedSize(false);
    chart->vSetLabels(true);
    chart->AddLayoutRow(1);
    chart->AddLayoutRow(1);
    chart->UpdateLayout();
    chart->setMinPanOffset(temperaturePlot, 160);
    chart->setMaxPanOffset(temperaturePlot, 350);
    chart->setMinPanOffset(pressurePlot, 100);
    chart->setMaxPanOffset(pressurePlot, 500);
    for (int plot : {pressurePlot, temperaturePlot})
        chart->vSetMarkerRightVisible(plot, false);

    data->chartDockIcons = QStringList{QStringLiteral("dock_temp")};
    addChartDockActions(chart, data->chartDockIcons);

    for (int plot : {pressurePlot, temperaturePlot}) {
        auto *marks = new Utils::ThresholdWindowWidget(chart->poPlot(plot), plot);
        data->thresholdManager = new Utils::ThresholdMultiManager(0, this);
        marks->allowOverlapping(true);
        data->thresholdWidgets.append(marks);
        connect(marks, &Utils::ThresholdWindowWidget::emitValueChanged, this,
                &SensorWindow::chartThresholdChanged);
        marks->setWindowSizeVisible(false);
        marks->setReadOnly(false);
        data->thresholdWidget = marks;
    }
    data->thresholdManager->setOutputs(2);
    createOutputsCombo();

    ui->verticalLayout->addWidget(chart);
    chart->setScale(temperaturePlot, -40.0, 125.0);
    chart->setScale(pressurePlot, data->pressureRangeMin, data->pressureRangeMax);
    return chart;
}

void SensorWindow::createOutputsCombo()
{
    const bool created = !data->outputsCombo;
    if (created)
        data->outputsCombo = new QComboBox(this);
    data->outputsCombo->addItem(outputCaption(1));
    data->outputsCombo->addItem(outputCaption(2));
    data->outputsCombo->setCurrentIndex(0);
    connect(data->outputsCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &SensorWindow::slotCurrentOutputChanged);
    if (created)
        ui->outuptsComboToolBar->addWidget(data->outputsCombo);
}

void SensorWindow::addChartDockActions(Utils::Charts::GenericChart *chart, const QStringList &icons)
{
    for (int dock = 0; dock < icons.size(); ++dock) {
        auto *gap = new QWidget(ui->fileToolBar);
        gap->setFixedSize(2, 12);
        ui->fileToolBar->addWidget(gap);
        QAction *toggle = chart->getDockChartItem(dock)->toggleViewAction();
        toggle->setIcon(sharedIcon(QStringLiteral(":/icons/icons/%1.svg").arg(icons.at(dock))));
        ui->fileToolBar->addAction(toggle);
    }
}

void SensorWindow::setChartTitles()
{
    const QString temperatureUnit = QString::fromLatin1(data->temperatureUnitLabel.data(),
                                                        int(data->temperatureUnitLabel.size()));
    data->chart->setPlotTitle(temperaturePlot, tr("Temperature") + temperatureUnit, QString(),
                              false, true);
    data->chart->setPlotTitle(pressurePlot, pressureCaption(), QString(), false, true);
    // Each dock is named by the quantity of the plot inside it.
    data->chart->getDockChartItem(pressurePlot)->setWindowTitle(tr("Pressure"));
    data->chart->getDockChartItem(temperaturePlot)->setWindowTitle(tr("Temperature"));
}

void SensorWindow::initChartDefaults()
{
    static const char *const hiddenAtStart[] = {"SettingsPointsTemperatureA1",
                                                "NONCA2",
                                                "OnDelay2",
                                                "OffDelay2",
                                                "SettingsPointsPressureA2",
                                                "SettingsPointsTemperatureA2",
                                                "AnalogPointsTemperature",
                                                "RemoteSwitchingOutput",
                                                "remoteAnalogValue"};
    for (const char *id : hiddenAtStart)
        setPropertyVisible(QLatin1String(id), false);

    Utils::ThresholdWindowWidget *pressureMarks = data->thresholdWidgets.at(pressurePlot);
    pressureMarks->setUpperMark(data->pressureRangeMax * 0.5);
    pressureMarks->setLowerMark(data->pressureRangeMax * 0.25);

    Utils::Charts::GenericChart *chart = data->chart;
    chart->vSetYScale(temperaturePlot, -40.0, 120.0);
    chart->setPlotTitle(pressurePlot, QString(), QString(), false, true);
    chart->vSetMarkerRightVisible(pressurePlot, true);
    chart->setRightMarkerVisible(pressurePlot, true);
    chart->vEnableYRightAxis(pressurePlot, true);
    chart->setYRightAxisScale(pressurePlot, 4.0, 20.0, 2.0);
    chart->setCustomLabelsText(pressurePlot, pressureCaption(), tr("Current (mA)"));
    chart->setCustomLabelsVisible(pressurePlot, true, true);

    bulkWriteActive = false;
    previousUnitIndex = 0;
}

QString SensorWindow::outputCaption(int output) const
{
    return tr("Output") + QLatin1Char(' ') + QString::number(output);
}

QString SensorWindow::pressureCaption() const
{
    return tr("Pressure") + QLatin1String(" (bar)");
}

QList<QtBrowserItem *> SensorWindow::browserItemsOf(const QString &propertyId) const
{
    QList<QtBrowserItem *> found;
    if (const QtProperty *property = findProperty(data->rootProperty, propertyId.toLatin1()))
        collectItems(browser->topLevelItems(), property, found);
    return found;
}

void SensorWindow::setPropertyVisible(const QString &propertyId, bool visible)
{
    const QList<QtBrowserItem *> items = browserItemsOf(propertyId);
    for (QtBrowserItem *item : items)
        browser->setItemVisible(item, visible);
}

bool SensorWindow::isPropertyVisible(const QString &propertyId) const
{
    const QList<QtBrowserItem *> items = browserItemsOf(propertyId);
    return !items.isEmpty() && browser->isItemVisible(items.last());
}

// A drop arrives once, on release, so a drag is one write.
void SensorWindow::chartThresholdChanged(unsigned int markIndex, double value)
{
    auto *marks = qobject_cast<Utils::ThresholdWindowWidget *>(sender());
    const int plot = marks ? marks->getComponentIndex() : -1;
    QStringList shownGroups;
    for (const QString &id : outputGroupIds()) {
        if (isPropertyVisible(id))
            shownGroups << id;
    }
    const QStringList targets = markTargets(plot, markIndex, !ui->outuptsComboToolBar->isHidden(),
                                            data->outputsCombo->currentIndex() + 1, shownGroups);
    QtProperty *changed = nullptr;
    double taken = value;
    {
        const EditsMuted muted(*this);
        for (const QString &id : targets) {
            QtProperty *property = findProperty(data->rootProperty, id.toLatin1());
            if (!property)
                continue;
            data->doubleManager->setValue(property, value);
            // The manager clamps to the property's range; the mark shows what it took.
            taken = data->doubleManager->value(property);
            if (markIndex == Utils::ThresholdWindowWidget::LowerMark)
                marks->setLowerMark(taken);
            else
                marks->setUpperMark(taken);
            pendingEdits.record(property, taken);
            changed = property;
        }
    }
    if (!changed)
        return;
    pendingProperty = changed;
    pendingValue = taken;
    // Written with edits counting again: one made while the write waits is kept, and nothing of a
    // window closed meanwhile is touched afterwards.
    if (sensorConnected)
        sendDelayValue();
}

} // namespace Core
} // namespace BravoSensorPlugin
