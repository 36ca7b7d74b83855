#include "mainwindow.h"

#include "frametracedock.h"
#include "languagechoice.h"
#include "languageswitcher.h"
#include "portlist.h"
#include "sensorsubwindow.h"
#include "tiler.h"

#include <extensionsystem/globals.h>
#include <extensionsystem/plugininterface.h>

#include <QActionGroup>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

namespace TGauge {

namespace {

constexpr int statusTimeoutMs = 8000;

} // namespace

MainWindow::MainWindow(std::vector<PluginLoadResult> loadResults, PortList &ports,
                       LanguageSwitcher &languages, QWidget *parent)
    : QMainWindow(parent)
    , m_ports(ports)
    , m_languages(languages)
    , m_mdiArea(new QMdiArea(this))
    , m_tiler(new Tiler(*m_mdiArea, this))
    , m_catalogue(new CatalogueView(this))
    , m_catalogueDock(new QDockWidget(this))
    , m_frameTraceDock(new FrameTraceDock(this))
{
    setObjectName(QStringLiteral("tgaugeMainWindow"));
    // Headless runs are there for their screenshots: room for a sensor window's names, values
    // and plots side by side.
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        resize(1600, 1000);
    else
        resize(1280, 800);

    for (PluginLoadResult &result : loadResults) {
        if (result.library)
            m_plugins.push_back(std::move(*result.library));
        else
            m_refusals.push_back(std::move(result));
    }

    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    // Tiles that do not fit scroll; without scroll bars the area would grow the whole host
    // window, past the screen's edge with a few sensor windows.
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    m_catalogueDock->setObjectName(QStringLiteral("catalogueDock"));
    m_catalogueDock->setWidget(m_catalogue);
    addDockWidget(Qt::LeftDockWidgetArea, m_catalogueDock);
    resizeDocks({m_catalogueDock}, {360}, Qt::Horizontal);
    m_catalogue->showCatalogue(m_plugins, m_refusals);
    addDockWidget(Qt::BottomDockWidgetArea, m_frameTraceDock);
    m_frameTraceDock->hide();

    createMenus();
    retranslate();

    connect(m_catalogue, &CatalogueView::sensorActivated, this,
            [this](const SensorRef &sensor) { openSensor(sensor); });
    connect(m_catalogue, &QTreeWidget::currentItemChanged, this, &MainWindow::updateActions);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &MainWindow::forwardActivation);
    connect(&m_ports, &PortList::portsChanged, this, &MainWindow::forwardPorts);
    connect(&m_languages, &LanguageSwitcher::languageChanged, this, &MainWindow::showLanguage);

    showLanguage(m_languages.language());
    m_presentationAction->setChecked(ExtensionSystem::Globals::getPresentationMode());
    updateActions();
    statusBar()->showMessage(pluginSummary());
}

// Each plugin object deletes its own window; the emptied sub-windows go with
// the MDI area afterwards. Tearing those down emits activation and selection
// signals that must no longer reach this half-destroyed window.
MainWindow::~MainWindow()
{
    m_mdiArea->disconnect(this);
    m_catalogue->disconnect(this);
    for (const Session &session : m_sessions) {
        if (session.subWindow)
            session.subWindow->disconnect(this);
        delete session.object.data();
    }
}

const std::vector<PluginLibrary> &MainWindow::plugins() const
{
    return m_plugins;
}

const std::vector<PluginLoadResult> &MainWindow::refusals() const
{
    return m_refusals;
}

CatalogueView *MainWindow::catalogueView() const
{
    return m_catalogue;
}

QMdiArea *MainWindow::mdiArea() const
{
    return m_mdiArea;
}

FrameTraceDock *MainWindow::frameTraceDock() const
{
    return m_frameTraceDock;
}

Tiler *MainWindow::tiler() const
{
    return m_tiler;
}

