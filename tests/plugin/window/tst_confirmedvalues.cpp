#include <support/devicetestkit.h>

#include <comm/fixedframes.h>
#include <comm/frame.h>
#include <comm/platformsleep.h>
#include <comm/protocol.h>
#include <plugin/sensorcatalogue.h>
#include <window/propertyvalues.h>
#include <window/valueconfirmations.h>
#include <window/ui_sensorwindow.h>

#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qtpropertymanager.h>
#include <propertybrowser/qttreepropertybrowser.h>

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTreeWidget>
#include <QtTest>

using BravoSensorPlugin::Core::SensorWindow;
using BravoSensorPlugin::Core::SensorWindowData;
using BravoSensorPlugin::Core::ValueConfirmations;
using Faults = Kr7dSim::FaultSettings;
namespace Protocol = BravoSensorPlugin::Core::Protocol;

namespace {

const QString simulatedPort = QStringLiteral("SIM-CONFIRM");

// Values no fresh sensor holds, so that a read can only show them by reading them.
const QMap<QString, QVariant> distinctValues
    = {{QStringLiteral("OnDelay1"), 1234},
       {QStringLiteral("ThresholdsTemp1A1"), 4321},
       {QStringLiteral("ThresholdsPressure1A1"), 770},
       {QStringLiteral("ApplicationTag"), QStringLiteral("Line 7")}};

} // namespace

Q_DECLARE_METATYPE(Kr7dSim::FaultSettings)

// What the window shows is what the sensor holds: values change only from answers that arrived
// whole, steps are repeated over a noisy line, and every value the sensor has not confirmed is
// marked.
class tst_ConfirmedValues : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void eventsDecideEachValuesMark_data();
    void eventsDecideEachValuesMark();
    void noisyLineStillReadsEveryValue_data();
    void noisyLineStillReadsEveryValue();
    void lostSensorChangesNoValue_data();
    void lostSensorChangesNoValue();
    void writeIsRepeatedThenConfirmedOrRefused_data();
    void writeIsRepeatedThenConfirmedOrRefused();
    void marksSayWhatIsUnconfirmed();

private:
    SensorWindow &window() { return m_session->window(); }
    SensorWindowData &data() { return *window().windowData(); }
    QtProperty *property(const QString &id)
    {
        return window().findProperty(data().rootProperty, id.toLatin1());
    }
    void connectSensorToPc();
    // Each parameter as the window shows it, in device numbers (texts as they are).
    QMap<QString, QVariant> shownValues();
    // "<id>: <shown> != <stored>" for each parameter shown otherwise than the sensor stores it.
    QStringList differencesFromSensor();
    QTreeWidgetItem *treeItem(const QString &id);
    QString unwrittenText();

    ExtensionSystem::SensorBasic m_sensor = BravoSensorPlugin::Core::buildSensorCatalogue().front();
    SimulatedPort m_port{simulatedPort, m_sensor};
    QPointer<Kr7dSim::SimulatedConnection> &m_master = m_port.master;
    std::unique_ptr<WindowSession> m_session;
};

void tst_ConfirmedValues::initTestCase()
{
    BravoSensorPlugin::Core::setPlatformSleepScale(0);
}

void tst_ConfirmedValues::init()
{
    m_port.faults = {};
    m_port.stored = distinctValues;
    m_session = std::make_unique<WindowSession>(m_sensor, QStringList{simulatedPort}, m_master);
}

void tst_ConfirmedValues::cleanup()
{
    const QString problems = m_session->boxProblems();
    m_session.reset();
    QVERIFY2(problems.isEmpty(), qPrintable(problems));
    QTRY_VERIFY(!m_master);
}

void tst_ConfirmedValues::connectSensorToPc()
{
    m_session->connectSensorToPc();
    data().justConnected = false;
}

QMap<QString, QVariant> tst_ConfirmedValues::shownValues()
{
    using namespace BravoSensorPlugin::Core;
    QMap<QString, QVariant> shown;
    for (QtProperty *parameter : window().allSubProperties(data().rootProperty)) {
        const QString id = parameter->propertyId();
        const QVariant number = numericValue(parameter);
        if (number.isValid())
            shown.insert(id, deviceNumber(parameter, number, data().pressureDivisor, true));
        else if (holdsText(propertyKind(parameter)))
            shown.insert(id, parameter->valueText());
    }
    return shown;
}

