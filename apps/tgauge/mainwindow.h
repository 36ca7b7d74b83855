#pragma once

#include "catalogueview.h"
#include "pluginlibrary.h"
#include "pluginloader.h"

#include <QMainWindow>
#include <QPointer>

#include <vector>

QT_BEGIN_NAMESPACE
class QAction;
class QActionGroup;
class QDockWidget;
class QMdiArea;
class QMenu;
QT_END_NAMESPACE

namespace TGauge {

class FrameTraceDock;
class LanguageSwitcher;
class PortList;
class Tiler;

// The host's main window: the catalogue dock, one MDI sub-window per opened
// sensor, and the actions the host forwards to every plugin object.
class MainWindow final : public QMainWindow
{
    Q_OBJECT
public:
    MainWindow(std::vector<PluginLoadResult> loadResults, PortList &ports,
               LanguageSwitcher &languages, QWidget *parent = nullptr);
    ~MainWindow() override;

    const std::vector<PluginLibrary> &plugins() const;
    // The libraries the host refused, with the reason.
    const std::vector<PluginLoadResult> &refusals() const;
    CatalogueView *catalogueView() const;
    QMdiArea *mdiArea() const;
    FrameTraceDock *frameTraceDock() const;
    // What the Window menu's Tile runs.
    Tiler *tiler() const;

    // The plugin object for the sensor, or null when the plug-in gave none. Its sub-window shows
    // on the next turn of the event loop.
    ExtensionSystem::PluginInterface *openSensor(const SensorRef &sensor);
    // Opens the first catalogue entry of that name.
    ExtensionSystem::PluginInterface *openSensor(const QString &name);

    QList<ExtensionSystem::PluginInterface *> pluginObjects() const;
    QMdiSubWindow *subWindowOf(const ExtensionSystem::PluginInterface *object) const;

public slots:
    void setPresentationMode(bool on);
    // Asks the plugin object to close its window, then removes the sub-window.
    void closeSensor(ExtensionSystem::PluginInterface *object);
    void openSettingsFile(const QString &fileName);

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    struct Session
    {
        QPointer<ExtensionSystem::PluginInterface> object; // owned (Qt parent)
        QPointer<QMdiSubWindow> subWindow;                 // owned by the MDI area
    };

    void showSubWindow(QMdiSubWindow *subWindow);
    void createMenus();
    void retranslate();
    QString pluginSummary(); // the status line on plug-ins; remembered to be replaced in kind
    void openSelectedSensor();
    void askForSettingsFile();
    void closeActiveSensor();
    void refreshPorts();
    void forwardPorts(const QStringList &ports);
    void forwardActivation(QMdiSubWindow *active);
    void forget(const ExtensionSystem::PluginInterface *object);
    void fillWindowMenu();
    void showLanguage(const QString &code);
    void updateActions();
    ExtensionSystem::PluginInterface *activeObject() const;

    std::vector<PluginLibrary> m_plugins;
    std::vector<PluginLoadResult> m_refusals;
    PortList &m_ports;
    LanguageSwitcher &m_languages;
    std::vector<Session> m_sessions;
    QPointer<QMdiSubWindow> m_forwardedActive; // the sub-window the plugin objects were told of

    QMdiArea *m_mdiArea = nullptr;          // owned (Qt parent)
    Tiler *m_tiler = nullptr;               // owned (Qt parent)
    CatalogueView *m_catalogue = nullptr;   // owned (Qt parent)
    QDockWidget *m_catalogueDock = nullptr; // owned (Qt parent), likewise the others
    QMenu *m_fileMenu = nullptr;
    QAction *m_openSensorAction = nullptr;
    QAction *m_openSettingsAction = nullptr;
    QAction *m_closeSensorAction = nullptr;
    QAction *m_quitAction = nullptr;
    QMenu *m_viewMenu = nullptr;
    QAction *m_presentationAction = nullptr;
    QAction *m_refreshPortsAction = nullptr;
    QMenu *m_languageMenu = nullptr;
    QActionGroup *m_languageGroup = nullptr;
    QMenu *m_windowMenu = nullptr;
    FrameTraceDock *m_frameTraceDock = nullptr;
    QString m_shownSummary;
};

} // namespace TGauge
