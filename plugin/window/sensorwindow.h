#pragma once

#include "pendingedits.h"
#include "sequenceguard.h"
#include "valueconfirmations.h"
#include <plugin/sensor.h>

#include <extensionsystem/communicationinterface.h>

#include <QMainWindow>
#include <QMap>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <QVariant>

#include <boost/property_tree/ptree.hpp>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QtBrowserItem;
class QtProperty;
class QtTreePropertyBrowser;

namespace Utils {
class ValueOverTime;
namespace Charts {
class GenericChart;
}
} // namespace Utils

namespace BravoSensorPlugin {
namespace Core {

class Ui_SensorWindow;
struct CheckedSettings;
struct ParameterDifference;
struct ParameterRule;
struct OutputConfig;
struct SensorWindowData;
enum class Quantity;
enum class StepAnswer;

// The main window of one opened sensor: property tree, charts, connection and files.
class SensorWindow : public QMainWindow
{
    Q_OBJECT
public:
    // Built inside the host's sub-window, when given one: a finished window handed over to it
    // would have every widget styled once more.
    SensorWindow(const ExtensionSystem::SensorBasic &sensor, QWidget *parent = nullptr);
    ~SensorWindow() override;

    // Hides (true) or shows the property dock and every chart dock.
    void vSetPresentationMode(bool hide);

    // The host's connection for the chosen port; null when none is registered. Not owned.
    void setConnection(ExtensionSystem::CommunicationInterface *connection);

    SensorWindowData *windowData() const;
    Ui_SensorWindow *form() const;
    QtTreePropertyBrowser *propertyBrowser() const;
    const Sensor &sensorRecord() const;
    QTimer *sendDelayTimer(); // the 400 ms debounce of property edits

    // The window starts both lookups at rootProperty. Depth first: the first property whose id,
    // in Latin-1, equals id; null when none.
    QtProperty *findProperty(QtProperty *start, const QByteArray &id) const;
    // Every property below start, each before its own sub-properties.
    QList<QtProperty *> allSubProperties(QtProperty *start) const;

    // Every browser item that shows the property with the id; nothing for an unknown id.
    void setPropertyVisible(const QString &propertyId, bool visible);
    bool isPropertyVisible(const QString &propertyId) const;

    // Device communication. Each call blocks in nested event loops while its frames are in flight.
    // One frame with a 2000 ms time-out: true when answered without "ERROR".
    bool bSendFrame(const QByteArray &query, bool showUi = true);
    // One frame with a 2000 ms time-out: the answer, empty when none came.
    QByteArray requestAnswer(const QByteArray &query, const QByteArray &pattern = QByteArray());
    // The 6-bit check octet over the command and the first count parameter bytes.
    quint8 checkOctet(quint8 command, const QByteArray &parameters, int count) const;
    bool bCheckSensorIdentity();
    // True when the sensor answered; showUi applies to the read request only. A read whose answer
    // is missing, damaged or an error is repeated twice before it fails; a failed read changes
    // nothing.
    bool readParameter(const QString &id, bool showUi);
    void readAllParameters();
    bool bFactoryResetSequence(); // always true
    void vShowUpdateDialog(bool show);
    // One process-data answer (its hex text) into the plots and the process-data rows.
    void vUpdateProcessData(QString answerHex);

    // Automation of the host. Both write the file as the menu actions do, replacing an old one
    // only when complete; on failure they say so in the status bar and return false.
    bool saveSettingsFile(const QString &fileName);
    bool exportChartData(const QString &fileName, const QString &delimiter);
    // Differences from the settings file as "<id>: file <value>, sensor <value>", a connected
    // sensor read again first; -1 when the file cannot be read or is for another sensor.
    int compareSettingsFile(const QString &fileName, QStringList *differences);
    bool isSensorConnected() const { return sensorConnected; }

