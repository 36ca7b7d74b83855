#include <support/devicetestkit.h>

#include <comm/frame.h>
#include <comm/platformsleep.h>
#include <window/propertylookup.h>
#include <window/propertyvalues.h>
#include <window/sensorwindowdata.h>

#include <extensionsystem/globals.h>
#include <propertybrowser/qtbrowseritem.h>
#include <propertybrowser/qtpropertymanager.h>
#include <propertybrowser/qttreepropertybrowser.h>
#include <utils/buttonmanager.h>
#include <utils/genericchart.h>

#include <QTreeWidget>
#include <QtTest>

#include <qwt_plot.h>
#include <qwt_scale_div.h>

using BravoSensorPlugin::Core::ParameterKind;
using BravoSensorPlugin::Core::parameterKind;
using BravoSensorPlugin::Core::propertyKind;
using BravoSensorPlugin::Core::SensorWindow;
using BravoSensorPlugin::Core::SensorWindowData;
using BravoSensorPlugin::Core::settingsText;
using BravoSensorPlugin::Core::writeFrame;
namespace ParameterIds = BravoSensorPlugin::Core::ParameterIds;

Q_DECLARE_METATYPE(ParameterKind)

namespace {

QString fixture(const char *name)
{
    return QStringLiteral(KR7D_TEST_DATA_DIR "/") + QLatin1String(name);
}

std::unique_ptr<SensorWindow> open(const QString &path = fixture("nodes.xml"),
                                   const char *sensorName = "KR7D-T250")
{
    qputenv("KR7D_DESCRIPTION_FILE", path.toLocal8Bit());
    auto window = std::make_unique<SensorWindow>(ExtensionSystem::SensorBasic("", sensorName));
    qunsetenv("KR7D_DESCRIPTION_FILE");
    return window;
}

QtProperty *node(const SensorWindow &window, const char *id)
{
    return window.findProperty(window.windowData()->rootProperty, id);
}

// The browser shows the property: it has an item whose own and whose parents' rows are visible.
bool attached(const SensorWindow &window, QtProperty *property)
{
    const QList<QtBrowserItem *> items = window.propertyBrowser()->items(property);
    if (items.isEmpty())
        return false;
    for (QtBrowserItem *item = items.first(); item; item = item->parent()) {
        if (!window.propertyBrowser()->isItemVisible(item))
            return false;
    }
    return true;
}

// Every result fetch, also of the parameter reads, gets *fetched: the identity answer until the
// test changes it.
std::unique_ptr<ScriptedConnection> connectTo(SensorWindow &window, const QByteArray &identity,
                                              const std::shared_ptr<QByteArray> &fetched
                                              = std::make_shared<QByteArray>())
{
    *fetched = QByteArray::fromHex("050b26") + identity;
    auto master = std::make_unique<ScriptedConnection>(
        [fetched](const QByteArray &query) { return fetchAnswers(*fetched)(query); });
    window.setConnection(master.get());
    window.vAutoConnect(QString());
    return master;
}

// What the master was sent with the command, from its record `from` on.
QList<QByteArray> sentBy(const ScriptedConnection &master, quint8 command, std::size_t from = 0)
{
    QList<QByteArray> sent;
    for (std::size_t i = from; i < master.records().size(); ++i)
        sent << QByteArray::fromStdString(master.records().at(i).query);
    return withCommand(sent, command);
}

} // namespace

class tst_PropertyTree : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void eachNodeTypeGetsItsManagerAndValue_data();
    void eachNodeTypeGetsItsManagerAndValue();
    void enabledAndAttachedOnlyForExactTexts_data();
    void enabledAndAttachedOnlyForExactTexts();
    void treeHoldsWhatCanBeBuiltBelowTheRoot();
    void unusableDescriptionLeavesAnEmptyWindowSilently_data();
    void unusableDescriptionLeavesAnEmptyWindowSilently();

    void sensorRangeSetsThePressureProperties_data();
    void sensorRangeSetsThePressureProperties();
    void variantRangeFollowsTheIdentification_data();
    void variantRangeFollowsTheIdentification();

    void connectReadsEveryParameterAtItsAddress();
    void editsWriteTheLastValueAfterTheDelay_data();
    void editsWriteTheLastValueAfterTheDelay();
    void comboChoicesReachTheSelectedProperty();
    void hiddenParameterIsReadAndWritten();
    void readOnlyStaysDisabledAndUnwritten_data();
    void readOnlyStaysDisabledAndUnwritten();

    void processDataRows_data();
    void processDataRows();
    void lookupIsDepthFirstBelowTheStart();
};

