#include "devicetestkit.h"

#include <propertybrowser/qtpropertymanager.h>
#include <utils/buttonmanager.h>

#include <QtTest>

QList<QByteArray> withCommand(const QList<QByteArray> &log, quint8 command)
{
    QList<QByteArray> found;
    for (const QByteArray &frame : log) {
        if (frame.size() > 2 && quint8(frame.at(2)) == command)
            found << frame;
    }
    return found;
}

void forgetQuit()
{
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

void setQuietly(BravoSensorPlugin::Core::SensorWindow &window, const char *id, double value)
{
    QVERIFY(QMetaObject::invokeMethod(&window, "enableTreeDataHandling", Q_ARG(bool, false)));
    window.windowData()->doubleManager->setValue(
        window.findProperty(window.windowData()->rootProperty, id), value);
    QVERIFY(QMetaObject::invokeMethod(&window, "enableTreeDataHandling", Q_ARG(bool, true)));
}

void edit(QtProperty *property, const QVariant &value)
{
    QtAbstractPropertyManager *manager = property->propertyManager();
    if (auto *choices = qobject_cast<QtEnumPropertyManager *>(manager))
        choices->setValue(property, value.toInt());
    else if (auto *ints = qobject_cast<QtIntPropertyManager *>(manager))
        ints->setValue(property, value.toInt());
    else if (auto *doubles = qobject_cast<QtDoublePropertyManager *>(manager))
        doubles->setValue(property, value.toDouble());
    else if (auto *bools = qobject_cast<QtBoolPropertyManager *>(manager))
        bools->setValue(property, value.toBool());
    else if (auto *buttons = qobject_cast<Utils::ButtonManager *>(manager))
        buttons->click(property);
    else if (auto *texts = qobject_cast<QtStringPropertyManager *>(manager))
        texts->setValue(property, value.toString());
}

SimulatedPort::SimulatedPort(const QString &name, const ExtensionSystem::SensorBasic &sensor)
{
    const QString sensorName = QString::fromStdString(sensor.name());
    ExtensionSystem::ConnectionRegistry::instance().setFactory(
        [this, name, sensorName](const ExtensionSystem::PortSettings &settings)
            -> std::unique_ptr<ExtensionSystem::CommunicationInterface> {
            if (settings.portName != name)
                return nullptr;
            auto next = simulatedMaster(sensorName, productId, settings.portName);
            next->simulator().setFaults(faults);
            for (auto value = stored.cbegin(); value != stored.cend(); ++value)
                next->simulator().setParameter(value.key(), value.value());
            master = next.get();
            return next;
        });
}

void SimulatedPort::reset()
{
    productId.clear();
    faults = {};
    stored.clear();
}

WindowSession::WindowSession(ExtensionSystem::SensorBasic &sensor, const QStringList &ports,
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

void WindowSession::choosePort(int index)
{
    QComboBox *combo = window().windowData()->portCombo;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void WindowSession::connectSensorToPc()
{
    hand.expect(ModalHand::push(QStringLiteral("sensorToPc")));
    choosePort(simulatedPortIndex);
}

QString WindowSession::boxProblems() const
{
    QStringList problems = hand.unexpected();
    if (!hand.allAnswered())
        problems << QStringLiteral("an expected box or dialog never showed");
    return problems.join(QLatin1Char('\n'));
}
