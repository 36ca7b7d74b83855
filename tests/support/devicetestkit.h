#pragma once

// What the window's communication tests share: masters to talk to and a hand for modal boxes.
#include <support/fakeconnection.h>
#include <support/modalhand.h>
#include <support/simulatedmaster.h>

#include <simulator/mastersimulator.h>

#include <extensionsystem/connectionregistry.h>
#include <plugin/sensorinterface.h>
#include <window/sensorwindow.h>
#include <window/sensorwindowdata.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QMap>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVariant>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

// Where a WindowSession lists its first port: after "Offline" and the separator.
constexpr int simulatedPortIndex = 2;
// The warning after a connection attempt or a watchdog check that nothing answered.
inline const QString silentSensorBox = QStringLiteral(
    "Connecting to sensor|The sensor did not respond, please make sure it is properly connected.");

// The frames of a log whose command byte is `command`.
QList<QByteArray> withCommand(const QList<QByteArray> &log, quint8 command);

// After QCoreApplication::exit() every event loop, also one started later, ends at once until the
// application's own loop has run: running it once lets a test go on after it quit the application.
void forgetQuit();

// Sets a double as a read or a settings file does: no edit.
void setQuietly(BravoSensorPlugin::Core::SensorWindow &window, const char *id, double value);

// Edits as the user would, through the property's manager; a button is clicked, a text set.
void edit(QtProperty *property, const QVariant &value);

// A port the connection registry serves with a simulated master of the sensor, and what the next
// master on it starts with: a product id other than the sensor's, faults, device numbers.
class SimulatedPort
{
public:
    SimulatedPort(const QString &name, const ExtensionSystem::SensorBasic &sensor);
    SimulatedPort(const SimulatedPort &) = delete;
    SimulatedPort &operator=(const SimulatedPort &) = delete;
    // Nothing set for the next master.
    void reset();

    QString productId;
    Kr7dSim::FaultSettings faults;
    QMap<QString, QVariant> stored;
    QPointer<Kr7dSim::SimulatedConnection> master; // owned by the connection registry
};

// A sensor window opened by its plugin object as the host opens it, with a hand for its modal
// boxes. The registry deletes a released connection soon after: the master's log is kept from
// the moment the window releases it.
class WindowSession
{
public:
    WindowSession(ExtensionSystem::SensorBasic &sensor, const QStringList &ports,
                  const QPointer<Kr7dSim::SimulatedConnection> &master);

    BravoSensorPlugin::Core::SensorInterface &object() { return m_object; }
    BravoSensorPlugin::Core::SensorWindow &window() { return *m_object.sensorWindow(); }
    // Picks the port in the combo as a user would.
    void choosePort(int index);
    // Sensor -> PC on the first port.
    void connectSensorToPc();
    // Boxes that came unasked or never came; empty when the hand met just what it expected.
    QString boxProblems() const;

    ModalHand hand;
    QList<QByteArray> logAtRelease;

private:
    QMdiSubWindow m_subWindow;
    BravoSensorPlugin::Core::SensorInterface m_object;
};