QStringList tst_ConfirmedValues::differencesFromSensor()
{
    QStringList differences;
    const QMap<QString, QVariant> shown = shownValues();
    for (auto entry = shown.cbegin(); entry != shown.cend(); ++entry) {
        const QVariant stored = m_master->simulator().parameter(entry.key());
        if (entry->toString() != stored.toString())
            differences << entry.key() + QLatin1String(": ") + entry->toString()
                               + QLatin1String(" != ") + stored.toString();
    }
    return differences;
}

QTreeWidgetItem *tst_ConfirmedValues::treeItem(const QString &id)
{
    auto *tree = window().propertyBrowser()->findChild<QTreeWidget *>();
    const QList<QTreeWidgetItem *> found
        = tree->findItems(property(id)->propertyName(), Qt::MatchExactly | Qt::MatchRecursive, 0);
    return found.value(0);
}

QString tst_ConfirmedValues::unwrittenText()
{
    const auto *label = window().findChild<QLabel *>(QStringLiteral("unwrittenChanges"));
    return label && !label->isHidden() ? label->text() : QString();
}

// Events: "read A" and "acknowledged A" confirm, "edit A" and "refused A" mark, "lost hh:mm:ss"
// takes the sensor away. Reasons for A, B and C in that order: "-" confirmed, "unread" not read
// yet; the unconfirmed ids and the pending count follow from them.
void tst_ConfirmedValues::eventsDecideEachValuesMark_data()
{
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("reasons");
    const auto row = [](const char *name, const char *events, const char *reasons) {
        QTest::newRow(name) << QString::fromLatin1(events) << QString::fromLatin1(reasons);
    };
    row("nothing read yet", "", "unread|unread|unread");
    row("read and acknowledged values are confirmed", "read A, acknowledged B, read C", "-|-|-");
    row("an edit waits, a refusal stays until a write or read succeeds",
        "read A, read B, read C, edit A, edit B, refused B, edit C",
        "not yet written|refused by the sensor|not yet written");
    row("a refused value is confirmed by reading it back",
        "read A, refused A, read A, read B, read C", "-|-|-");
    row("offline keeps edits, refusals and unread values as they were",
        "read A, refused B, edit C, lost 09:05:07",
        "sensor offline since 09:05:07|refused by the sensor|not yet written");
    row("a later loss does not move the time", "read A, lost 09:05:07, lost 10:00:00",
        "sensor offline since 09:05:07|unread|unread");
    row("read after the loss confirms again", "read A, lost 09:05:07, read A, read B, read C",
        "-|-|-");
    row("a sensor found again is not read yet; edits and refusals stay",
        "read A, refused B, edit C, lost 09:05:07, found",
        "unread|refused by the sensor|not yet written");
    row("ids that are not tracked are never marked",
        "read A, read B, read C, edit Button, refused Group", "-|-|-");
}