void tst_PropertyTree::initTestCase()
{
    BravoSensorPlugin::Core::setPlatformSleepScale(0);
}

void tst_PropertyTree::cleanup()
{
    ExtensionSystem::Globals::setLanguage("en");
}

// One row per kind: what the kind table makes of a node of each.
void tst_PropertyTree::eachNodeTypeGetsItsManagerAndValue_data()
{
    QTest::addColumn<QByteArray>("id");
    QTest::addColumn<ParameterKind>("kind");
    QTest::addColumn<QString>("caption"); // German, else English
    QTest::addColumn<QString>("value");   // bools: the check state, their text stays empty
    QTest::addColumn<QVariant>("minimum");
    QTest::addColumn<QVariant>("maximum");
    QTest::addColumn<QString>("stored"); // the settings text; null when not stored
    const QVariant none;
    const auto row = [](const char *name, const char *id, ParameterKind kind,
                        const QString &caption, const char *value, const QVariant &minimum,
                        const QVariant &maximum, const char *stored) {
        QTest::newRow(name) << QByteArray(id) << kind << caption << QString::fromLatin1(value)
                            << minimum << maximum << QString::fromLatin1(stored);
    };
    using Kind = ParameterKind;
    row("category", "General", Kind::Category, "Allgemein", "", none, none, nullptr);
    row("enumerator item without German", "Units", Kind::Enumerator, "Einheiten", "kPa", none, none,
        "2");
    row("int", "Delay", Kind::Int, QStringLiteral("Verz\u00F6gerung"), "7", -5, 100, "7");
    row("double without German", "Level", Kind::Double, "Level", "7.000", -1.5, 250.5, "7.000000");
    row("bool from 1", "Lock", Kind::Bool, "Sperre", "true", none, none, "1");
    row("action", "TeachTEACHBUTTON", Kind::Action, "Einlernen", "Starten", none, none, nullptr);
    row("editable text", "Tag", Kind::String, "Anwendung", "Hydraulics", none, none, "1");
}

void tst_PropertyTree::eachNodeTypeGetsItsManagerAndValue()
{
    QFETCH(ParameterKind, kind);
    QFETCH(QByteArray, id);
    QFETCH(QString, stored);
    QCOMPARE(parameterKind(typeText(kind)), kind);
    ExtensionSystem::Globals::setLanguage("de");
    const auto window = open();
    const SensorWindowData &data = *window->windowData();
    QtProperty *built = node(*window, id.constData());
    QVERIFY(built);
    QCOMPARE(propertyKind(built), kind);
    QTEST(built->propertyName(), "caption");
    const QStringList choices = {QStringLiteral("Pneumatics"), QStringLiteral("Hydraulics")};
    QCOMPARE(settingsText(built, choices).value_or(QString()), stored);
    if (kind == ParameterKind::Bool) {
        QTEST(QVariant(data.boolManager->value(built)).toString(), "value");
        QCOMPARE(built->valueText(), QString());
    } else {
        QTEST(built->valueText(), "value");
    }
    if (kind == ParameterKind::Int) {
        QTEST(QVariant(data.intManager->minimum(built)), "minimum");
        QTEST(QVariant(data.intManager->maximum(built)), "maximum");
    } else if (kind == ParameterKind::Double) {
        QTEST(QVariant(data.doubleManager->minimum(built)), "minimum");
        QTEST(QVariant(data.doubleManager->maximum(built)), "maximum");
    }
}

