#pragma once

class QAction;
class QFrame;
class QMainWindow;
class QStatusBar;
class QToolBar;
class QVBoxLayout;
class QWidget;

namespace BravoSensorPlugin {
namespace Core {

// The sensor window's form: its actions, tool bars, central frame and status bar.
class Ui_SensorWindow
{
public:
    QAction *actionSave_Settings = nullptr;
    QAction *actionOpen_Settings = nullptr;
    QAction *actionSettings = nullptr;
    QAction *actionSupported_sensors = nullptr;
    QAction *actionDefaultSettings = nullptr;
    QAction *actionExportChartData = nullptr;
    QAction *actionEnable_live_data = nullptr;
    QAction *actionClear_History = nullptr;
    QAction *actionPrint_chart_view = nullptr;
    QAction *actionExport_chart_view = nullptr;
    QAction *actionOutput_1 = nullptr;
    QAction *actionOutput_2 = nullptr;
    QAction *actionRead = nullptr;
    QAction *actionWriting = nullptr;
    QAction *actionRead_Thresholds = nullptr;
    QWidget *centralwidget = nullptr;
    QVBoxLayout *verticalLayout = nullptr;
    QFrame *frame = nullptr;
    QToolBar *fileToolBar = nullptr;
    QToolBar *sensorOperationsToolbar = nullptr;
    QStatusBar *statusBar = nullptr;
    QToolBar *chartToolbar = nullptr;
    QToolBar *connectionToolBar = nullptr;
    QToolBar *outuptsComboToolBar = nullptr;

    // Everything below is parented to the window.
    void setupUi(QMainWindow *SensorWindow);
    // Captions in the translation context "SensorWindow".
    void retranslateUi(QMainWindow *SensorWindow);

private:
    void createActions(QMainWindow *SensorWindow);
    void createCentralFrame(QMainWindow *SensorWindow);
    void createToolBars(QMainWindow *SensorWindow);
};

} // namespace Core
} // namespace BravoSensorPlugin