void tst_ConfirmedValues::eventsDecideEachValuesMark()
{
    QFETCH(QString, events);
    QFETCH(QString, reasons);
    const QStringList ids{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    ValueConfirmations confirmations;
    confirmations.track(ids);
    for (const QString &event : events.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        const QString what = event.section(QLatin1Char(' '), 0, 0);
        const QString argument = event.section(QLatin1Char(' '), 1);
        if (what == QLatin1String("read") || what == QLatin1String("acknowledged"))
            confirmations.confirm(argument);
        else if (what == QLatin1String("edit"))
            confirmations.markPending(argument);
        else if (what == QLatin1String("refused"))
            confirmations.markRefused(argument);
        else if (what == QLatin1String("found"))
            confirmations.sensorFound();
        else
            confirmations.sensorLost(QTime::fromString(argument, QStringLiteral("hh:mm:ss")));
    }
    const QStringList expected = reasons.split(QLatin1Char('|'));
    QStringList shown;
    QStringList unconfirmed;
    for (const QString &id : ids) {
        const bool confirmed = confirmations.state(id) == ValueConfirmations::State::Confirmed;
        QCOMPARE(confirmations.reason(id).isEmpty(), confirmed);
        shown << (confirmed ? QStringLiteral("-") : confirmations.reason(id));
        if (!confirmed)
            unconfirmed << id;
    }
    QCOMPARE(shown.join(QLatin1Char('|')),
             QString(reasons).replace(QLatin1String("unread"),
                                      QLatin1String("not read from the sensor yet")));
    QCOMPARE(confirmations.unconfirmedIds(), unconfirmed);
    QCOMPARE(confirmations.pendingCount(), int(expected.count(QStringLiteral("not yet written"))));
}

void tst_ConfirmedValues::noisyLineStillReadsEveryValue_data()
{
    QTest::addColumn<Faults>("faults");
    // Periods prime to the four frames of a read, so that losses hit every frame of it.
    QTest::newRow("one answer in nineteen lost") << Faults{0, 19};
    QTest::newRow("one answer in twenty-three damaged") << Faults{0, 0, 23};
    QTest::newRow("one in thirteen lost, one in seventeen damaged") << Faults{0, 13, 17};
}

void tst_ConfirmedValues::noisyLineStillReadsEveryValue()
{
    QFETCH(Faults, faults);
    m_port.faults = faults;
    connectSensorToPc();
    QVERIFY(window().isSensorConnected());
    QVERIFY(m_master->simulator().counters().answersDropped
                + m_master->simulator().counters().answersCorrupted
            > 0);
    const QStringList differences = differencesFromSensor();
    QVERIFY2(differences.isEmpty(), qPrintable(differences.join(QLatin1Char('\n'))));
    QCOMPARE(window().unconfirmedParameterIds(), QStringList());
}

void tst_ConfirmedValues::lostSensorChangesNoValue_data()
{
    QTest::addColumn<Faults>("faults");
    QTest::addColumn<bool>("liveData");
    QTest::newRow("answers lost") << Faults{0, 1} << false;
    QTest::newRow("answers damaged") << Faults{0, 0, 1} << false;
    QTest::newRow("cable pulled") << Faults{0, 0, 0, 0} << false;
    // Then the poll may be the one to give the sensor up, inside the read's wait.
    QTest::newRow("cable pulled while polling") << Faults{0, 0, 0, 0} << true;
}

void tst_ConfirmedValues::lostSensorChangesNoValue()
{
    QFETCH(Faults, faults);
    QFETCH(bool, liveData);
    connectSensorToPc();
    const QMap<QString, QVariant> before = shownValues();
    const QStringList differences = differencesFromSensor();
    QVERIFY2(differences.isEmpty(), qPrintable(differences.join(QLatin1Char('\n'))));
    data().liveDataEnabled = liveData;
    if (liveData)
        data().pollTimer.start();
    // A read that got through would change these.
    for (auto value = distinctValues.cbegin(); value != distinctValues.cend(); ++value)
        m_master->simulator().setParameter(
            value.key(), value->type() == QVariant::String ? QVariant() : 1);
    m_master->simulator().setFaults(faults);
    m_master->clearQueryLog();

    m_session->hand.expect(ModalHand::click(QMessageBox::Ok));
    window().form()->actionRead->trigger();
    QTRY_VERIFY(m_session->hand.allAnswered());
    QCOMPARE(m_session->hand.boxesSeen().last(), silentSensorBox);
    QVERIFY(!window().isSensorConnected());
    QCOMPARE(shownValues(), before);
    // The read stopped at the first parameter it could not get, after three tries.
    QVERIFY(withCommand(m_session->logAtRelease, Protocol::ReadRequest).size() <= 3);
    QCOMPARE(window().unconfirmedParameterIds().size(), before.size());
    QVERIFY(property(QStringLiteral("OnDelay1"))
                ->valueNote()
                .contains(QRegularExpression(
                    QStringLiteral("^sensor offline since \\d\\d:\\d\\d:\\d\\d$"))));
}

void tst_ConfirmedValues::writeIsRepeatedThenConfirmedOrRefused_data()
{
    QTest::addColumn<QString>("answers"); // to each write in turn: ok, lost, damaged or refused
    QTest::addColumn<int>("writes");
    QTest::addColumn<QString>("note");
    QTest::addColumn<bool>("named");
    QTest::newRow("taken") << "ok" << 1 << "" << false;
    QTest::newRow("lost, then taken") << "lost ok" << 2 << "" << false;
    QTest::newRow("damaged twice, then taken") << "damaged damaged ok" << 3 << "" << false;
    QTest::newRow("refused three times")
        << "refused refused refused ok" << 3 << "refused by the sensor" << true;
    QTest::newRow("refused after a loss")
        << "lost refused refused" << 3 << "refused by the sensor" << true;
}

void tst_ConfirmedValues::writeIsRepeatedThenConfirmedOrRefused()
{
    QFETCH(QString, answers);
    QFETCH(QString, note);
    connectSensorToPc();
    data().liveDataEnabled = true;
    QStringList script = answers.split(QLatin1Char(' '));
    int writes = 0;
    ScriptedConnection master([&](const QByteArray &query) -> std::optional<QByteArray> {
        if (query.size() < 3 || quint8(query.at(2)) != Protocol::Write)
            return query;
        ++writes;
        const QString answer = script.isEmpty() ? QStringLiteral("ok") : script.takeFirst();
        if (answer == QLatin1String("lost"))
            return std::nullopt;
        const QByteArray status(1, answer == QLatin1String("refused") ? '\x30' : '\0');
        QByteArray frame = BravoSensorPlugin::Core::buildFrame(Protocol::Write, status);
        if (answer == QLatin1String("damaged"))
            frame.chop(1);
        return frame;
    });
    window().setConnection(&master);
    QtProperty *edited = property(QStringLiteral("OnDelay1"));
    data().intManager->setValue(edited, 1500);
    QCOMPARE(window().unconfirmedParameterIds(), QStringList{QStringLiteral("OnDelay1")});

    QVERIFY(QMetaObject::invokeMethod(&window(), "sendDelayValue"));
    QTEST(writes, "writes");
    QCOMPARE(edited->valueNote(), note);
    QCOMPARE(window().unconfirmedParameterIds().isEmpty(), note.isEmpty());
    QTEST(window().statusBar()->currentMessage().contains(edited->propertyName()), "named");
    QVERIFY(window().isSensorConnected());
    window().setConnection(m_master);
}

void tst_ConfirmedValues::marksSayWhatIsUnconfirmed()
{
    // Before the first read nothing shown is the sensor's.
    QCOMPARE(window().unconfirmedParameterIds().size(), shownValues().size());
    QCOMPARE(property(QStringLiteral("OnDelay1"))->valueNote(),
             QStringLiteral("not read from the sensor yet"));

    connectSensorToPc();
    QCOMPARE(window().unconfirmedParameterIds(), QStringList());
    QTreeWidgetItem *item = treeItem(QStringLiteral("OnDelay1"));
    QVERIFY(item);
    QVERIFY(!item->font(1).italic());
    QVERIFY(item->icon(0).isNull());
    QCOMPARE(unwrittenText(), QString());

    data().intManager->setValue(property(QStringLiteral("OnDelay1")), 1500);
    data().intManager->setValue(property(QStringLiteral("OffDelay1")), 1600);
    QVERIFY(item->font(1).italic());
    QVERIFY(!item->icon(0).isNull());
    QCOMPARE(item->toolTip(1), QStringLiteral("not yet written"));
    QCOMPARE(unwrittenText(), QStringLiteral("2 changes not written to the sensor"));
    QCOMPARE(window().unconfirmedParameterIds(),
             QStringList({QStringLiteral("OffDelay1"), QStringLiteral("OnDelay1")}));

    // Every pending edit is written, and each mark goes once the sensor has taken its value.
    QVERIFY(QMetaObject::invokeMethod(&window(), "sendDelayValue"));
    QCOMPARE(window().unconfirmedParameterIds(), QStringList());
    QCOMPARE(unwrittenText(), QString());
    QVERIFY(!item->font(1).italic());
    QCOMPARE(m_master->simulator().parameter(QStringLiteral("OnDelay1")).toInt(), 1500);
    QCOMPARE(m_master->simulator().parameter(QStringLiteral("OffDelay1")).toInt(), 1600);

    emit data().portCombo->activated(0);
    QVERIFY(item->font(1).italic());
    QVERIFY(item->toolTip(1).startsWith(QStringLiteral("sensor offline since ")));
    QCOMPARE(window().unconfirmedParameterIds().size(), shownValues().size());
}

QTEST_MAIN(tst_ConfirmedValues)
#include "tst_confirmedvalues.moc"
