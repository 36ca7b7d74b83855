#include <support/devicetestkit.h>

#include <comm/platformsleep.h>
#include <model/outputconfig.h>
#include <model/parameterids.h>
#include <model/settingsdocument.h>
#include <model/valuerules.h>
#include <plugin/sensorcatalogue.h>
#include <window/propertyvalues.h>
#include <window/ui_sensorwindow.h>

#include <extensionsystem/connectionregistry.h>
#include <propertybrowser/qtbrowseritem.h>
#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qtpropertymanager.h>
#include <propertybrowser/qttreepropertybrowser.h>
#include <utils/fiberrunner.h>
#include <utils/genericchart.h>
#include <utils/thresholdwindowwidget.h>

#include <QAction>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <rapidcheck.h>
#include <rapidcheck/state.h>

#include <cmath>

using namespace BravoSensorPlugin::Core;
using Faults = Kr7dSim::FaultSettings;

Q_LOGGING_CATEGORY(lcConsistency, "kr7d.test.consistency")

namespace {

const QString simulatedPort = QStringLiteral("SIM-CONSISTENCY");
// The fixed run of CI; `scripts/soak` passes its own RC_PARAMS.
constexpr const char *ciParameters = "seed=19 max_success=50 max_size=40";

// The value a property shows when the sensor holds `number` and `unitIndex` is shown.
double shownFromDevice(const QtProperty *property, int number, int unitIndex, double divisor)
{
    const QString id = property->propertyId();
    switch (propertyKind(property)) {
    case ParameterKind::Bool:
        return number != 0 ? 1.0 : 0.0;
    case ParameterKind::Enumerator:
        return decodeEnumerationValue(id, number);
    case ParameterKind::Double: {
        const double device = decodeDeviceDouble(id, number, divisor);
        if (isPressureId(id))
            return convertPressure(unitIndex, true, device);
        return isFahrenheit(unitIndex) ? convertTemperature(unitIndex, device) : device;
    }
    default:
        return number;
    }
}

// How far a shown value may lie from the sensor's: half a shown digit plus one device step
// converted into the shown unit, since an edit in psi or °F lands on the nearest device number.
double tolerance(const QtProperty *property, int unitIndex, double divisor)
{
    if (propertyKind(property) != ParameterKind::Double)
        return 0.0;
    const auto *doubles = static_cast<QtDoublePropertyManager *>(property->propertyManager());
    const QString id = property->propertyId();
    const double step = isPressureId(id) ? pressureUnitFactor(unitIndex) / divisor
                                         : (isFahrenheit(unitIndex) ? 1.8 : 1.0) * 0.01;
    return 0.5 * std::pow(10.0, -doubles->decimals(property)) + step + 1e-9;
}

struct Model
{
    bool cablePlugged = true;
    bool faulty = false;
};

// One window opened by its plugin object, the simulated sensor behind its port and the hand
// that answers its boxes as the current step wants.
class Session
{
public:
    Session();
    ~Session();

    SensorWindow &window() { return m_session->window(); }
    SensorWindowData &data() { return *window().windowData(); }
    QtProperty *property(const QString &id)
    {
        return window().findProperty(data().rootProperty, id.toLatin1());
    }
    Kr7dSim::SimulatedConnection *master() { return m_master; }
    WindowSession &windowSession() { return *m_session; }
    QTemporaryDir &dir() { return m_dir; }

    // The parameters with a number in the sensor; the user may edit those enabled and shown.
    const QList<QtProperty *> &parameters() const { return m_parameters; }
    QList<QtProperty *> editableParameters();
    double value(const QString &id);

    // What the next boxes are answered with.
    QString direction = QStringLiteral("sensorToPc");
    bool confirm = true;
    Faults faults;
    bool cablePlugged = true;

    std::unique_ptr<ExtensionSystem::CommunicationInterface>
    plugIn(const ExtensionSystem::PortSettings &settings);
    void applyFaults();
    // Runs timers and dialogs out until no sequence, write or box is left; says what never ended.
    QString settle();
    QStringList problems();

private:
    void answer(QDialog *dialog) const;
    void remember();
    bool userCanSee(QtProperty *property);
    QStringList markProblems();