ExtensionSystem::PluginInterface *MainWindow::openSensor(const SensorRef &ref)
{
    if (ref.plugin < 0 || ref.plugin >= int(m_plugins.size()))
        return nullptr;
    const PluginLibrary &plugin = m_plugins[size_t(ref.plugin)];
    if (ref.sensor < 0 || ref.sensor >= int(plugin.sensors.size()))
        return nullptr;
    // The entry point takes a non-const record; the catalogue stays untouched.
    ExtensionSystem::SensorBasic sensor = plugin.sensors[size_t(ref.sensor)];
    const QString name = QString::fromStdString(sensor.name());

    auto subWindow = new SensorSubWindow; // owned by the MDI area from here on
    m_mdiArea->addSubWindow(subWindow);
    ExtensionSystem::PluginInterface *object
        = plugin.exports.poGetInterfaceInstance(&sensor, subWindow);
    if (!object) {
        delete subWindow;
        statusBar()->showMessage(tr("%1 gave no window for %2").arg(plugin.name, name),
                                 statusTimeoutMs);
        return nullptr;
    }
    object->setParent(this);
    object->setSensorName(name);
    if (subWindow->windowTitle().isEmpty())
        subWindow->setWindowTitle(object->getSensorName());
    m_sessions.push_back({object, subWindow});
    connect(subWindow, &QObject::destroyed, this, [this, object] { forget(object); });

    object->vAvailablePortsUpdated(m_ports.ports());
    // On a later turn: building the window and laying it out are two long pieces of work, and
    // the host stays responsive between them. A timer: a posted call would run in the same pass
    // as the calls posted around it.
    auto *show = new QTimer(subWindow);
    show->setSingleShot(true);
    connect(show, &QTimer::timeout, this, [this, subWindow, show] {
        show->deleteLater();
        showSubWindow(subWindow);
    });
    show->start(0);
    return object;
}

void MainWindow::showSubWindow(QMdiSubWindow *subWindow)
{
    // Alone in the area, the window gets all of it: names and values side by side, plots readable.
    if (m_mdiArea->subWindowList().size() == 1)
        subWindow->showMaximized();
    else
        subWindow->show();
    m_mdiArea->setActiveSubWindow(subWindow);
    // A plug-in that showed its sub-window itself had it activated before the host knew it.
    if (m_forwardedActive != m_mdiArea->activeSubWindow())
        forwardActivation(m_mdiArea->activeSubWindow());
}

ExtensionSystem::PluginInterface *MainWindow::openSensor(const QString &name)
{
    const std::string wanted = name.toStdString();
    for (size_t p = 0; p < m_plugins.size(); ++p) {
        const auto &sensors = m_plugins[p].sensors;
        const auto found
            = std::find_if(sensors.cbegin(), sensors.cend(),
                           [&wanted](const auto &sensor) { return sensor.name() == wanted; });
        if (found != sensors.cend())
            return openSensor(SensorRef{int(p), int(found - sensors.cbegin())});
    }
    statusBar()->showMessage(tr("No sensor named %1 in the catalogue").arg(name), statusTimeoutMs);
    return nullptr;
}

QList<ExtensionSystem::PluginInterface *> MainWindow::pluginObjects() const
{
    QList<ExtensionSystem::PluginInterface *> objects;
    for (const Session &session : m_sessions) {
        if (session.object)
            objects << session.object.data();
    }
    return objects;
}

QMdiSubWindow *MainWindow::subWindowOf(const ExtensionSystem::PluginInterface *object) const
{
    const auto found = std::find_if(m_sessions.cbegin(), m_sessions.cend(),
                                    [object](const Session &s) { return s.object == object; });
    return found == m_sessions.cend() ? nullptr : found->subWindow.data();
}

void MainWindow::setPresentationMode(bool on)
{
    ExtensionSystem::Globals::setPresentationMode(on);
    m_presentationAction->setChecked(on);
    for (ExtensionSystem::PluginInterface *object : pluginObjects())
        object->vUpdate(QVariant(on));
}