    // Ids of the parameters whose shown value the sensor has not confirmed.
    QStringList unconfirmedParameterIds() const;
    // "<id> (<why>)" for each of them.
    QStringList unconfirmedParameterReport() const;

signals:
    void vAboutToClose();
    void vSendData(QString data);
    void vSendFrame(ExtensionSystem::CommunicationInterface::DataFrame frame);
    void vComPortSelected(QString port);
    void vUpdateChart(double value);
    void sendQuery();

public slots:
    void vOpenManual();
    void vSensorUpdate(QVariant value);
    void updateChart();
    void updateComPortList(QStringList ports);
    void vRestoreFactorySettings();
    void vExportChartData();
    void vClearHistory();
    void vPrintDocument();
    void setWindowActive(bool active);
    void vAutoConnect(QString ComPort);
    void vSetCompleteName(QString str);
    void vSaveSettings();
    bool bOpenSettings(QString fileName = QString());

protected slots:
    void vLoadSettings();
    void updateWindowTitle();
    void vConnectToPort(QString port);
    void vDisconnect();
    void enableStatusChecking(bool enabled);
    void removeSubProperties(QtProperty *property);
    void queryStatusData(unsigned int index = 0);
    void queryChartData();
    void slotContinousDataTimeout();
    bool bCheckConnection();
    bool bConnectToSensor();
    void itemSelected(QtBrowserItem *item);
    void intValueChanged(QtProperty *property, int value);
    void doubleValueChanged(QtProperty *property, double value);
    void boolValueChanged(QtProperty *property, bool value);
    void stringValueChanged(QtProperty *property, const QString &value);
    void enumValueChanged(QtProperty *property, int value);
    void buttonClicked(QtProperty *property);
    void sendDataFrame(ExtensionSystem::CommunicationInterface::DataFrame *frames,
                       bool showUi = true);
    void slotCurrentOutputChanged(int index);
    void chartThresholdChanged(unsigned int markIndex, double value);
    void enableTreeDataHandling(bool enabled);
    void enableStringManagerHandling(bool enabled);
    void actionEnableLiveData();
    void actionConnectSensor(int state);
    void sendDelayValue();
    void vUpdateProgressBar();
    void vWriteAllSettings(bool checked);
    void writeAllSettings();
    void vRadAllSettings(bool checked);
    void signalWriteModeIcon(bool signalIcon = false);
    void vZommResetForNoiseLine();
    void comboIndexChangedString(QString text);
    void comboIndexChangedInt(int index);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class EditsMuted;
    friend class FrameSteps;

    void createPortCombo();
    void createPropertyDock();
    void createPropertyEditing();
    // Links (or unlinks) each kind's manager to the edit slot of its storage: the managers of
    // texts when `texts`, all others otherwise.
    void linkEdits(bool linked, bool texts);
    void createStatusWidgets();
    void createUpdateDialogWidgets();
    void connectFormActions();
    // Part of a language change: the texts the window adds to its form.
    void retranslateWindowTexts();
    void insertOfflineItem();

    // Device communication
    ExtensionSystem::CommunicationInterface::DataFrameRecord
    transferOne(const QByteArray &query, const std::string &pattern, double timeoutMs, bool showUi);
    // One frame as bSendFrame sends it: the answer, empty when none came.
    QByteArray answerTo(const QByteArray &query, bool showUi);
    // From the read request on, repeated while an answer is missing, damaged or an error: how the
    // last attempt ended, and its fetched answer when it was taken. Missing when the sequence was
    // stopped.
    StepAnswer fetchParameter(const QString &id, bool showUi, bool payloadRequired,
                              QByteArray *answer);
    // The write frame, repeated while its answer is missing, damaged or an error; marks the value
    // confirmed or refused by the last answer. False when the sensor never answered.
    bool writeParameterValue(QtProperty *property, const QByteArray &frame);
    // The update dialog over a bulk transfer of about `frames` frames; its bar moves one step a
    // frame and ends with endUpdateDialog, after the transfer's last frame.
    void startUpdateDialog(int frames);
    void endUpdateDialog();
    void updateBarMoved(int value);
    void finishConnectionAfterUpdate();
    // Frames of reading every parameter once, of one connection attempt that finds the sensor.
    int readAllFrameCount() const;
    static int connectFrameCount();
    // "Reading parameters <done> / <total>: <caption>" in the status bar.
    void showReadingProgress(int done, int total, const QString &id);
    // Texts are decoded during the read as decodeTexts says, and the other way round afterwards.
    void readAllSwitchingTextDecoding(bool decodeTexts);
    void decodeAnswer(QtProperty *property, const QByteArray &answer);
    // Every edit not yet written, in the order made, one write each.
    void writePendingEdits();
    // The write of pendingValue to pendingProperty, in the device's units.
    void writePendingProperty();

