#include "sensorwindow.h"

#include "layoutfile.h"
#include "propertyvalues.h"
#include "sensorwindowdata.h"
#include "sequencestart.h"
#include "sharedicon.h"
#include "storagemanager.h"
#include "ui_sensorwindow.h"

#include <comm/platformsleep.h>
#include <plugin/sensorcatalogue.h>

#include <extensionsystem/globals.h>
#include <propertybrowser/qteditorfactory.h>
#include <propertybrowser/qtpropertymanager.h>
#include <propertybrowser/qttreepropertybrowser.h>
#include <utils/buttonfactory.h>
#include <utils/buttonmanager.h>
#include <utils/connectionstatus.h>
#include <utils/genericchart.h>

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QStatusBar>
#include <QToolBar>

#include <type_traits>

// Icons and captions are compiled into the plug-in's static core, whose resources register only
// when something refers to them.
static void registerResources()
{
    Q_INIT_RESOURCE(kr7d);
}

namespace BravoSensorPlugin {
namespace Core {

namespace {

// Makes the manager the one that holds the properties of the kind.
template <ParameterKind kind, class Manager>
void addKind(SensorWindowData &data, Manager *manager)
{
    static_assert(std::is_base_of<StorageManagerType<storageOf(kind)>, Manager>::value,
                  "the window reaches a kind's values through the manager of its storage");
    data.kindManagers[std::size_t(kind)] = manager;
    setManagerKind(manager, kind);
}

// The same, with the editor the browser shows for the kind's properties.
template <ParameterKind kind, class Manager>
void addKind(SensorWindowData &data, QtAbstractPropertyBrowser &browser, Manager *manager,
             QtAbstractEditorFactory<Manager> *editor)
{
    addKind<kind>(data, manager);
    browser.setFactoryForManager(manager, editor);
}

} // namespace

SensorWindow::SensorWindow(const ExtensionSystem::SensorBasic &chosenSensor, QWidget *parent)
    : QMainWindow(parent)
    , data(std::make_unique<SensorWindowData>())
    , ui(std::make_unique<Ui_SensorWindow>())
{
    // A widget that stops being a window later has all its children styled once more.
    setWindowFlags(Qt::Widget);
    registerResources();
    ui->setupUi(this);
    createPortCombo();

    auto *spacer = new QLabel(ui->sensorOperationsToolbar);
    spacer->setFixedWidth(10);
    spacer->setVisible(true);
    ui->sensorOperationsToolbar->addWidget(spacer);

    data->language = sensor.getLanguage();
    sensor = findSensor(chosenSensor.name());

    createPropertyDock();
    data->chart = createCharts();
    setChartTitles();
    createPropertyEditing();

    enableTreeDataHandling(true);
    updateWindowTitle();
    ui->sensorOperationsToolbar->setEnabled(false);
    connect(&data->pollTimer, &QTimer::timeout, this, &SensorWindow::queryChartData);
    connect(&data->watchdogTimer, &QTimer::timeout, this,
            onOwnFiber(this, &SensorWindow::slotContinousDataTimeout));
    // Not at once: the sequence that ended may still have work on the stack below its guard.
    sequences.ended = [this] { QTimer::singleShot(0, this, [this] { runDeferredWork(); }); };
    connectFormActions();
    createCompareAction();
    const bool parameters = bBuildPropertyTree();
    vCreateProcessDataDock();

    setMinimumHeight(500);
    setMinimumWidth(850);
    createStatusWidgets();
    trackConfirmations();
    data->chart->setEnabled(false);

    sendTimer.setInterval(400);
    sendTimer.setSingleShot(true);
    connect(&sendTimer, &QTimer::timeout, this, onOwnFiber(this, &SensorWindow::sendDelayValue));

    createUpdateDialogWidgets();
    data->showTransferUi = true;
    connect(data->chart, &Utils::Charts::GenericChart::vSignalZommResetForNoiseLine, this,
            &SensorWindow::vZommResetForNoiseLine);
    connect(browser, &QtTreePropertyBrowser::currentItemChanged, this,
            &SensorWindow::itemSelected);

    // Rows come once the properties hold their ranges and notes: a row that changes once shown
    // is measured again.
    if (parameters)
        showPropertyTree();
    for (const QString &id : qAsConst(data->hiddenPropertyIds))
        setPropertyVisible(id, false);
    initChartDefaults();
    // The docks show with the window anyway; shown one by one, each lays out the window's docks.
    if (ExtensionSystem::Globals::getPresentationMode())
        vSetPresentationMode(true);
    // Sized to its contents all along, the tree would measure every row in sight once for each
    // row inserted, expanded or marked while the window was built.
    browser->setResizeMode(QtTreePropertyBrowser::ResizeToContents);
    retranslating = false;
}

SensorWindow::~SensorWindow()
{
    // Written for the user's next session; this window never reads it back.
    writeLayout(*this);

    data->liveDataEnabled = false;
    abandonPendingPoll();
    delete data->progressBar;
    delete data->progressButton;
    delete data->progressLabel;
    delete data->chart;
    ui.reset();
    delete browser;
    delete data->processDataDock;
    delete data->propertyDock;
    data.reset();
}

void SensorWindow::vSetPresentationMode(bool hide)
{
    data->propertyDock->setHidden(hide);
    // Every chart dock, also those without a tool-bar toggle.
    for (int plot = 0; plot < data->chart->count(); ++plot)
        data->chart->getDockChartItem(plot)->setHidden(hide);
}

void SensorWindow::setConnection(ExtensionSystem::CommunicationInterface *connection)
{
    data->connection = connection;
}

SensorWindowData *SensorWindow::windowData() const
{
    return data.get();
}

Ui_SensorWindow *SensorWindow::form() const
{
    return ui.get();
}

QtTreePropertyBrowser *SensorWindow::propertyBrowser() const
{
    return browser;
}

const Sensor &SensorWindow::sensorRecord() const
{
    return sensor;
}

QTimer *SensorWindow::sendDelayTimer()
{
    return &sendTimer;
}

void SensorWindow::vOpenManual() {}

void SensorWindow::vSensorUpdate(QVariant value)
{
    vSetPresentationMode(value.toBool());
}

// The argument does not matter: an active window with live data follows its newest samples.
void SensorWindow::setWindowActive(bool)
{
    if (ui->actionEnable_live_data->isChecked())
        data->chart->jumpToPlottingArea();
}

void SensorWindow::vSetCompleteName(QString str)
{
    data->completeName = str;
}

void SensorWindow::vZommResetForNoiseLine() {}

void SensorWindow::closeEvent(QCloseEvent *event)
{
    // An edit still waiting for its write is the user's last word to the sensor.
    if (sequences.running == 0 && sensorConnected && !pendingEdits.isEmpty()) {
        sendTimer.stop();
        writePendingEdits();
    }
    // Closed inside a sequence's wait: the rest of that sequence, frames and pauses, is of no use.
    if (sequences.running > 0) {
        sequences.abandoned = true;
        setPlatformSleepInterrupted(true);
    }
    ui->actionEnable_live_data->setChecked(false);
    data->liveDataEnabled = false;
    data->pollTimer.stop();
    disconnect(&data->pollTimer, &QTimer::timeout, this, &SensorWindow::queryChartData);
    data->watchdogTimer.stop();
    data->watchdogTimer.disconnect(this);
    vDisconnect();
    ui->actionEnable_live_data->setChecked(false);
    data->liveDataEnabled = false;
    data->closing = true;
    data->showTransferUi = false;
    emit vAboutToClose();
    QMainWindow::closeEvent(event);
}

void SensorWindow::resizeEvent(QResizeEvent *event)
{
    data->chart->UpdateMinimumHeights(height());
    // The docks keep the widths of the first, smallest layout, and the empty centre would take
    // what a growing window adds: the property dock gets room for values beside the names, the
    // plots the rest. A separator the user drags is no resize of the window and stays put.
    if (event->size().width() <= event->oldSize().width())
        return;
    const int properties = qMax(data->propertyDock->width(), browser->sizeHint().width());
    resizeDocks({data->chart->getDockChartItem(0)}, {width() - properties}, Qt::Horizontal);
    resizeDocks({data->propertyDock}, {properties}, Qt::Horizontal);
}

void SensorWindow::changeEvent(QEvent *event)
{
    if (event->type() != QEvent::LanguageChange) {
        QMainWindow::changeEvent(event);
        return;
    }
    retranslating = true;
    ui->retranslateUi(this);
    data->language = ExtensionSystem::Globals::getLanguage();
    retranslateDescriptionTexts();
    retranslateWindowTexts();
    // Group, analog point and plot captions carry the units and output functions in force. A read
    // in progress derives them when it ends, once all its values have arrived.
    if (!data->deviceValuesPending)
        applyUnitsAndOutputs(QString());
    retranslating = false;
    enableTreeDataHandling(true);
}

bool SensorWindow::eventFilter(QObject *watched, QEvent *event)
{
    return QObject::eventFilter(watched, event);
}

void SensorWindow::createPortCombo()
{
    data->portCombo = new QComboBox(this);
    insertOfflineItem();
    data->portCombo->insertSeparator(1);
    ui->connectionToolBar->addWidget(data->portCombo);
}

void SensorWindow::insertOfflineItem()
{
    data->portCombo->insertItem(0, tr("Offline"), QString());
}

void SensorWindow::createPropertyDock()
{
    data->propertyDock = new QDockWidget();
    data->propertyDock->setWindowTitle(tr("Property tree"));
    data->propertyDock->setObjectName(QStringLiteral("propertyTree"));
    data->propertyDock->setAllowedAreas(Qt::AllDockWidgetAreas);
    QAction *toggle = data->propertyDock->toggleViewAction();
    toggle->setIcon(sharedIcon(QStringLiteral(":/newPrefix/icons/Menuebaum.svg")));
    ui->fileToolBar->addAction(toggle);
}

void SensorWindow::createPropertyEditing()
{
    QDockWidget *dock = data->propertyDock;
    // In the window before its contents exist, see vCreateProcessDataDock().
    dock->setParent(this);
    data->boolManager = new QtBoolPropertyManager(dock);
    data->intManager = new QtIntPropertyManager(dock);
    data->doubleManager = new QtDoublePropertyManager(dock);
    data->stringManager = new QtStringPropertyManager(dock);
    data->enumManager = new QtEnumPropertyManager(dock);
    data->secondStringManager = new QtStringPropertyManager(dock);
    data->groupManager = new QtGroupPropertyManager(dock);
    data->checkBoxFactory = new QtCheckBoxFactory(dock);
    data->spinBoxFactory = new QtSpinBoxFactory(dock);
    data->doubleSpinBoxFactory = new QtDoubleSpinBoxFactory(dock);
    data->lineEditFactory = new QtLineEditFactory(dock);
    data->enumEditorFactory = new QtEnumEditorFactory(dock);

    browser = new QtTreePropertyBrowser(dock);
    // Sized to its contents once it holds them: see the constructor's end.
    browser->setResizeMode(QtTreePropertyBrowser::Interactive);
    browser->setStyleSheet(QStringLiteral(" QTreeView {selection-background-color:  #00619E;}"));
    data->buttonManager = new Utils::ButtonManager(dock);
    data->buttonFactory = new Utils::ButtonFactory(dock);
    addKind<ParameterKind::Category>(*data, data->groupManager);
    addKind<ParameterKind::Enumerator>(*data, *browser, data->enumManager, data->enumEditorFactory);
    addKind<ParameterKind::Int>(*data, *browser, data->intManager, data->spinBoxFactory);
    addKind<ParameterKind::Double>(*data, *browser, data->doubleManager,
                                   data->doubleSpinBoxFactory);
    addKind<ParameterKind::Bool>(*data, *browser, data->boolManager, data->checkBoxFactory);
    addKind<ParameterKind::Action>(*data, *browser, data->buttonManager, data->buttonFactory);
    addKind<ParameterKind::String>(*data, *browser, data->stringManager, data->lineEditFactory);

    // The dock sits in the window from the start, so that it shows (empty) even
    // when the description offers no parameters.
    browser->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    dock->setWidget(browser);
    dock->setMinimumWidth(290);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
}

void SensorWindow::createStatusWidgets()
{
    data->connectionStatus = new Utils::ConnectionStatus(this);
    ui->statusBar->addPermanentWidget(data->connectionStatus, 0);
    ui->statusBar->addPermanentWidget(new QLabel(this), 0);
}

void SensorWindow::createUpdateDialogWidgets()
{
    QDialog *dialog = &data->progressDialog;
    data->progressLayout = new QGridLayout(dialog);
    data->progressBar = new QProgressBar(dialog);
    data->progressBar->setTextVisible(false);
    connect(data->progressBar, &QProgressBar::valueChanged, this, &SensorWindow::updateBarMoved);
    data->progressBar->setStyleSheet(
        QStringLiteral("QProgressBar::chunk{background-color: #00619E;margin: 0.8px}"));
    data->progressLabel = new QLabel(dialog);
    data->progressLabel->setObjectName(QStringLiteral("label"));
    data->progressButton = new QPushButton(dialog);
    data->progressButton->setFixedSize(23, 20);
}

void SensorWindow::connectFormActions()
{
    connect(ui->actionSave_Settings, &QAction::triggered, this, &SensorWindow::vSaveSettings);
    connect(ui->actionOpen_Settings, &QAction::triggered, this, &SensorWindow::vLoadSettings);
    connect(ui->actionDefaultSettings, &QAction::triggered, this,
            &SensorWindow::vRestoreFactorySettings);
    connect(ui->actionExport_chart_view, &QAction::triggered, this,
            &SensorWindow::vExportChartData);
    connect(ui->actionPrint_chart_view, &QAction::triggered, this, &SensorWindow::vPrintDocument);
    connect(ui->actionClear_History, &QAction::triggered, this, &SensorWindow::vClearHistory);
    // Read Thresholds (hidden, disabled) has no behaviour, so it gets no connection at all.
    connect(ui->actionEnable_live_data, &QAction::triggered, this,
            &SensorWindow::actionEnableLiveData);
    connect(data->portCombo, qOverload<int>(&QComboBox::activated), this,
            &SensorWindow::actionConnectSensor);
    connect(ui->actionWriting, &QAction::triggered, this, &SensorWindow::vWriteAllSettings);
    connect(ui->actionRead, &QAction::triggered, this, &SensorWindow::vRadAllSettings);
    connect(&data->writeModeIconTimer, &QTimer::timeout, this,
            [this] { signalWriteModeIcon(false); });
}

void SensorWindow::retranslateWindowTexts()
{
    setChartTitles();
    if (data->processDataDock)
        data->processDataDock->setWindowTitle(tr(" Process data"));

    const int portIndex = data->portCombo->currentIndex();
    data->portCombo->removeItem(0);
    insertOfflineItem();
    data->portCombo->setCurrentIndex(portIndex);

    const int outputIndex = data->outputsCombo->currentIndex();
    data->outputsCombo->clear();
    data->outputsCombo->insertItem(0, outputCaption(1), QString());
    data->outputsCombo->insertItem(1, outputCaption(2), QString());
    data->outputsCombo->setCurrentIndex(outputIndex);

    retranslateCompareAction();
    showConfirmations();
    updateWindowTitle();
}

} // namespace Core
} // namespace BravoSensorPlugin
