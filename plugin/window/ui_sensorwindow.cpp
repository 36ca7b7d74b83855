#include "ui_sensorwindow.h"

#include "sharedicon.h"

#include <QAction>
#include <QCoreApplication>
#include <QFrame>
#include <QIcon>
#include <QMainWindow>
#include <QMetaObject>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace BravoSensorPlugin {
namespace Core {

namespace {

// One action of the form: where it is kept, its name, icon and captions.
struct ActionInfo
{
    QAction *Ui_SensorWindow::*member;
    const char *objectName;
    const char *icon;
    const char *text;
    const char *toolTip;   // null: none
    const char *statusTip; // null: none
};

const ActionInfo actionInfos[] = {
    {&Ui_SensorWindow::actionSave_Settings, "actionSave_Settings",
     ":/newPrefix/icons/file_save.svg", QT_TRANSLATE_NOOP("SensorWindow", "Save Settings"), nullptr,
     QT_TRANSLATE_NOOP("SensorWindow", "Save sensor settings to file")},
    {&Ui_SensorWindow::actionOpen_Settings, "actionOpen_Settings",
     ":/newPrefix/icons/file_open.svg", QT_TRANSLATE_NOOP("SensorWindow", "Open Settings"), nullptr,
     QT_TRANSLATE_NOOP("SensorWindow", "Open a saved sensor from file")},
    {&Ui_SensorWindow::actionSettings, "actionSettings",
     ":/newPrefix/icons/tessvor-tool-configure.svg", QT_TRANSLATE_NOOP("SensorWindow", "Settings"),
     nullptr, nullptr},
    {&Ui_SensorWindow::actionSupported_sensors, "actionSupported_sensors",
     ":/newPrefix/icons/libary.svg", QT_TRANSLATE_NOOP("SensorWindow", "Supported sensors"),
     nullptr, nullptr},
    {&Ui_SensorWindow::actionDefaultSettings, "actionDefaultSettings",
     ":/newPrefix/icons/Reset.svg", QT_TRANSLATE_NOOP("SensorWindow", "DefaultSettings"),
     QT_TRANSLATE_NOOP("SensorWindow", "Restore sensor's default settings"),
     QT_TRANSLATE_NOOP("SensorWindow", "Restore sensor's default settings")},
    {&Ui_SensorWindow::actionExportChartData, "actionExportChartData",
     ":/newPrefix/icons/connect_sensor_pc.svg",
     QT_TRANSLATE_NOOP("SensorWindow", "Export Chart Data"), nullptr,
     QT_TRANSLATE_NOOP("SensorWindow", "Export chart data to file")},
    {&Ui_SensorWindow::actionEnable_live_data, "actionEnable_live_data",
     ":/newPrefix/icons/recorder_play.svg", QT_TRANSLATE_NOOP("SensorWindow", "Enable live data"),
     QT_TRANSLATE_NOOP("SensorWindow", "Enable live data"), nullptr},
    {&Ui_SensorWindow::actionClear_History, "actionClear_History",
     ":/newPrefix/icons/Verlauf_Loeschen.svg", QT_TRANSLATE_NOOP("SensorWindow", "Clear History"),
     QT_TRANSLATE_NOOP("SensorWindow", "Clear chart history"), nullptr},
    {&Ui_SensorWindow::actionPrint_chart_view, "actionPrint_chart_view",
     ":/newPrefix/icons/file_print.svg", QT_TRANSLATE_NOOP("SensorWindow", "Print chart view"),
     QT_TRANSLATE_NOOP("SensorWindow", "Print current chart view"), nullptr},
    {&Ui_SensorWindow::actionExport_chart_view, "actionExport_chart_view",
     ":/newPrefix/icons/Export.svg", QT_TRANSLATE_NOOP("SensorWindow", "Export chart view"),
     QT_TRANSLATE_NOOP("SensorWindow", "Export current chart view"), nullptr},
    {&Ui_SensorWindow::actionOutput_1, "actionOutput_1", ":/newPrefix/icons/led_state_2_1.svg",
     QT_TRANSLATE_NOOP("SensorWindow", "Output 1"),
     QT_TRANSLATE_NOOP("SensorWindow", "Output 1 led"), nullptr},
    {&Ui_SensorWindow::actionOutput_2, "actionOutput_2", ":/newPrefix/icons/led_state_2_2.svg",
     QT_TRANSLATE_NOOP("SensorWindow", "Output 2"),
     QT_TRANSLATE_NOOP("SensorWindow", "Output 2 led"), nullptr},
    {&Ui_SensorWindow::actionRead, "actionRead", ":/newPrefix/icons/lesen.svg",
     QT_TRANSLATE_NOOP("SensorWindow", "Output 3"), QT_TRANSLATE_NOOP("SensorWindow", "read"),
     nullptr},
    {&Ui_SensorWindow::actionWriting, "actionWriting", ":/newPrefix/icons/schreiben.svg",
     QT_TRANSLATE_NOOP("SensorWindow", "Switch to FP"),
     QT_TRANSLATE_NOOP("SensorWindow", "Write mode"), nullptr},
    {&Ui_SensorWindow::actionRead_Thresholds, "actionRead_Thresholds", ":/newPrefix/icons/PNBC.jpg",
     QT_TRANSLATE_NOOP("SensorWindow", "Read Thresholds"), nullptr, nullptr},
};

QString translated(const char *sourceText)
{
    return QCoreApplication::translate("SensorWindow", sourceText);
}

QString comboGradient(bool pressed)
{
    return pressed ? QStringLiteral("qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #D3D3D3, "
                                    "stop: 0.4 #D8D8D8, stop: 0.5 #DDDDDD, stop: 1.0 #E1E1E1)")
                   : QStringLiteral("qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #E1E1E1, "
                                    "stop: 0.4 #DDDDDD, stop: 0.5 #D8D8D8, stop: 1.0 #D3D3D3)");
}

QString windowStyleSheet()
{
    const QString itemView = QStringLiteral("QComboBox QAbstractItemView {\n"
                                            "    border: 2px solid darkgray;\n"
                                            "    selection-background-color: lightgray;\n"
                                            "}\n");
    const QString comboFrame = QStringLiteral("    border: 1px solid gray;\n"
                                              "    border-radius: 3px;\n"
                                              "    padding: 1px 18px 1px 3px;\n"
                                              "    min-width: 6em;\n");
    return itemView + itemView + QStringLiteral("QComboBox {\n") + comboFrame
           + QStringLiteral("}\n")
           + QStringLiteral("QComboBox:editable {\n    background: white;\n}\n")
           + QStringLiteral(
               "QComboBox:!editable, QComboBox::drop-down:editable {\n    background: ")
           + comboGradient(false) + QStringLiteral(";\n}\n")
           + QStringLiteral(
               "QComboBox:!editable:on, QComboBox::drop-down:editable:on {\n    background: ")
           + comboGradient(true) + QStringLiteral(";\n}\n")
           + QStringLiteral("QComboBox:on {\n"
                            "    padding-top: 3px;\n"
                            "    padding-left: 4px;\n"
                            "}\n"
                            "QComboBox::drop-down {\n"
                            "    subcontrol-origin: padding;\n"
                            "    subcontrol-position: top right;\n"
                            "    width: 15px;\n"
                            "    border-left-width: 1px;\n"
                            "    border-left-color: darkgray;\n"
                            "    border-left-style: solid;\n"
                            "    border-top-right-radius: 3px;\n"
                            "    border-bottom-right-radius: 3px;\n"
                            "}\n"
                            "QComboBox::down-arrow {\n"
                            "    image: url(:/icons/icons/arrow_down.png);\n"
                            "}\n"
                            "QComboBox::down-arrow:on {\n"
                            "    top: 1px;\n"
                            "    left: 1px;\n"
                            "}\n"
                            "#toolBox::tab:selected, #toolBox::tab:!selected {\n"
                            "    font: bold;\n"
                            "    color: #4FA600;\n"
                            "    height: 26px;\n"
                            "}\n"
                            "#toolBox {\n"
                            "    border: 0px transparent;\n"
                            "}\n"
                            "#toolBox::tab:QToolButton {\n")
           + comboFrame + QStringLiteral("    background: ") + comboGradient(false)
           + QStringLiteral(";\n}\n");
}

QToolBar *addToolBar(QMainWindow *window, const char *objectName)
{
    auto *toolBar = new QToolBar(window);
    toolBar->setObjectName(QLatin1String(objectName));
    window->addToolBar(Qt::TopToolBarArea, toolBar);
    return toolBar;
}

// The settings most tool bars of the form share.
void fixToolBar(QToolBar *toolBar, Qt::ToolBarAreas allowedAreas)
{
    toolBar->setContextMenuPolicy(Qt::NoContextMenu);
    toolBar->setAllowedAreas(allowedAreas);
    toolBar->setFloatable(false);
}

} // namespace

void Ui_SensorWindow::setupUi(QMainWindow *SensorWindow)
{
    if (SensorWindow->objectName().isEmpty())
        SensorWindow->setObjectName(QStringLiteral("SensorWindow"));
    SensorWindow->setEnabled(true);
    SensorWindow->resize(643, 625);
    SensorWindow->setContextMenuPolicy(Qt::NoContextMenu);
    SensorWindow->setWindowOpacity(1.0);
    SensorWindow->setStyleSheet(windowStyleSheet());
    SensorWindow->setToolButtonStyle(Qt::ToolButtonIconOnly);
    SensorWindow->setDocumentMode(false);
    SensorWindow->setDockNestingEnabled(false);

    createActions(SensorWindow);
    createCentralFrame(SensorWindow);
    createToolBars(SensorWindow);

    retranslateUi(SensorWindow);
    QMetaObject::connectSlotsByName(SensorWindow);
}

void Ui_SensorWindow::createActions(QMainWindow *SensorWindow)
{
    for (const ActionInfo &info : actionInfos) {
        auto *action = new QAction(SensorWindow);
        action->setObjectName(QLatin1String(info.objectName));
        action->setIcon(sharedIcon(QLatin1String(info.icon)));
        this->*info.member = action;
    }
    actionOpen_Settings->setCheckable(false);
    actionExportChartData->setEnabled(false);
    actionExportChartData->setVisible(false);
    actionEnable_live_data->setCheckable(true);
    actionOutput_1->setEnabled(false);
    actionOutput_1->setVisible(false);
    actionOutput_1->setIconVisibleInMenu(true);
    actionOutput_2->setEnabled(false);
    actionOutput_2->setVisible(false);
    actionRead->setCheckable(false);
    actionWriting->setCheckable(false);
    actionWriting->setChecked(false);
    actionWriting->setEnabled(false);
    actionWriting->setVisible(false);
    actionRead_Thresholds->setEnabled(false);
    actionRead_Thresholds->setVisible(false);
}

void Ui_SensorWindow::createCentralFrame(QMainWindow *SensorWindow)
{
    centralwidget = new QWidget(SensorWindow);
    centralwidget->setObjectName(QStringLiteral("centralwidget"));
    verticalLayout = new QVBoxLayout(centralwidget);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    frame = new QFrame(centralwidget);
    frame->setObjectName(QStringLiteral("frame"));
    QSizePolicy sizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    sizePolicy.setHorizontalStretch(0);
    sizePolicy.setVerticalStretch(0);
    sizePolicy.setHeightForWidth(frame->sizePolicy().hasHeightForWidth());
    frame->setSizePolicy(sizePolicy);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Raised);
    verticalLayout->addWidget(frame);
    SensorWindow->setCentralWidget(centralwidget);
}