void tst_PropertyTree::enabledAndAttachedOnlyForExactTexts_data()
{
    QTest::addColumn<QByteArray>("id");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("marked"); // status tip "readOnly"
    QTest::newRow("no readonly, no visible") << QByteArray("Delay") << true << true << false;
    QTest::newRow("category readonly true") << QByteArray("Rules") << false << true << false;
    QTest::newRow("readonly false with a blank")
        << QByteArray("FalseWithBlank") << false << true << false;
    QTest::newRow("visible true with a blank")
        << QByteArray("VisibleWithBlank") << true << false << false;
    QTest::newRow("read-only text") << QByteArray("VendorReadOnly") << false << true << true;
    QTest::newRow("text without readonly") << QByteArray("Note") << true << true << true;
    QTest::newRow("editable text") << QByteArray("Tag") << true << true << false;
    QTest::newRow("hidden parent") << QByteArray("Counter") << true << false << false;
    QTest::newRow("below a hidden parent") << QByteArray("CounterReset") << true << false << false;
}

void tst_PropertyTree::enabledAndAttachedOnlyForExactTexts()
{
    QFETCH(QByteArray, id);
    const auto window = open();
    QtProperty *built = node(*window, id.constData());
    QVERIFY(built);
    QTEST(built->isEnabled(), "enabled");
    QTEST(attached(*window, built), "shown");
    QTEST(built->statusTip() == QLatin1String(ParameterIds::readOnlyMarker), "marked");
}

void tst_PropertyTree::treeHoldsWhatCanBeBuiltBelowTheRoot()
{
    const auto window = open();
    const SensorWindowData &data = *window->windowData();
    QtProperty *root = data.rootProperty;
    QCOMPARE(root->propertyName(), window->windowTitle());
    QCOMPARE(window->propertyBrowser()->properties(), QList<QtProperty *>{root});

    // Nodes of an unknown type, below one or below a node without index, and child elements
    // named Property are left out; the empty <property/> of Rules yields nothing.
    QStringList ids;
    for (const QtProperty *below : window->allSubProperties(root))
        ids << below->propertyId();
    QCOMPARE(ids.join(QLatin1Char(' ')),
             QStringLiteral("General Units Delay Level LevelFromDecimal Lock LockFromText "
                            "TeachTEACHBUTTON ResetButton VendorReadOnly Note Tag Output "
                            "SettingsPointsPressureA1 ThresholdsPressure1A1 ThresholdsPressure2A1 "
                            "ThresholdsPressure1A2 ThresholdsPressure2A2 analogPressure0V "
                            "analogPressure10V Twin Rules ReadOnlyTRUE ReadOnlyYes FalseWithBlank "
                            "VisibleWithBlank Counter CounterReset CounterLimit Twin"));
    // Nothing that was left out lingers in a manager.
    int managed = 0;
    for (const auto *manager : window->findChildren<QtAbstractPropertyManager *>())
        managed += manager->properties().size();
    QCOMPARE(managed, ids.size() + 1);
    QCOMPARE(data.hiddenPropertyIds, QStringList({"VisibleWithBlank", "CounterLimit", "Counter"}));
    QCOMPARE(node(*window, "Twin")->propertyName(), QStringLiteral("First twin"));
}

void tst_PropertyTree::unusableDescriptionLeavesAnEmptyWindowSilently_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing file") << fixture("missing.xml");
    QTest::newRow("malformed file") << fixture("malformed.xml");
    QTest::newRow("no parameter or process-data section") << fixture("noparameters.xml");
}

void tst_PropertyTree::unusableDescriptionLeavesAnEmptyWindowSilently()
{
    QFETCH(QString, path);
    ModalHand hand;
    const auto window = open(path);
    QCOMPARE(hand.unexpected(), QStringList());
    QVERIFY(window->propertyBrowser()->properties().isEmpty());
    QVERIFY(window->allSubProperties(window->windowData()->rootProperty).isEmpty());
    QCOMPARE(window->windowData()->processDataTree->topLevelItemCount(), 0);
}

void tst_PropertyTree::sensorRangeSetsThePressureProperties_data()
{
    QTest::addColumn<QByteArray>("sensor");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<double>("divisor");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("upperPoint"); // 1A1, 1A2
    QTest::addColumn<double>("lowerPoint"); // 2A1, 2A2
    QTest::newRow("scale 10, up to 250")
        << QByteArray("KR7D-T250") << -1.0 << 250.0 << 10.0 << 1 << 125.0 << 62.5;
    QTest::newRow("no scale keeps the scale in force")
        << QByteArray("KR7D-NOSCALE") << 0.0 << 40.0 << 1000.0 << 3 << 20.0 << 10.0;
    QTest::newRow("unlisted sensor keeps the start values")
        << QByteArray("KR7D-X") << -1.0 << 10.0 << 1000.0 << 3 << 5.0 << 2.5;
}