void MainWindow::closeSensor(ExtensionSystem::PluginInterface *object)
{
    QMdiSubWindow *subWindow = subWindowOf(object);
    if (!subWindow)
        return;
    object->vActionExit(QString());
    // The sub-window's own close would close the plugin's window a second time.
    const QWidget *window = subWindow->widget();
    if (!window || window->isHidden())
        subWindow->deleteLater();
}

void MainWindow::openSettingsFile(const QString &fileName)
{
    ExtensionSystem::PluginInterface *object = activeObject();
    if (!object) {
        statusBar()->showMessage(tr("Open a sensor first"), statusTimeoutMs);
        return;
    }
    object->vActionOpen(fileName);
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        const bool summaryShown = statusBar()->currentMessage() == m_shownSummary;
        retranslate();
        if (summaryShown)
            statusBar()->showMessage(pluginSummary());
    }
    QMainWindow::changeEvent(event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    for (ExtensionSystem::PluginInterface *object : pluginObjects())
        closeSensor(object);
    event->accept();
}

void MainWindow::createMenus()
{
    m_fileMenu = menuBar()->addMenu(QString());
    m_openSensorAction = m_fileMenu->addAction(QString(), this, &MainWindow::openSelectedSensor);
    m_openSensorAction->setShortcut(QKeySequence::New);
    m_openSettingsAction = m_fileMenu->addAction(QString(), this, &MainWindow::askForSettingsFile);
    m_openSettingsAction->setShortcut(QKeySequence::Open);
    m_closeSensorAction = m_fileMenu->addAction(QString(), this, &MainWindow::closeActiveSensor);
    m_closeSensorAction->setShortcut(QKeySequence::Close);
    m_fileMenu->addSeparator();
    m_quitAction = m_fileMenu->addAction(QString(), this, &QWidget::close);
    m_quitAction->setShortcut(QKeySequence::Quit);

    m_viewMenu = menuBar()->addMenu(QString());
    m_presentationAction = m_viewMenu->addAction(QString());
    m_presentationAction->setCheckable(true);
    connect(m_presentationAction, &QAction::triggered, this, &MainWindow::setPresentationMode);
    m_refreshPortsAction = m_viewMenu->addAction(QString(), this, &MainWindow::refreshPorts);
    m_refreshPortsAction->setShortcut(QKeySequence::Refresh);
    m_viewMenu->addSeparator();
    m_viewMenu->addAction(m_catalogueDock->toggleViewAction());
    m_viewMenu->addAction(m_frameTraceDock->toggleViewAction());

    m_languageMenu = menuBar()->addMenu(QString());
    m_languageGroup = new QActionGroup(this);
    for (const LanguageChoice &choice : languageChoices) {
        QAction *action = m_languageMenu->addAction(QString::fromUtf8(choice.caption));
        action->setCheckable(true);
        action->setData(QString::fromLatin1(choice.code));
        m_languageGroup->addAction(action);
    }
    connect(m_languageGroup, &QActionGroup::triggered, this,
            [this](QAction *action) { m_languages.switchTo(action->data().toString()); });

    m_windowMenu = menuBar()->addMenu(QString());
    connect(m_windowMenu, &QMenu::aboutToShow, this, &MainWindow::fillWindowMenu);
}

void MainWindow::retranslate()
{
    setWindowTitle(tr("tGauge"));
    m_catalogueDock->setWindowTitle(tr("Sensors"));
    m_fileMenu->setTitle(tr("&File"));
    m_openSensorAction->setText(tr("&Open sensor"));
    m_openSettingsAction->setText(tr("Open &settings..."));
    m_closeSensorAction->setText(tr("&Close sensor"));
    m_quitAction->setText(tr("&Quit"));
    m_viewMenu->setTitle(tr("&View"));
    m_presentationAction->setText(tr("&Presentation mode"));
    m_refreshPortsAction->setText(tr("&Refresh ports"));
    m_languageMenu->setTitle(tr("&Language"));
    m_windowMenu->setTitle(tr("&Window"));
}