void Ui_SensorWindow::createToolBars(QMainWindow *SensorWindow)
{
    fileToolBar = addToolBar(SensorWindow, "fileToolBar");
    fixToolBar(fileToolBar, Qt::AllToolBarAreas);
    fileToolBar->setAutoFillBackground(false);
    fileToolBar->setIconSize(QSize(25, 25));
    fileToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);

    sensorOperationsToolbar = addToolBar(SensorWindow, "sensorOperationsToolbar");
    sensorOperationsToolbar->setEnabled(true);
    fixToolBar(sensorOperationsToolbar, Qt::TopToolBarArea | Qt::BottomToolBarArea);

    statusBar = new QStatusBar(SensorWindow);
    statusBar->setObjectName(QStringLiteral("statusBar"));
    SensorWindow->setStatusBar(statusBar);

    chartToolbar = addToolBar(SensorWindow, "chartToolbar");
    chartToolbar->setEnabled(true);
    fixToolBar(chartToolbar, Qt::AllToolBarAreas);

    connectionToolBar = addToolBar(SensorWindow, "connectionToolBar");
    fixToolBar(connectionToolBar, Qt::TopToolBarArea | Qt::BottomToolBarArea);

    outuptsComboToolBar = addToolBar(SensorWindow, "outuptsComboToolBar");

    fileToolBar->addAction(actionOpen_Settings);
    fileToolBar->addAction(actionSave_Settings);
    fileToolBar->addSeparator();
    fileToolBar->addAction(actionExportChartData);
    sensorOperationsToolbar->addAction(actionDefaultSettings);
    sensorOperationsToolbar->addAction(actionEnable_live_data);
    sensorOperationsToolbar->addAction(actionWriting);
    sensorOperationsToolbar->addAction(actionRead_Thresholds);
    sensorOperationsToolbar->addAction(actionOutput_1);
    sensorOperationsToolbar->addAction(actionOutput_2);
    sensorOperationsToolbar->addAction(actionRead);
    chartToolbar->addAction(actionPrint_chart_view);
    chartToolbar->addAction(actionClear_History);
    chartToolbar->addAction(actionExport_chart_view);
}

void Ui_SensorWindow::retranslateUi(QMainWindow *SensorWindow)
{
    Q_UNUSED(SensorWindow)
    for (const ActionInfo &info : actionInfos) {
        QAction *action = this->*info.member;
        action->setText(translated(info.text));
        if (info.toolTip)
            action->setToolTip(translated(info.toolTip));
        if (info.statusTip)
            action->setStatusTip(translated(info.statusTip));
    }
    actionWriting->setIconText(QCoreApplication::translate("SensorWindow", "writings"));
    fileToolBar->setWindowTitle(QCoreApplication::translate("SensorWindow", "File Tool Bar"));
    fileToolBar->setStatusTip(QString());
    sensorOperationsToolbar->setWindowTitle(
        QCoreApplication::translate("SensorWindow", "Sensor Operations Tool Bar"));
    const QString toolBarTitle = QCoreApplication::translate("SensorWindow", "toolBar");
    chartToolbar->setWindowTitle(toolBarTitle);
    connectionToolBar->setWindowTitle(toolBarTitle);
    outuptsComboToolBar->setWindowTitle(toolBarTitle);
}

} // namespace Core
} // namespace BravoSensorPlugin