void tst_PropertyTree::sensorRangeSetsThePressureProperties()
{
    QFETCH(QByteArray, sensor);
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(int, decimals);
    QFETCH(double, upperPoint);
    QFETCH(double, lowerPoint);
    const auto window = open(fixture("nodes.xml"), sensor.constData());
    const SensorWindowData &data = *window->windowData();
    QTEST(data.pressureDivisor, "divisor");

    const QMap<QByteArray, double> starts{
        {"ThresholdsPressure1A1", upperPoint}, {"ThresholdsPressure1A2", upperPoint},
        {"ThresholdsPressure2A1", lowerPoint}, {"ThresholdsPressure2A2", lowerPoint},
        {"analogPressure0V", minimum},         {"analogPressure10V", maximum}};
    for (auto start = starts.cbegin(); start != starts.cend(); ++start) {
        QtProperty *point = node(*window, start.key().constData());
        QCOMPARE(data.doubleManager->value(point), start.value());
        QCOMPARE(data.doubleManager->minimum(point), minimum);
        QCOMPARE(data.doubleManager->maximum(point), maximum);
        QCOMPARE(data.doubleManager->decimals(point), decimals);
    }

    data.chart->poPlot(0)->replot();
    QCOMPARE(data.chart->poPlot(0)->axisScaleDiv(QwtPlot::yLeft).interval(),
             QwtInterval(minimum, maximum));
}

void tst_PropertyTree::variantRangeFollowsTheIdentification_data()
{
    QTest::addColumn<QByteArray>("identification");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<int>("bits");
    QTest::addColumn<double>("divisor");
    QTest::addColumn<int>("decimals");
    QTest::newRow("seven characters") << QByteArray("K7DT100") << 0.0 << 100.0 << 14 << 100.0 << 2;
    QTest::newRow("longer text, code at its end")
        << QByteArray("K7DT-T016") << -1.0 << 16.0 << 16 << 1000.0 << 3;
    QTest::newRow("unknown code") << QByteArray("K7DT999") << -1.0 << 250.0 << 16 << 10.0 << 1;
    QTest::newRow("scale that is no number keeps the scale")
        << QByteArray("K7DTNOS") << 0.0 << 40.0 << 12 << 10.0 << 1;
}

void tst_PropertyTree::variantRangeFollowsTheIdentification()
{
    QFETCH(QByteArray, identification);
    const auto window = open();
    const auto master = connectTo(*window, identification);

    const SensorWindowData &data = *window->windowData();
    QTEST(data.pressureRangeMin, "minimum");
    QTEST(data.pressureRangeMax, "maximum");
    QTEST(data.bitsNumber, "bits");
    QTEST(data.pressureDivisor, "divisor");
    QTEST(data.doubleManager->decimals(node(*window, "ThresholdsPressure1A2")), "decimals");
    QVERIFY(sentBy(*master, 0x24).isEmpty());
}

void tst_PropertyTree::connectReadsEveryParameterAtItsAddress()
{
    const auto window = open();
    const auto master = connectTo(*window, "K7DT100");
    const QList<QByteArray> reads = sentBy(*master, 0x26);
    // Address texts are trimmed; of two properties with one id the last one's address counts.
    QVERIFY(reads.contains(BravoSensorPlugin::Core::readRequestFrame(83, 0)));
    QVERIFY(reads.contains(BravoSensorPlugin::Core::readRequestFrame(86, 0)));
    QVERIFY(!reads.contains(BravoSensorPlugin::Core::readRequestFrame(80, 0)));
}