QString MainWindow::pluginSummary()
{
    const int loaded = int(m_plugins.size());
    m_shownSummary = m_refusals.empty() ? tr("%n plug-in(s) loaded", nullptr, loaded)
                                        : tr("%n plug-in(s) loaded, %1 refused: see the catalogue",
                                             nullptr, loaded)
                                              .arg(m_refusals.size());
    return m_shownSummary;
}

void MainWindow::openSelectedSensor()
{
    if (const auto sensor = m_catalogue->selectedSensor())
        openSensor(*sensor);
}

void MainWindow::askForSettingsFile()
{
    const QString fileName = QFileDialog::getOpenFileName(
        this, tr("Open settings"), QString(), tr("Settings files (*.tgs);;All files (*)"));
    if (!fileName.isEmpty())
        openSettingsFile(fileName);
}

void MainWindow::closeActiveSensor()
{
    if (ExtensionSystem::PluginInterface *object = activeObject())
        closeSensor(object);
}

void MainWindow::refreshPorts()
{
    m_ports.refresh();
    const QStringList ports = m_ports.ports();
    statusBar()->showMessage(ports.isEmpty()
                                 ? tr("No serial ports")
                                 : tr("Ports: %1").arg(ports.join(QStringLiteral(", "))),
                             statusTimeoutMs);
}

void MainWindow::forwardPorts(const QStringList &ports)
{
    for (ExtensionSystem::PluginInterface *object : pluginObjects())
        object->vAvailablePortsUpdated(ports);
}

void MainWindow::forwardActivation(QMdiSubWindow *active)
{
    m_forwardedActive = active;
    for (const Session &session : m_sessions) {
        if (session.object)
            session.object->setWindowActive(session.subWindow == active);
    }
    updateActions();
}

void MainWindow::forget(const ExtensionSystem::PluginInterface *object)
{
    const auto gone = std::find_if(m_sessions.begin(), m_sessions.end(),
                                   [object](const Session &s) { return s.object == object; });
    if (gone == m_sessions.end())
        return;
    // Deferred: the sub-window may go while the plug-in's own code is on the stack.
    if (gone->object)
        gone->object->deleteLater();
    m_sessions.erase(gone);
    updateActions();
}

void MainWindow::fillWindowMenu()
{
    m_windowMenu->clear();
    m_windowMenu->addAction(tr("&Tile"), m_tiler, &Tiler::tile);
    m_windowMenu->addAction(tr("&Cascade"), m_mdiArea, &QMdiArea::cascadeSubWindows);
    m_windowMenu->addSeparator();
    for (const Session &session : m_sessions) {
        if (!session.object || !session.subWindow)
            continue;
        QAction *action = m_windowMenu->addAction(session.object->getSensorName());
        action->setCheckable(true);
        action->setChecked(session.subWindow == m_mdiArea->activeSubWindow());
        QPointer<QMdiSubWindow> subWindow = session.subWindow;
        connect(action, &QAction::triggered, this, [this, subWindow] {
            if (subWindow)
                m_mdiArea->setActiveSubWindow(subWindow);
        });
    }
}

void MainWindow::showLanguage(const QString &code)
{
    const QList<QAction *> actions = m_languageGroup->actions();
    for (QAction *action : actions)
        action->setChecked(action->data().toString() == code);
}

void MainWindow::updateActions()
{
    m_openSensorAction->setEnabled(m_catalogue->selectedSensor().has_value());
    const bool sensorActive = activeObject() != nullptr;
    m_openSettingsAction->setEnabled(sensorActive);
    m_closeSensorAction->setEnabled(sensorActive);
}

ExtensionSystem::PluginInterface *MainWindow::activeObject() const
{
    const QMdiSubWindow *active = m_mdiArea->activeSubWindow();
    const auto found
        = std::find_if(m_sessions.cbegin(), m_sessions.cend(),
                       [active](const Session &s) { return active && s.subWindow == active; });
    return found == m_sessions.cend() ? nullptr : found->object.data();
}

} // namespace TGauge