    ExtensionSystem::SensorBasic m_sensor;
    QPointer<Kr7dSim::SimulatedConnection> m_master; // owned by the connection registry
    std::unique_ptr<WindowSession> m_session;
    QList<QtProperty *> m_parameters;
    QMap<QString, int> m_sensorMemory; // what the sensor holds, kept across unplugging
    QSet<QString> m_readOnly;          // as the sensor's description says
    QTemporaryDir m_dir;
};

Session *current = nullptr;
int casesRun = 0;
int stepsRun = 0;

Session::Session()
    : m_sensor(buildSensorCatalogue().front())
{
    current = this;
    m_session = std::make_unique<WindowSession>(m_sensor, QStringList{simulatedPort}, m_master);
    m_session->hand.setFallback([this](QDialog *dialog) { answer(dialog); });
    QObject::connect(&window(), &SensorWindow::vComPortSelected, &window(),
                     [this](const QString &port) {
                         if (port.isEmpty())
                             remember();
                     });
    const auto sensor = simulatedMaster(QString::fromStdString(m_sensor.name()));
    for (QtProperty *property : window().allSubProperties(data().rootProperty)) {
        const ParameterKind kind = propertyKind(property);
        if (holdsValue(kind) && !holdsText(kind))
            m_parameters << property;
        const auto *stored = sensor->simulator().parameters().find(property->propertyId());
        if (stored && stored->info.readOnly)
            m_readOnly << property->propertyId();
    }
}

Session::~Session()
{
    m_session.reset();
    current = nullptr;
}

std::unique_ptr<ExtensionSystem::CommunicationInterface>
Session::plugIn(const ExtensionSystem::PortSettings &settings)
{
    if (settings.portName != simulatedPort)
        return nullptr;
    auto master
        = simulatedMaster(QString::fromStdString(m_sensor.name()), QString(), settings.portName);
    for (auto held = m_sensorMemory.cbegin(); held != m_sensorMemory.cend(); ++held)
        master->simulator().setParameter(held.key(), held.value());
    m_master = master.get();
    applyFaults();
    return master;
}

void Session::applyFaults()
{
    if (!m_master)
        return;
    Faults now = faults;
    if (!cablePlugged)
        now.unplugAfterMs = 0;
    m_master->simulator().setFaults(now);
}

void Session::remember()
{
    if (!m_master || m_master->simulator().isUnplugged())
        return;
    for (const QtProperty *parameter : qAsConst(m_parameters)) {
        const QVariant held = m_master->simulator().parameter(parameter->propertyId());
        if (held.isValid())
            m_sensorMemory.insert(parameter->propertyId(), held.toInt());
    }
}

void Session::answer(QDialog *dialog) const
{
    if (dialog->objectName() == QLatin1String("connectionSwitchingDialog")) {
        ModalHand::push(direction)(dialog);
        return;
    }
    auto *box = qobject_cast<QMessageBox *>(dialog);
    if (!box)
        return;
    QAbstractButton *button
        = confirm ? box->button(QMessageBox::Ok) : box->button(QMessageBox::Cancel);
    if (!button)
        button = confirm ? box->button(QMessageBox::Yes) : box->button(QMessageBox::No);
    if (!button)
        button = box->defaultButton() ? box->defaultButton() : box->buttons().value(0);
    if (button)
        button->click();
}

bool Session::userCanSee(QtProperty *property)
{
    QtTreePropertyBrowser *browser = window().propertyBrowser();
    const QList<QtBrowserItem *> items = browser->items(property);
    for (QtBrowserItem *item : items) {
        bool shown = true;
        for (QtBrowserItem *up = item; up && shown; up = up->parent())
            shown = browser->isItemVisible(up);
        if (shown)
            return true;
    }
    return false;
}

QList<QtProperty *> Session::editableParameters()
{
    QList<QtProperty *> editable;
    for (QtProperty *parameter : qAsConst(m_parameters)) {
        if (parameter->isEnabled() && userCanSee(parameter))
            editable << parameter;
    }
    return editable;
}

double Session::value(const QString &id)
{
    return numericValue(property(id)).toDouble();
}

QString Session::settle()
{
    QTimer *sendTimer = window().sendDelayTimer();
    const int sendDelay = sendTimer->interval();
    QString busy;
    const bool atRest = QTest::qWaitFor(
        [&] {
            // Time passes: the debounce and the update dialog's pacing run out now.
            if (sendTimer->isActive() && sendTimer->remainingTime() > 0)
                sendTimer->start(0);
            if (data().progressDialog.isVisible())
                data().progressBar->setValue(data().progressBar->maximum());
            const QWidget *modal = QApplication::activeModalWidget();
            busy = sendTimer->isActive()               ? QStringLiteral("a write still pending")
                   : Utils::FiberRunner::instance()->unfinished() > 0
                       ? QStringLiteral("a sequence still running")
                   : data().progressDialog.isVisible() ? QStringLiteral("the update dialog open")
                   : modal ? QStringLiteral("a box open: ") + modal->windowTitle()
                   : !cablePlugged && window().isSensorConnected()
                       ? QStringLiteral("a pulled cable unnoticed")
                       : QString();
            return busy.isEmpty();
        },
        20000);
    sendTimer->setInterval(sendDelay);
    // Deferred actions queued behind the last sequence get their turn.
    QCoreApplication::processEvents();
    return atRest ? QString() : busy;
}

QStringList Session::markProblems()
{
    OutputSelection selection;
    selection.pinFunctionA1 = int(value(QStringLiteral("PinFunctionA1")));
    selection.pinFunctionA2 = int(value(QStringLiteral("PinFunctionA2")));
    selection.analogMode = int(value(QStringLiteral("AnalogMode")));
    selection.unitIndex = int(value(QLatin1String(ParameterIds::temperatureSettings)));
    selection.outputIndex = data().outputsCombo->currentIndex();
    selection.pressureRangeMin = data().pressureRangeMin;
    selection.pressureRangeMax = data().pressureRangeMax;
    const OutputConfig config = outputConfig(selection);
    QStringList problems;
    for (int plot = 0; plot < 2; ++plot) {
        const MarkSource &source = config.marks.at(size_t(plot));
        const Utils::ThresholdWindowWidget *marks = data().thresholdWidgets.at(plot);
        if (!source.enabled())
            continue;
        const double lower = value(source.lowerId);
        const double upper = value(source.upperId);
        if (!marks->isLowerMarkEnabled() || !qFuzzyCompare(marks->lowerMark() + 1e6, lower + 1e6)
            || !qFuzzyCompare(marks->upperMark() + 1e6, upper + 1e6))
            problems << QStringLiteral("marks of plot %1%2 at %3 / %4, points %5 = %6, %7 = %8")
                            .arg(plot)
                            .arg(marks->isLowerMarkEnabled() ? QString()
                                                             : QStringLiteral(" (disabled)"))
                            .arg(marks->lowerMark())
                            .arg(marks->upperMark())
                            .arg(source.lowerId)
                            .arg(lower)
                            .arg(source.upperId)
                            .arg(upper);
    }
    return problems;
}

QStringList Session::problems()
{
    QStringList problems = markProblems();
    remember();
    const QStringList unconfirmed = window().unconfirmedParameterIds();
    const int unitIndex = int(value(QLatin1String(ParameterIds::temperatureSettings)));
    for (QtProperty *parameter : qAsConst(m_parameters)) {
        const QString id = parameter->propertyId();
        if (m_readOnly.contains(id) && parameter->isEnabled())
            problems << id + QStringLiteral(" is read-only but editable");
        if (!m_sensorMemory.contains(id) || unconfirmed.contains(id))
            continue;
        const double shown = numericValue(parameter).toDouble();
        const double expected = shownFromDevice(parameter, m_sensorMemory.value(id), unitIndex,
                                                data().pressureDivisor);
        if (std::abs(shown - expected) > tolerance(parameter, unitIndex, data().pressureDivisor))
            problems << QStringLiteral("%1 shows %2 as confirmed, the sensor holds %3 (%4 shown)")
                            .arg(id)
                            .arg(shown)
                            .arg(m_sensorMemory.value(id))
                            .arg(expected);
    }
    return problems;
}

// Every step acts as a user, a cable or a line would, lets the window come to rest and checks
// that it shows what the sensor holds.
void verifyAtRest(Session &session)
{
    const QString busy = session.settle();
    if (!busy.isEmpty())
        RC_FAIL("the window never came to rest: " + busy.toStdString());
    const QStringList problems = session.problems();
    if (!problems.isEmpty())
        RC_FAIL(problems.join(QLatin1Char('\n')).toStdString());
}

struct Step : rc::state::Command<Model, Session>
{
    void run(const Model &, Session &session) const override
    {
        ++stepsRun;
        act(session);
        verifyAtRest(session);
    }
    virtual void act(Session &session) const = 0;
};

// A position within whatever range applies when the step runs, so that shrinking keeps meaning.
rc::Gen<double> fraction()
{
    return rc::gen::map(rc::gen::inRange(0, 101), [](int percent) { return percent / 100.0; });
}

struct Connect : Step
{
    QString direction = *rc::gen::element(QStringLiteral("sensorToPc"),
                                          QStringLiteral("pcToSensor"), QStringLiteral("cancel"));
    bool confirm = *rc::gen::arbitrary<bool>();
    void act(Session &session) const override
    {
        session.direction = direction;
        session.confirm = confirm;
        session.windowSession().choosePort(simulatedPortIndex);
    }
    void show(std::ostream &os) const override
    {
        os << "Connect " << direction.toStdString() << (confirm ? ", OK" : ", Cancel");
    }
};

struct GoOffline : Step
{
    void act(Session &session) const override { session.windowSession().choosePort(0); }
    void show(std::ostream &os) const override { os << "Choose Offline"; }
};

// Whether the user can click the action in some tool bar or menu.
bool reachable(const QAction *action)
{
    const QList<QWidget *> widgets = action->associatedWidgets();
    return action->isEnabled()
           && std::any_of(widgets.cbegin(), widgets.cend(),
                          [](const QWidget *widget) { return widget->isEnabled(); });
}

// A value at `at` of the property's range (a spin box's whole range is too wide to mean much).
double valueAt(QtProperty *target, double at)
{
    QtAbstractPropertyManager *manager = target->propertyManager();
    if (auto *doubles = qobject_cast<QtDoublePropertyManager *>(manager)) {
        const double low = doubles->minimum(target);
        return low + at * (std::min(doubles->maximum(target), low + 1000.0) - low);
    }
    if (auto *ints = qobject_cast<QtIntPropertyManager *>(manager))
        return qRound(ints->minimum(target) + at * (ints->maximum(target) - ints->minimum(target)));
    if (auto *choices = qobject_cast<QtEnumPropertyManager *>(manager))
        return qRound(at * (choices->enumNames(target).size() - 1));
    return qRound(at);
}

// Edits one of what the user can edit at the time of the step; returns "id=value".
QString editOne(Session &session, int which, double at)
{
    const QList<QtProperty *> editable = session.editableParameters();
    if (editable.isEmpty())
        return QString();
    QtProperty *target = editable.at(which % editable.size());
    edit(target, valueAt(target, at));
    return target->propertyId() + QLatin1Char('=') + numericValue(target).toString();
}

struct Edit : Step
{
    int which = *rc::gen::inRange(0, 64);
    double at = *fraction();
    mutable QString edited; // what the last run edited, for the report
    void act(Session &session) const override { edited = editOne(session, which, at); }
    void show(std::ostream &os) const override
    {
        os << "Edit editable parameter #" << which << " to " << at << " of its range ("
           << (edited.isEmpty() ? "nothing editable" : edited.toStdString()) << ")";
    }
};

// An edit typed while a Read or Write waits for the sensor.
struct EditDuringSequence : Edit
{
    bool duringWrite = *rc::gen::arbitrary<bool>();
    void act(Session &session) const override
    {
        QTimer::singleShot(0, &session.window(),
                           [this, &session] { edited = editOne(session, which, at); });
        Ui_SensorWindow *form = session.window().form();
        QAction *sequence = duringWrite ? form->actionWriting : form->actionRead;
        if (reachable(sequence))
            sequence->trigger();
    }
    void show(std::ostream &os) const override
    {
        Edit::show(os);
        os << " during " << (duringWrite ? "Write" : "Read");
    }
};

// Units, output functions and analog mode, chosen by their index.
struct Choose : Step
{
    QString id = *rc::gen::element(QString::fromLatin1(ParameterIds::temperatureSettings),
                                   QStringLiteral("PinFunctionA1"), QStringLiteral("PinFunctionA2"),
                                   QStringLiteral("AnalogMode"));
    int index = *rc::gen::inRange(0, 8);
    void act(Session &session) const override
    {
        QtProperty *choice = session.property(id);
        const int count = session.data().enumManager->enumNames(choice).size();
        edit(choice, index % count);
    }
    void show(std::ostream &os) const override
    {
        os << "Choose " << id.toStdString() << " #" << index;
    }
};

struct ChooseOutput : Step
{
    int output = *rc::gen::inRange(0, 2);
    void act(Session &session) const override
    {
        session.data().outputsCombo->setCurrentIndex(output);
    }
    void show(std::ostream &os) const override { os << "Outputs combo #" << output; }
};

struct DragMark : Step
{
    int plot = *rc::gen::inRange(0, 2);
    unsigned int mark = *rc::gen::inRange(0u, 2u);
    double at = *fraction();
    void act(Session &session) const override
    {
        Utils::ThresholdWindowWidget *marks = session.data().thresholdWidgets.at(plot);
        const bool enabled = mark == 0 ? marks->isLowerMarkEnabled() : marks->isUpperMarkEnabled();
        if (!enabled)
            return;
        // The plot's range in the shown unit: its drawn scale follows the live data.
        const UnitScales scales
            = unitScales(int(session.value(QLatin1String(ParameterIds::temperatureSettings))),
                         session.data().pressureRangeMin, session.data().pressureRangeMax);
        const double low = plot == pressurePlot ? scales.pressureMin : scales.temperatureMin;
        const double high = plot == pressurePlot ? scales.pressureMax : scales.temperatureMax;
        emit marks->emitValueChanged(mark, low + at * (high - low));
    }
    void show(std::ostream &os) const override
    {
        os << "Drop " << (mark == 0 ? "lower" : "upper") << " mark of plot " << plot << " at " << at
           << " of its range";
    }
};

// A tool-bar action, when the user can reach it.
struct Trigger : Step
{
    QString action = *rc::gen::element(QStringLiteral("Read"), QStringLiteral("Write"),
                                       QStringLiteral("Live data"));
    void act(Session &session) const override
    {
        Ui_SensorWindow *form = session.window().form();
        QAction *target = action == QLatin1String("Read")    ? form->actionRead
                          : action == QLatin1String("Write") ? form->actionWriting
                                                             : form->actionEnable_live_data;
        if (reachable(target))
            target->trigger();
    }
    void show(std::ostream &os) const override { os << action.toStdString(); }
};

struct FactoryReset : Step
{
    bool confirm = *rc::gen::arbitrary<bool>();
    void act(Session &session) const override
    {
        session.confirm = confirm;
        QAction *reset = session.window().form()->actionDefaultSettings;
        if (reachable(reset))
            reset->trigger();
    }
    void show(std::ostream &os) const override
    {
        os << "Factory reset, " << (confirm ? "OK" : "Cancel");
    }
};

// A file saved from the window itself, some values changed within their range in the file's unit,
// then damaged or not, opened as the host's automation opens it.
struct OpenSettings : Step
{
    std::vector<std::pair<int, double>> changes
        = *rc::gen::container<std::vector<std::pair<int, double>>>(
            rc::gen::pair(rc::gen::inRange(0, 64), fraction()));
    int damage = *rc::gen::weightedElement<int>({{3, 0}, {1, 1}, {1, 2}, {1, 3}});
    void act(Session &session) const override
    {
        const QString path = session.dir().filePath(QStringLiteral("step.tgs"));
        if (!session.window().saveSettingsFile(path))
            RC_FAIL("the window could not save its settings");
        SettingsDocument document = readSettingsFile(path).document;
        QList<ParameterEntry> entries
            = parseParameterText(document.parameterText.value_or(QString()));
        QList<QtProperty *> writable;
        for (QtProperty *parameter : session.parameters()) {
            if (parameter->isEnabled()
                && parameter->propertyId() != QLatin1String(ParameterIds::temperatureSettings))
                writable << parameter;
        }
        for (const auto &[which, at] : changes) {
            QtProperty *target = writable.at(which % writable.size());
            const QString text = QString::number(valueAt(target, at), 'f', 3);
            for (ParameterEntry &entry : entries) {
                if (entry.id == target->propertyId())
                    entry.value = text;
            }
        }
        if (damage == 2 && !entries.isEmpty())
            entries.first().value = QStringLiteral("not a number");
        document.parameterText = parameterText(entries);
        if (damage == 3)
            document.sensorId = QStringLiteral("KR7D-OTHER");
        QByteArray bytes = writeSettingsDocument(document);
        if (damage == 1)
            bytes.truncate(bytes.size() / 2);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            RC_FAIL("the test could not write its settings file");
        file.close();
        session.confirm = true;
        session.window().bOpenSettings(path);
    }
    void show(std::ostream &os) const override
    {
        static const char *const damages[] = {"valid", "truncated", "not-a-number", "foreign"};
        os << "Open a " << damages[damage] << " settings file changing";
        for (const auto &[which, at] : changes)
            os << " #" << which << "->" << at;
    }
};

struct PullCable : Step
{
    void checkPreconditions(const Model &model) const override { RC_PRE(model.cablePlugged); }
    void apply(Model &model) const override { model.cablePlugged = false; }
    void act(Session &session) const override
    {
        session.cablePlugged = false;
        session.applyFaults();
    }
    void show(std::ostream &os) const override { os << "Pull the cable"; }
};

struct PlugCable : Step
{
    void checkPreconditions(const Model &model) const override { RC_PRE(!model.cablePlugged); }
    void apply(Model &model) const override { model.cablePlugged = true; }
    void act(Session &session) const override { session.cablePlugged = true; }
    void show(std::ostream &os) const override { os << "Plug the cable back"; }
};

// Latency within the time-out; lost and damaged answers every so often.
struct LineFaults : Step
{
    Faults faults{*rc::gen::element(0, 5, 30), *rc::gen::element(0, 5, 13),
                  *rc::gen::element(0, 5, 13)};
    void apply(Model &model) const override
    {
        model.faulty = faults.latencyMs || faults.dropEvery || faults.corruptEvery;
    }
    void act(Session &session) const override
    {
        session.faults = faults;
        session.applyFaults();
    }
    void show(std::ostream &os) const override
    {
        os << "Line faults: latency " << faults.latencyMs << " ms, drop every " << faults.dropEvery
           << ", corrupt every " << faults.corruptEvery;
    }
};

} // namespace

