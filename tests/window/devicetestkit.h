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
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

// The frames of a log whose command byte is `command`.
inline QList<QByteArray> withCommand(const QList<QByteArray> &log, quint8 command)
{
    QList<QByteArray> found;
    for (const QByteArray &frame : log) {
        if (frame.size() > 2 && quint8(frame.at(2)) == command)
            found << frame;
    }
    return found;
}

// The connection registry hands out a simulated master of the sensor for `port`, prepared by
// `prepare` (faults, values), and nothing for any other port.
inline void serveSimulatedPort(const QString &port, const ExtensionSystem::SensorBasic &sensor,
                               std::function<QString()> productId,
                               std::function<void(Kr7dSim::SimulatedConnection &)> prepare)
{
    ExtensionSystem::ConnectionRegistry::instance().setFactory(
        [=](const ExtensionSystem::PortSettings &settings)
            -> std::unique_ptr<ExtensionSystem::CommunicationInterface> {
            if (settings.portName != port)
                return nullptr;
            std::unique_ptr<Kr7dSim::SimulatedConnection> master = simulatedMaster(
                QString::fromStdString(sensor.name()), productId(), settings.portName);
            prepare(*master);
            return master;
        });
}

// After QCoreApplication::exit() every event loop, also one started later, ends at once until the
// application's own loop has run: running it once lets a test go on after it quit the application.
inline void forgetQuit()
{
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

// A sensor window opened by its plugin object as the host opens it, with a hand for its modal
// boxes. The registry deletes a released connection soon after: the master's log is kept from
// the moment the window releases it.
class WindowSession
{
public:
    WindowSession(ExtensionSystem::SensorBasic &sensor, const QStringList &ports,
                  const QPointer<Kr7dSim::SimulatedConnection> &master)
        : m_object(&sensor, &m_subWindow)
    {
        m_object.vAvailablePortsUpdated(ports);
        BravoSensorPlugin::Core::SensorWindow *window = m_object.sensorWindow();
        QObject::connect(window, &BravoSensorPlugin::Core::SensorWindow::vComPortSelected, window,
                         [this, &master](const QString &port) {
                             if (port.isEmpty() && master)
                                 logAtRelease = master->queryLog();
                         });
    }

    BravoSensorPlugin::Core::SensorInterface &object() { return m_object; }
    BravoSensorPlugin::Core::SensorWindow &window() { return *m_object.sensorWindow(); }
    // Picks the port in the combo as a user would.
    void choosePort(int index)
    {
        QComboBox *combo = window().windowData()->portCombo;
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    // Boxes that came unasked or never came; empty when the hand met just what it expected.
    QString boxProblems() const
    {
        QStringList problems = hand.unexpected();
        if (!hand.allAnswered())
            problems << QStringLiteral("an expected box or dialog never showed");
        return problems.join(QLatin1Char('\n'));
    }

    ModalHand hand;
    QList<QByteArray> logAtRelease;

private:
    QMdiSubWindow m_subWindow;
    BravoSensorPlugin::Core::SensorInterface m_object;
};