    // What the user starts while a sequence waits runs once that sequence has ended, in order.
    struct DeferredAction
    {
        QString name;     // as the status bar names it
        bool needsSensor; // told instead of run when the sensor has gone meanwhile
        std::function<void()> run;
    };
    // True when a sequence waits: the action is then queued and the status bar says so.
    bool deferredWhileBusy(DeferredAction action);
    void runDeferredWork();
    // An action that needs the sensor and finds it gone is not run; the status bar says why.
    void runOrSayWhyNot(const DeferredAction &action);
    void restoreFactorySettingsConfirmed();
    // A port chosen while a sequence waited: chosen again, unless it has left the list.
    void resumePortChoice(const QString &port);
    void applyUnitsAndOutputs(const QString &changedId);
    void vEnableEditableProperties();

    // Settings files and export
    static constexpr int exportPrecision = 2;
    QString settingsParameterText() const;
    // What the parameters of a settings file must hold, pressure points in the sensor's range.
    QList<ParameterRule> settingsRules() const;
    // Takes the histories.
    void applyCheckedSettings(const CheckedSettings &settings,
                              std::array<Utils::ValueOverTime, 2> &histories);
    void writeLoadedSettings();
    QList<const Utils::ValueOverTime *> exportSeries() const;
    QList<QString> exportColumnNames() const;
    // Replaces the file only when all is written; says why not in the status bar.
    bool writeWholeFile(const QString &fileName, const QByteArray &bytes);

    // Comparison with a settings file
    void createCompareAction();
    void retranslateCompareAction();
    void vCompareSettings(); // asks for the file and shows the differences
    std::optional<QList<ParameterDifference>> differencesFrom(const QString &fileName) const;
    QString shownValue(const QString &id, const QString &storedValue) const;
    QAction *compareAction = nullptr; // owned (Qt parent)

    // Process-data polling
    void startPoll();
    void completePoll(unsigned int id);
    // False when the miss made the window give the sensor up for good.
    bool absorbPollMiss();
    // Forgets the poll in flight; its connection may still be writing into its list.
    void abandonPendingPoll();
    void showProcessStates(bool output1, bool output2, bool signalTooLow);

    // Connection workflow
    // Up to `checks` identity checks; true at the first that matches.
    bool bIdentityConfirmed(int checks);
    // A sensor that answered with another identity, or one that never answered.
    void showConnectionFailure(bool sensorAnswered);
    void showSilentSensorWarning();
    // The sensor stopped answering while connected: offline, and the user told so.
    void giveUpSilentSensor();
    // The sensor's operations and the outputs choice are offered while a sensor is connected.
    void enableSensorToolbars(bool enabled);
    void connectSensorToPc();
    // False when the user declined to overwrite the sensor's settings.
    bool connectPcToSensor();
    void takeConnectedSensor();
    void makeMarksEditable();
    void dropFailedConnection();

    // Whether the sensor confirmed what the tree shows
    void trackConfirmations();
    void confirmValue(const QString &id);
    void markValuePending(const QString &id);
    void markValueRefused(QtProperty *property);
    void markValuesOffline();
    // The value's mark and tool tip, and the count of unwritten changes.
    void showConfirmation(const QString &id);
    void showConfirmations();