void tst_PropertyTree::editsWriteTheLastValueAfterTheDelay_data()
{
    QTest::addColumn<QList<QByteArray>>("ids");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<bool>("textHandling");
    QTest::addColumn<QList<QByteArray>>("writes");
    const auto row = [](const char *name, QList<QByteArray> ids, QVariantList values,
                        const QList<QByteArray> &writes, bool textHandling = false) {
        QTest::newRow(name) << ids << values << textHandling << writes;
    };
    row("int", {"Delay"}, {42}, {writeFrame(60, 0, 7, 42)});
    row("enumerator", {"Units"}, {1}, {writeFrame(40, 0, 6, 1)});
    row("double", {"Level"}, {12.5}, {writeFrame(61, 0, 7, 1250)});
    row("bool", {"Lock"}, {false}, {writeFrame(63, 0, 6, 0)});
    row("button click", {"ResetButton"}, {QVariant()}, {writeFrame(2, 1, 6, 1)});
    row("text once handling is on", {"Tag"}, {"Pneumatics"}, {writeFrame(24, 0, 6, 1)}, true);
    row("text stays unwritten", {"Tag"}, {"Pneumatics"}, {});
    // Every property edited reaches the sensor once, with its last value, in the order of the
    // first edits.
    row("bool, int, bool again: each once", {"Lock", "Delay", "Lock"}, {false, 5, true},
        {writeFrame(63, 0, 6, 1), writeFrame(60, 0, 7, 5)});
}

void tst_PropertyTree::editsWriteTheLastValueAfterTheDelay()
{
    QFETCH(QList<QByteArray>, ids);
    QFETCH(QVariantList, values);
    QFETCH(bool, textHandling);
    QFETCH(QList<QByteArray>, writes);
    const auto window = open();
    const auto master = connectTo(*window, "K7DT100");
    QVERIFY(QMetaObject::invokeMethod(window.get(), "enableStringManagerHandling",
                                      Q_ARG(bool, textHandling)));

    for (int i = 0; i < ids.size(); ++i)
        edit(node(*window, ids.at(i).constData()), values.at(i));

    QCOMPARE(window->sendDelayTimer()->isActive(), !writes.isEmpty());
    QTRY_VERIFY(!window->sendDelayTimer()->isActive());
    QCOMPARE(sentBy(*master, 0x24), writes);
}

void tst_PropertyTree::comboChoicesReachTheSelectedProperty()
{
    const auto window = open();
    QVERIFY(QMetaObject::invokeMethod(window.get(), "comboIndexChangedInt", Q_ARG(int, 1)));
    QVERIFY(!window->sendDelayTimer()->isActive());

    QtProperty *tag = node(*window, "Tag");
    QtTreePropertyBrowser *browser = window->propertyBrowser();
    browser->setCurrentItem(browser->items(tag).first());
    QVERIFY(QMetaObject::invokeMethod(window.get(), "comboIndexChangedString",
                                      Q_ARG(QString, QStringLiteral("Pneumatics"))));
    QCOMPARE(window->windowData()->stringManager->value(tag), QStringLiteral("Pneumatics"));
    QVERIFY(!window->sendDelayTimer()->isActive());

    const auto master = connectTo(*window, "K7DT100");
    browser->setCurrentItem(browser->items(tag).first());
    QVERIFY(QMetaObject::invokeMethod(window.get(), "comboIndexChangedInt", Q_ARG(int, 1)));
    QVERIFY(window->sendDelayTimer()->isActive());
    QTRY_COMPARE(sentBy(*master, 0x24), QList<QByteArray>{writeFrame(24, 0, 6, 1)});
}

void tst_PropertyTree::hiddenParameterIsReadAndWritten()
{
    using BravoSensorPlugin::Core::readRequestFrame;
    const auto window = open(fixture("hiddenparameter.xml"), "KR7D-HIDDEN");
    const auto fetched = std::make_shared<QByteArray>();
    const auto master = connectTo(*window, "K7DH100", fetched);
    *fetched = QByteArray::fromHex("0500270001f4");
    const std::size_t logged = master->records().size();

    window->readAllParameters();
    QCOMPARE(window->windowData()->intManager->value(node(*window, "ServiceInterval")), 500);
    QVERIFY(QMetaObject::invokeMethod(window.get(), "vWriteAllSettings", Q_ARG(bool, false)));
    QCOMPARE(sentBy(*master, 0x26, logged),
             QList<QByteArray>({readRequestFrame(80, 0), readRequestFrame(90, 0)}));
    QCOMPARE(sentBy(*master, 0x24, logged),
             QList<QByteArray>({writeFrame(80, 0, 7, 500), writeFrame(90, 0, 7, 500)}));
}