// Random sequences of what a user, a cable and a line do to a connected window; after each step
// the window at rest must show what the simulated sensor holds.
class tst_Consistency : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void windowShowsWhatTheSensorHolds();
    void cleanupTestCase();
};

void tst_Consistency::initTestCase()
{
    setPlatformSleepScale(0);
    if (qEnvironmentVariableIsEmpty("RC_PARAMS"))
        qputenv("RC_PARAMS", ciParameters);
    ExtensionSystem::ConnectionRegistry::instance().setFactory(
        [](const ExtensionSystem::PortSettings &settings)
            -> std::unique_ptr<ExtensionSystem::CommunicationInterface> {
            return current ? current->plugIn(settings) : nullptr;
        });
}

void tst_Consistency::windowShowsWhatTheSensorHolds()
{
    const bool held = rc::check("the window shows what the sensor holds", [] {
        Session session;
        ++casesRun;
        // Every case starts connected; the steps may leave that at once.
        session.windowSession().choosePort(simulatedPortIndex);
        verifyAtRest(session);
        rc::state::check(
            Model{}, session,
            rc::state::gen::execOneOfWithArgs<Edit, Edit, Edit, EditDuringSequence, Choose, Choose,
                                              ChooseOutput, DragMark, DragMark, Trigger, Trigger,
                                              FactoryReset, OpenSettings, Connect, GoOffline,
                                              PullCable, PlugCable, LineFaults>());
    });
    QVERIFY(held);
}

void tst_Consistency::cleanupTestCase()
{
    qCInfo(lcConsistency, "%d cases, %d steps (shrinking included)", casesRun, stepsRun);
}

QTEST_MAIN(tst_Consistency)
#include "tst_consistency.moc"
