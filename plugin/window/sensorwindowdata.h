#pragma once

#include <extensionsystem/communicationinterface.h>
#include <model/parameterids.h>
#include <model/parameterkind.h>

#include <QDialog>
#include <QList>
#include <QMap>
#include <QMutex>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <array>
#include <cstddef>
#include <iterator>
#include <map>
#include <memory>
#include <string>

class QComboBox;
class QDockWidget;
class QGridLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QtAbstractPropertyManager;
class QtBoolPropertyManager;
class QtCheckBoxFactory;
class QtDoublePropertyManager;
class QtDoubleSpinBoxFactory;
class QtEnumEditorFactory;
class QtEnumPropertyManager;
class QtGroupPropertyManager;
class QtIntPropertyManager;
class QtLineEditFactory;
class QtProperty;
class QtSpinBoxFactory;
class QtStringPropertyManager;

namespace Utils {
class ButtonFactory;
class ButtonManager;
class ConnectionStatus;
class ThresholdMultiManager;
class ThresholdWindowWidget;
namespace Charts {
class GenericChart;
}
} // namespace Utils

namespace BravoSensorPlugin {
namespace Core {

// The chart's two plots, numbered by their quantity.
constexpr int pressurePlot = int(Quantity::Pressure);
constexpr int temperaturePlot = int(Quantity::Temperature);

// The sensor window's working state. The window creates it first and deletes it last;
// widgets and managers below are owned through their Qt parents unless marked.
struct SensorWindowData
{
    using DataFrame = ExtensionSystem::CommunicationInterface::DataFrame;

    SensorWindowData();

    QtAbstractPropertyManager *manager(ParameterKind kind) const
    {
        return kindManagers[std::size_t(kind)];
    }

    // Live data and the connection
    bool liveDataEnabled = false; // mirrors the "Enable live data" action
    // Not owned: set by the plugin object; cleared when the host deletes the connection.
    QPointer<ExtensionSystem::CommunicationInterface> connection;
    bool closing = false;

    // Property managers and editor factories, all children of propertyDock
    QtBoolPropertyManager *boolManager = nullptr;
    QtIntPropertyManager *intManager = nullptr;
    QtDoublePropertyManager *doubleManager = nullptr;
    QtStringPropertyManager *stringManager = nullptr;
    QtEnumPropertyManager *enumManager = nullptr;
    QtStringPropertyManager *secondStringManager = nullptr; // never paired with an editor
    QtGroupPropertyManager *groupManager = nullptr;
    QtCheckBoxFactory *checkBoxFactory = nullptr;
    QtSpinBoxFactory *spinBoxFactory = nullptr;
    QtDoubleSpinBoxFactory *doubleSpinBoxFactory = nullptr;
    QtLineEditFactory *lineEditFactory = nullptr;
    QtEnumEditorFactory *enumEditorFactory = nullptr;
    Utils::ButtonManager *buttonManager = nullptr;
    Utils::ButtonFactory *buttonFactory = nullptr;
    // The manager of each kind: one of those above, or one that only the kind uses.
    std::array<QtAbstractPropertyManager *, std::size(parameterKinds)> kindManagers{};
    bool treeDataHandling = false; // the managers' value signals reach the window as edits

    // Window parts
    QDockWidget *propertyDock = nullptr; // owned; deleted by the window's destructor
    QComboBox *portCombo = nullptr;
    Utils::Charts::GenericChart *chart = nullptr; // owned; deleted by the window's destructor
    Utils::ConnectionStatus *connectionStatus = nullptr;
    QDockWidget *processDataDock = nullptr;
    QComboBox *outputsCombo = nullptr;

    // Timers
    QTimer pollTimer;          // 65 ms, runs queryChartData()
    QTimer watchdogTimer;      // 19000 ms, runs slotContinousDataTimeout()
    QTimer writeModeIconTimer; // 700 ms, runs signalWriteModeIcon()

    // Description model
    std::string language = "en";
    QtProperty *rootProperty = nullptr; // owned by groupManager
    QStringList hiddenPropertyIds;
    QString completeName;

    // The update dialog shown during bulk transfers
    QDialog progressDialog;
    QProgressBar *progressBar = nullptr;
    QGridLayout *progressLayout = nullptr;
    QLabel *progressLabel = nullptr;
    QPushButton *progressButton = nullptr;
    bool showTransferUi = true; // false while the update dialog is on screen
    int progressMaximum = 350;

    // Connection workflow
    int activePortIndex = 0;
    QString selectedSensorId;
    bool justConnected = false;
    bool autoConnecting = false;
    bool deviceValuesPending = false;
    bool decodeTextParameters = false;

    // Process-data polling
    unsigned int pendingPollId = 0;
    QPointer<ExtensionSystem::CommunicationInterface> pollConnection; // not owned; the one polled
    std::map<unsigned int, std::unique_ptr<DataFrame>> pendingPolls;
    int pollRetries = 2;
    QMutex pollMutex;

    // Process-data panel
    QStringList categoryCaptions;
    QMap<QString, int> categoryRows;
    QTreeWidget *processDataTree = nullptr;
    QList<QTreeWidgetItem *> processDataItems;

    // Ranges, units and outputs
    double pressureDivisor = 1000.0;
    double pressureRangeMax = 10.0;
    double pressureRangeMin = -1.0;
    int bitsNumber = 16;
    int unitIndex = 0;
    int analogMode = 0;
    double analogPoint0 = 0.0;
    double analogPoint10 = 0.0;
    bool output2IsSwitching = false;
    std::string temperatureUnitLabel = "\xB0"
                                       "C"; // Latin-1
    QString pressureUnitLabel = QStringLiteral("(bar)");

    // Charts and threshold marks
    QList<Utils::ThresholdWindowWidget *> thresholdWidgets;
    Utils::ThresholdWindowWidget *thresholdWidget = nullptr; // the last of thresholdWidgets
    Utils::ThresholdMultiManager *thresholdManager = nullptr;
    QStringList chartDockIcons;
};

} // namespace Core
} // namespace BravoSensorPlugin