void tst_PropertyTree::readOnlyStaysDisabledAndUnwritten_data()
{
    QTest::addColumn<QByteArray>("id");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("readonly false with a blank, no marker in the id")
        << QByteArray("FalseWithBlank") << 83 << true;
    QTest::newRow("editable") << QByteArray("Delay") << 60 << false;
}

// Neither the re-enabling after a write-all nor the write-all itself touches a read-only one,
// and a settings file does not set one.
void tst_PropertyTree::readOnlyStaysDisabledAndUnwritten()
{
    QFETCH(QByteArray, id);
    QFETCH(int, index);
    QFETCH(bool, readOnly);
    const auto window = open();
    const auto master = connectTo(*window, "K7DT100");
    const std::size_t logged = master->records().size();
    QVERIFY(QMetaObject::invokeMethod(window.get(), "vWriteAllSettings", Q_ARG(bool, false)));

    QCOMPARE(node(*window, id.constData())->isEnabled(), !readOnly);
    const QList<QByteArray> writes = sentBy(*master, 0x24, logged);
    const bool written = std::any_of(writes.cbegin(), writes.cend(), [index](const QByteArray &w) {
        return (quint8(w.at(3)) | quint8(w.at(4)) << 8) == index;
    });
    QCOMPARE(written, !readOnly);

    // A window without a sensor shows what it opens, but for the sensor's own values.
    const QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("read-only.tgs"));
    QtProperty *property = node(*window, id.constData());
    QtIntPropertyManager &values = *window->windowData()->intManager;
    values.setValue(property, values.value(property) + 1);
    QVERIFY(window->saveSettingsFile(file));
    const auto unconnected = open();
    QtIntPropertyManager &shown = *unconnected->windowData()->intManager;
    QtProperty *opened = node(*unconnected, id.constData());
    const int held = shown.value(opened);
    QVERIFY(unconnected->bOpenSettings(file));
    QCOMPARE(shown.value(opened) != held, !readOnly);
}

void tst_PropertyTree::processDataRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("icon");
    QTest::newRow("output A1") << 0 << "ProcessOutputA1"
                               << "Output A1" << false << "Off" << true;
    QTest::newRow("signal") << 2 << "ProcessSignal"
                            << "Signal" << false << "OK" << true;
    QTest::newRow("hidden row keeps its number") << 3 << "ProcessTemperature"
                                                 << "Temperature" << true << " 0" << false;
    QTest::newRow("visible True hides") << 4 << "ProcessPressure"
                                        << "Pressure" << true << " 0" << false;
    QTest::newRow("sixth row starts empty") << 5 << "ProcessExtra"
                                            << "Extra" << false << "" << false;
}

void tst_PropertyTree::processDataRows()
{
    QFETCH(int, row);
    QFETCH(QString, id);
    QFETCH(QString, caption);
    const auto window = open();
    const SensorWindowData &data = *window->windowData();
    QCOMPARE(data.processDataItems.size(), 6);
    QCOMPARE(data.categoryRows.value(id, -1), row);
    const QTreeWidgetItem *item = data.processDataTree->topLevelItem(row);
    QCOMPARE(item->text(0), caption + QLatin1String("     "));
    QCOMPARE(item->statusTip(0), id);
    QTEST(item->isHidden(), "hidden");
    QTEST(item->text(1), "value");
    QTEST(!item->icon(1).isNull(), "icon");
}

// start ─┬─ a ── b
//        └─ b
void tst_PropertyTree::lookupIsDepthFirstBelowTheStart()
{
    using BravoSensorPlugin::Core::findProperty;
    QtGroupPropertyManager groups;
    const auto add = [&groups](QtProperty *parent, const char *id) {
        QtProperty *property = groups.addProperty(QLatin1String(id));
        property->setPropertyId(QLatin1String(id));
        if (parent)
            parent->addSubProperty(property);
        return property;
    };
    QtProperty *start = add(nullptr, "start");
    QtProperty *deep = add(add(start, "a"), "b");
    add(start, "b");
    QCOMPARE(findProperty(start, "b"), deep);
    QCOMPARE(findProperty(start, "start"), nullptr);
    QCOMPARE(findProperty(nullptr, "a"), nullptr);
    QVERIFY(BravoSensorPlugin::Core::allSubProperties(nullptr).isEmpty());
}

QTEST_MAIN(tst_PropertyTree)
#include "tst_propertytree.moc"