    // Charts and threshold marks
    Utils::Charts::GenericChart *createCharts();
    void createOutputsCombo();
    void addChartDockActions(Utils::Charts::GenericChart *chart, const QStringList &icons);
    void setChartTitles();
    void initChartDefaults();
    QString outputCaption(int output) const; // "Output 1", "Output 2"
    QString pressureCaption() const;         // "Pressure (bar)"
    QList<QtBrowserItem *> browserItemsOf(const QString &propertyId) const;

    // Description model: the property tree, pressure ranges, edits and the process-data panel
    // Once, from the constructor: the properties, not yet shown. False when the description
    // lists no parameters.
    bool bBuildPropertyTree();
    void showPropertyTree();
    void vBuildPropertyNode(const boost::property_tree::ptree &node, QtProperty *parent);
    void vApplySensorRange();
    // After the device identified itself: the range and scale of its variant (connectedSensorText).
    void vApplyVariantRange();
    void updatePressureDecimals();
    double convertPressure(int unitIndex, bool toUnit, double value) const;
    double convertTemperature(int unitIndex, double value) const;
    // Where every value slot ends: remembers the edit and restarts sendTimer.
    void propertyValueEdited(QtProperty *property, const QVariant &value);
    // Marked read-only by the description: never editable, never written.
    bool isReadOnlyParameter(const QtProperty *property) const;
    void vCreateProcessDataDock();
    void vAddCategoryCaption(const boost::property_tree::ptree &category, int row);
    // Re-captions the node's property and its sub-properties in the current language.
    void vRetranslatePropertyNode(const boost::property_tree::ptree &node);
    // Part of a language change: property captions, choices and the process-data rows.
    void retranslateDescriptionTexts();

    // Units and outputs
    // Converts every pressure and temperature point from the units of oldUnitIndex into the current
    // ones.
    void convertUnitDependentValues(int oldUnitIndex);
    // The value the device stores for an edit: bar and degrees Celsius, analog points kept apart.
    QVariant deviceUnitValue(QtProperty *property, const QVariant &value);
    void showDeviceValuesInDisplayUnits();
    void showAnalogAxis(const OutputConfig &config);
    QString quantityCaption(Quantity quantity) const; // "Pressure (psi)"
    int enumPropertyValue(const char *id, int fallback) const;
    double doublePropertyValue(const QString &id) const;

    std::unique_ptr<SensorWindowData> data;
    std::unique_ptr<Ui_SensorWindow> ui;
    QtTreePropertyBrowser *browser = nullptr; // owned; deleted by the destructor
    Sensor sensor;
    QTimer sendTimer; // 400 ms after the last edit, runs sendDelayValue()
    SequenceState sequences;
    ValueConfirmations confirmations;
    QLabel *unwrittenLabel = nullptr; // owned (Qt parent)

    bool sensorConnected = false;
    bool editForwarding = true;   // false while the PC -> Sensor transfer writes all settings
    bool bulkWriteActive = false; // a write-all runs; no chart refresh after each write
    bool retranslating = true;    // value changes are ignored; true until construction is done
    QtProperty *pendingProperty = nullptr; // owned by its manager
    QVariant pendingValue;
    int previousUnitIndex = 0;
    QString connectedSensorText;               // the device's identification text
    QMap<QString, QString> parameterAddresses; // id -> "index;subIndex;size"
    QMap<QString, QStringList> itemTexts;      // id -> choices of an editable text property
    QSet<QString> readOnlyIds;                 // parameters the description marks read-only
    PendingEdits pendingEdits;
    QList<DeferredAction> deferredActions;
    // Shared with every window of the same, unchanged description file.
    std::shared_ptr<const boost::property_tree::ptree> descriptionTree
        = std::make_shared<const boost::property_tree::ptree>();
};

} // namespace Core
} // namespace BravoSensorPlugin
