#include <support/modalhand.h>

#include <window/sensorwindow.h>
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

#include <memory>

using BravoSensorPlugin::Core::SensorWindow;
using BravoSensorPlugin::Core::SensorWindowData;

namespace {

const char fixtureSensor[] = "KR7D-T250";

QString fixture(const char *name)
{
    return QStringLiteral(KR7D_TEST_DATA_DIR "/") + QLatin1String(name);
}

} // namespace

class tst_PropertyTree : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    // The build
    void eachNodeTypeGetsItsManagerAndValue_data();
    void eachNodeTypeGetsItsManagerAndValue();
    void captionsFollowTheHostLanguage_data();
    void captionsFollowTheHostLanguage();
    void enabledAndAttachedOnlyForExactTexts_data();
    void enabledAndAttachedOnlyForExactTexts();
    void hiddenPropertiesAreCompleteButNotShown();
    void duplicateIdsFindTheFirstAndAddressTheLast();
    void nodesThatCannotBeBuiltLeaveNoTrace_data();
    void nodesThatCannotBeBuiltLeaveNoTrace();
    void everythingHangsBelowTheRootInTheBrowser();
    void unusableDescriptionLeavesAnEmptyWindowSilently_data();
    void unusableDescriptionLeavesAnEmptyWindowSilently();

    // Pressure ranges
    void sensorRangeSetsThePressureProperties_data();
    void sensorRangeSetsThePressureProperties();
    void variantRangeFollowsTheIdentification_data();
    void variantRangeFollowsTheIdentification();

    // The edit path
    void valueSlotsHandTheEditOn_data();
    void valueSlotsHandTheEditOn();
    void buildValuesAndEditsWhileRetranslatingOrWithoutPropertyAreDropped();
    void editsWithinTheDelayWriteOnlyTheLast_data();
    void editsWithinTheDelayWriteOnlyTheLast();
    void selectingAnItemWritesNothing();
    void comboChoicesReachTheTextOrTheEditPath();
    void removeSubPropertiesDetachesTheBranch();

    // The process-data panel
    void processDataRows_data();
    void processDataRows();

private:
    // A window for the sensor, built from the description file at path.
    static std::unique_ptr<SensorWindow> open(const QString &path,
                                              const char *sensorName = fixtureSensor);
    static QtProperty *property(const SensorWindow &window, const char *id);
    static QString kindOf(const SensorWindow &window, const QtProperty *property);
    static QVariant valueOf(const SensorWindow &window, QtProperty *property);
    // Edits as the user would: through the property's manager.
    static void edit(const SensorWindow &window, const char *id, const QVariant &value);
    // The browser shows the property: it has an item whose own and whose parents' rows are visible.
    static bool attached(const SensorWindow &window, QtProperty *property);
};

std::unique_ptr<SensorWindow> tst_PropertyTree::open(const QString &path, const char *sensorName)
{
    // The form's Read Thresholds action has no slot to reach; the window says so on every start.
    for (int line = 0; line < 3; ++line)
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^QObject::connect: ")));
    qputenv("KR7D_DESCRIPTION_FILE", path.toLocal8Bit());
    auto window = std::make_unique<SensorWindow>(ExtensionSystem::SensorBasic("", sensorName));
    qunsetenv("KR7D_DESCRIPTION_FILE");
    return window;
}

QtProperty *tst_PropertyTree::property(const SensorWindow &window, const char *id)
{
    return window.findProperty(window.data->rootProperty, id);
}

QString tst_PropertyTree::kindOf(const SensorWindow &window, const QtProperty *property)
{
    const SensorWindowData &data = *window.data;
    const QMap<const QtAbstractPropertyManager *, QString> kinds{
        {data.groupManager, QStringLiteral("group")},
        {data.enumManager, QStringLiteral("enum")},
        {data.intManager, QStringLiteral("int")},
        {data.doubleManager, QStringLiteral("double")},
        {data.boolManager, QStringLiteral("bool")},
        {data.buttonManager, QStringLiteral("button")},
        {data.stringManager, QStringLiteral("string")},
    };
    return kinds.value(property->propertyManager(), QStringLiteral("other"));
}

QVariant tst_PropertyTree::valueOf(const SensorWindow &window, QtProperty *property)
{
    const SensorWindowData &data = *window.data;
    const QString kind = kindOf(window, property);
    if (kind == QLatin1String("enum"))
        return data.enumManager->value(property);
    if (kind == QLatin1String("int"))
        return data.intManager->value(property);
    if (kind == QLatin1String("double"))
        return data.doubleManager->value(property);
    if (kind == QLatin1String("bool"))
        return data.boolManager->value(property);
    if (kind == QLatin1String("button"))
        return data.buttonManager->value(property);
    if (kind == QLatin1String("string"))
        return data.stringManager->value(property);
    return QVariant();
}

void tst_PropertyTree::edit(const SensorWindow &window, const char *id, const QVariant &value)
{
    const SensorWindowData &data = *window.data;
    QtProperty *edited = property(window, id);
    QVERIFY(edited);
    const QString kind = kindOf(window, edited);
    if (kind == QLatin1String("enum"))
        data.enumManager->setValue(edited, value.toInt());
    else if (kind == QLatin1String("int"))
        data.intManager->setValue(edited, value.toInt());
    else if (kind == QLatin1String("double"))
        data.doubleManager->setValue(edited, value.toDouble());
    else if (kind == QLatin1String("bool"))
        data.boolManager->setValue(edited, value.toBool());
    else if (kind == QLatin1String("button"))
        data.buttonManager->click(edited);
    else if (kind == QLatin1String("string"))
        data.stringManager->setValue(edited, value.toString());
}

bool tst_PropertyTree::attached(const SensorWindow &window, QtProperty *property)
{
    const QList<QtBrowserItem *> items = window.browser->items(property);
    if (items.isEmpty())
        return false;
    for (QtBrowserItem *item = items.first(); item; item = item->parent()) {
        if (!window.browser->isItemVisible(item))
            return false;
    }
    return true;
}

void tst_PropertyTree::cleanup()
{
    ExtensionSystem::Globals::setLanguage("en");
}

void tst_PropertyTree::eachNodeTypeGetsItsManagerAndValue_data()
{
    QTest::addColumn<QByteArray>("id");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("minimum");
    QTest::addColumn<QVariant>("maximum");
    QTest::addColumn<QString>("address");
    const QVariant none;
    QTest::newRow("category") << QByteArray("General") << "group" << none << none << none << "";
    QTest::newRow("enumerator") << QByteArray("Units") << "enum" << QVariant(2) << none << none
                                << "40;0;6";
    QTest::newRow("int") << QByteArray("Delay") << "int" << QVariant(7) << QVariant(-5)
                         << QVariant(100) << "60;0;7";
    QTest::newRow("double") << QByteArray("Level") << "double" << QVariant(7.0) << QVariant(-1.5)
                            << QVariant(250.5) << "61;0;7";
    QTest::newRow("double from a decimal default")
        << QByteArray("LevelFromDecimal") << "double" << QVariant(0.0) << QVariant(0.0)
        << QVariant(10.0) << "62;0;7";
    QTest::newRow("bool from 1") << QByteArray("Lock") << "bool" << QVariant(true) << none << none
                                 << "63;0;6";
    QTest::newRow("bool from the text true")
        << QByteArray("LockFromText") << "bool" << QVariant(false) << none << none << "64;0;6";
    QTest::newRow("action") << QByteArray("TeachTEACHBUTTON") << "button" << QVariant("Start")
                            << none << none << "2;0;6";
    QTest::newRow("action without caption")
        << QByteArray("ResetButton") << "button" << QVariant("action") << none << none << "2;1;6";
    QTest::newRow("read-only text") << QByteArray("VendorReadOnly") << "string"
                                    << QVariant("Bravo Sensors") << none << none << "16;0;6";
    QTest::newRow("editable text")
        << QByteArray("Tag") << "string" << QVariant("Hydraulics") << none << none << "24;0;6";
    QTest::newRow("address texts as written")
        << QByteArray("FalseWithBlank") << "int" << QVariant(0) << QVariant(0) << QVariant(0)
        << " 83;0;7 ";
}

void tst_PropertyTree::eachNodeTypeGetsItsManagerAndValue()
{
    QFETCH(QByteArray, id);
    QFETCH(QString, kind);
    QFETCH(QVariant, value);
    QFETCH(QVariant, minimum);
    QFETCH(QVariant, maximum);
    const auto window = open(fixture("nodes.xml"));
    QtProperty *built = property(*window, id.constData());
    QVERIFY(built);
    QCOMPARE(built->propertyId(), QString::fromLatin1(id));
    QCOMPARE(kindOf(*window, built), kind);
    QCOMPARE(valueOf(*window, built), value);
    QTEST(window->parameterAddresses.value(QString::fromLatin1(id)), "address");
    QCOMPARE(window->parameterAddresses.contains(QString::fromLatin1(id)),
             kind != QLatin1String("group"));

    const SensorWindowData &data = *window->data;
    if (kind == QLatin1String("int")) {
        QCOMPARE(QVariant(data.intManager->minimum(built)), minimum);
        QCOMPARE(QVariant(data.intManager->maximum(built)), maximum);
    } else if (kind == QLatin1String("double")) {
        QCOMPARE(QVariant(data.doubleManager->minimum(built)), minimum);
        QCOMPARE(QVariant(data.doubleManager->maximum(built)), maximum);
        QCOMPARE(data.doubleManager->decimals(built), 3);
    } else if (kind == QLatin1String("bool")) {
        QCOMPARE(data.boolManager->trueText(built), QString());
        QCOMPARE(data.boolManager->falseText(built), QString());
    }
}

void tst_PropertyTree::captionsFollowTheHostLanguage_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QByteArray>("id");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("offers"); // enum names, text choices or the button text
    QTest::newRow("de category") << QByteArray("de") << QByteArray("General") << "Allgemein"
                                 << QStringList();
    QTest::newRow("en enumerator")
        << QByteArray("en") << QByteArray("Units") << "Units" << QStringList{"bar", "psi", "kPa"};
    QTest::newRow("de enumerator items fall back one by one")
        << QByteArray("de") << QByteArray("Units") << "Einheiten"
        << QStringList{"Bar", "psi", "kPa"};
    QTest::newRow("de text choices") << QByteArray("de") << QByteArray("Tag") << "Anwendung"
                                     << QStringList{"Hydraulik", "Pneumatics"};
    QTest::newRow("de button") << QByteArray("de") << QByteArray("TeachTEACHBUTTON") << "Einlernen"
                               << QStringList{"Starten"};
}

void tst_PropertyTree::captionsFollowTheHostLanguage()
{
    QFETCH(QByteArray, language);
    QFETCH(QByteArray, id);
    ExtensionSystem::Globals::setLanguage(language.toStdString());
    const auto window = open(fixture("nodes.xml"));
    QCOMPARE(window->data->language, language.toStdString());
    QtProperty *built = property(*window, id.constData());
    QVERIFY(built);
    QTEST(built->propertyName(), "caption");

    const QString kind = kindOf(*window, built);
    QStringList offered;
    if (kind == QLatin1String("enum"))
        offered = window->data->enumManager->enumNames(built);
    else if (kind == QLatin1String("string"))
        offered = window->itemTexts.value(QString::fromLatin1(id));
    else if (kind == QLatin1String("button"))
        offered << window->data->buttonManager->value(built);
    QTEST(offered, "offers");
}

void tst_PropertyTree::enabledAndAttachedOnlyForExactTexts_data()
{
    QTest::addColumn<QByteArray>("id");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("marked");  // status tip "readOnly"
    QTest::addColumn<bool>("choices"); // has an entry in itemTexts
    QTest::newRow("no readonly, no visible")
        << QByteArray("Delay") << true << true << false << false;
    QTest::newRow("readonly false")
        << QByteArray("ThresholdsPressure1A1") << true << true << false << false;
    QTest::newRow("category readonly true")
        << QByteArray("Rules") << false << true << false << false;
    QTest::newRow("readonly TRUE") << QByteArray("ReadOnlyTRUE") << false << true << false << false;
    QTest::newRow("readonly false with a blank")
        << QByteArray("FalseWithBlank") << false << true << false << false;
    QTest::newRow("visible true with a blank")
        << QByteArray("VisibleWithBlank") << true << false << false << false;
    QTest::newRow("read-only text")
        << QByteArray("VendorReadOnly") << false << true << true << false;
    QTest::newRow("text without readonly") << QByteArray("Note") << true << true << true << false;
    QTest::newRow("editable text") << QByteArray("Tag") << true << true << false << true;
}

void tst_PropertyTree::enabledAndAttachedOnlyForExactTexts()
{
    QFETCH(QByteArray, id);
    QFETCH(bool, shown);
    const auto window = open(fixture("nodes.xml"));
    const QString propertyId = QString::fromLatin1(id);
    QtProperty *built = property(*window, id.constData());
    QVERIFY(built);
    QTEST(built->isEnabled(), "enabled");
    QCOMPARE(attached(*window, built), shown);
    QCOMPARE(window->data->hiddenPropertyIds.contains(propertyId), !shown);
    QTEST(built->statusTip() == QLatin1String("readOnly"), "marked");
    QTEST(window->itemTexts.contains(propertyId), "choices");
}

void tst_PropertyTree::hiddenPropertiesAreCompleteButNotShown()
{
    const auto window = open(fixture("nodes.xml"));
    const SensorWindowData &data = *window->data;
    QCOMPARE(data.hiddenPropertyIds, QStringList({"VisibleWithBlank", "CounterLimit", "Counter"}));
    QtProperty *counter = property(*window, "Counter");
    QVERIFY(counter);
    QCOMPARE(window->parameterAddresses.value(QStringLiteral("Counter")), QStringLiteral("85;0;7"));
    QCOMPARE(window->parameterAddresses.value(QStringLiteral("CounterLimit")),
             QStringLiteral("85;2;7"));
    // Both children hang below it, the hidden one among them; none of the three is shown.
    QStringList children;
    for (QtProperty *child : counter->subProperties())
        children << child->propertyId();
    QCOMPARE(children, QStringList({"CounterReset", "CounterLimit"}));
    QCOMPARE(data.boolManager->value(property(*window, "CounterReset")), false);
    QVERIFY(window->allSubProperties(data.rootProperty).contains(counter));
    for (const char *id : {"Counter", "CounterReset", "CounterLimit"})
        QVERIFY2(!attached(*window, property(*window, id)), id);
}

void tst_PropertyTree::duplicateIdsFindTheFirstAndAddressTheLast()
{
    const auto window = open(fixture("nodes.xml"));
    QtProperty *twin = property(*window, "Twin");
    QVERIFY(twin);
    QCOMPARE(twin->propertyName(), QStringLiteral("First twin"));
    QCOMPARE(window->parameterAddresses.value(QStringLiteral("Twin")), QStringLiteral("86;0;7"));

    int twins = 0;
    for (QtProperty *candidate : window->allSubProperties(window->data->rootProperty))
        twins += candidate->propertyId() == QLatin1String("Twin");
    QCOMPARE(twins, 2);
}

void tst_PropertyTree::nodesThatCannotBeBuiltLeaveNoTrace_data()
{
    QTest::addColumn<QString>("id");
    QTest::newRow("unknown type") << "UnknownType";
    QTest::newRow("below an unknown type") << "BelowUnknownType";
    QTest::newRow("below a node without index") << "BelowNoIndex";
    QTest::newRow("child element named Property") << "WrongElementName";
}

void tst_PropertyTree::nodesThatCannotBeBuiltLeaveNoTrace()
{
    QFETCH(QString, id);
    const auto window = open(fixture("nodes.xml"));
    QVERIFY(!window->parameterAddresses.contains(id));
    const SensorWindowData &data = *window->data;
    for (const QtAbstractPropertyManager *manager :
         std::initializer_list<const QtAbstractPropertyManager *>{
             data.groupManager, data.enumManager, data.intManager, data.doubleManager,
             data.boolManager, data.buttonManager, data.stringManager}) {
        for (const QtProperty *candidate : manager->properties())
            QVERIFY2(candidate->propertyId() != id, qPrintable(candidate->propertyName()));
    }
}

void tst_PropertyTree::everythingHangsBelowTheRootInTheBrowser()
{
    const auto window = open(fixture("nodes.xml"));
    QtProperty *root = window->data->rootProperty;
    QVERIFY(root);
    QCOMPARE(root->propertyId(), QStringLiteral("root"));
    QCOMPARE(root->propertyName(), window->windowTitle());
    QCOMPARE(window->browser->properties(), QList<QtProperty *>{root});
    QVERIFY(window->browser->rootIsDecorated());

    QStringList topLevel;
    for (const QtProperty *node : root->subProperties())
        topLevel << node->propertyId();
    // The empty <property/> of Rules yields nothing; element names do not matter at the top.
    QCOMPARE(topLevel, QStringList({"General", "Output", "Rules"}));
    QStringList underRules;
    for (const QtProperty *node : property(*window, "Rules")->subProperties())
        underRules << node->propertyId();
    QCOMPARE(underRules, QStringList({"ReadOnlyTRUE", "ReadOnlyYes", "FalseWithBlank",
                                      "VisibleWithBlank", "Counter", "Twin"}));
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
    QVERIFY(window->browser->properties().isEmpty());
    QVERIFY(window->data->rootProperty);
    QVERIFY(window->data->rootProperty->subProperties().isEmpty());
    QVERIFY(window->parameterAddresses.isEmpty());
    QVERIFY(window->data->processDataItems.isEmpty());
    QCOMPARE(window->data->processDataTree->topLevelItemCount(), 0);
    // Without a parameter section the build stops before the sensor range.
    QCOMPARE(window->data->pressureRangeMax, 10.0);
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
    QTest::newRow("scale 100, up to 16")
        << QByteArray("KR7D-T016") << -1.0 << 16.0 << 100.0 << 2 << 8.0 << 4.0;
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
    const SensorWindowData &data = *window->data;
    QCOMPARE(data.pressureRangeMin, minimum);
    QCOMPARE(data.pressureRangeMax, maximum);
    QTEST(data.pressureDivisor, "divisor");

    const QMap<QByteArray, double> starts{
        {"ThresholdsPressure1A1", upperPoint}, {"ThresholdsPressure1A2", upperPoint},
        {"ThresholdsPressure2A1", lowerPoint}, {"ThresholdsPressure2A2", lowerPoint},
        {"analogPressure0V", minimum},         {"analogPressure10V", maximum}};
    for (auto start = starts.cbegin(); start != starts.cend(); ++start) {
        QtProperty *point = property(*window, start.key().constData());
        QVERIFY(point);
        QCOMPARE(data.doubleManager->value(point), start.value());
        QCOMPARE(data.doubleManager->minimum(point), minimum);
        QCOMPARE(data.doubleManager->maximum(point), maximum);
        QCOMPARE(data.doubleManager->decimals(point), decimals);
    }
    QCOMPARE(property(*window, "ThresholdsPressure2A1")->valueText(),
             QString::number(lowerPoint, 'f', decimals));

    QwtPlot *pressurePlot = data.chart->poPlot(0);
    pressurePlot->replot();
    const QwtInterval shown = pressurePlot->axisScaleDiv(QwtPlot::yLeft).interval();
    QCOMPARE(shown.minValue(), minimum);
    QCOMPARE(shown.maxValue(), maximum);
}

void tst_PropertyTree::variantRangeFollowsTheIdentification_data()
{
    QTest::addColumn<QString>("identification");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<int>("bits");
    QTest::addColumn<double>("divisor");
    QTest::addColumn<int>("decimals");
    QTest::newRow("seven characters") << "K7DT100" << 0.0 << 100.0 << 14 << 100.0 << 2;
    QTest::newRow("longer text, code at its end")
        << "KR7D-T016" << -1.0 << 16.0 << 16 << 1000.0 << 3;
    QTest::newRow("unknown code") << "K7DT999" << -1.0 << 250.0 << 16 << 10.0 << 1;
    QTest::newRow("scale that is no number keeps the scale")
        << "K7DTNOS" << 0.0 << 40.0 << 12 << 10.0 << 1;
}

void tst_PropertyTree::variantRangeFollowsTheIdentification()
{
    QFETCH(QString, identification);
    QFETCH(int, decimals);
    const auto window = open(fixture("nodes.xml"));
    const SensorWindowData &data = *window->data;
    QtProperty *switchingPoint = property(*window, "ThresholdsPressure1A2");
    QtProperty *analogPoint = property(*window, "analogPressure10V");

    window->connectedSensorText = identification;
    window->vApplyVariantRange();

    QTEST(data.pressureRangeMin, "minimum");
    QTEST(data.pressureRangeMax, "maximum");
    QTEST(data.bitsNumber, "bits");
    QTEST(data.pressureDivisor, "divisor");
    QCOMPARE(data.doubleManager->decimals(switchingPoint), decimals);
    // Only the switching points follow; the values stay, and nothing is written.
    QCOMPARE(data.doubleManager->decimals(analogPoint), 1);
    QCOMPARE(data.doubleManager->value(switchingPoint), 125.0);
    QVERIFY(!window->sendTimer.isActive());
}

void tst_PropertyTree::valueSlotsHandTheEditOn_data()
{
    QTest::addColumn<QByteArray>("id");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("textHandling");
    QTest::addColumn<QVariant>("pending");
    QTest::newRow("int") << QByteArray("Delay") << QVariant(42) << false << QVariant(42);
    QTest::newRow("enumerator") << QByteArray("Units") << QVariant(1) << false << QVariant(1);
    QTest::newRow("double") << QByteArray("Level") << QVariant(12.5) << false << QVariant(12.5);
    QTest::newRow("bool") << QByteArray("Lock") << QVariant(false) << false << QVariant(false);
    QTest::newRow("button click") << QByteArray("ResetButton") << QVariant() << false
                                  << QVariant(QString());
    QTest::newRow("text once handling is on")
        << QByteArray("Tag") << QVariant("Pneumatics") << true << QVariant("Pneumatics");
    QTest::newRow("text stays unwritten")
        << QByteArray("Tag") << QVariant("Pneumatics") << false << QVariant();
}

void tst_PropertyTree::valueSlotsHandTheEditOn()
{
    QFETCH(QByteArray, id);
    QFETCH(QVariant, value);
    QFETCH(bool, textHandling);
    QFETCH(QVariant, pending);
    const auto window = open(fixture("nodes.xml"));
    window->enableStringManagerHandling(textHandling);

    edit(*window, id.constData(), value);

    QCOMPARE(window->pendingValue, pending);
    QCOMPARE(window->pendingProperty,
             pending.isValid() ? property(*window, id.constData()) : nullptr);
    QCOMPARE(window->sendTimer.isActive(), pending.isValid());
    // Each slot leaves value handling on again.
    QVERIFY(!QObject::connect(window->data->intManager, SIGNAL(valueChanged(QtProperty *, int)),
                              window.get(), SLOT(intValueChanged(QtProperty *, int)),
                              Qt::UniqueConnection));
}

void tst_PropertyTree::buildValuesAndEditsWhileRetranslatingOrWithoutPropertyAreDropped()
{
    const auto window = open(fixture("nodes.xml"));
    QVERIFY(!window->retranslating);
    QVERIFY(!window->pendingValue.isValid());
    QVERIFY(!window->sendTimer.isActive());
    window->retranslating = true;
    edit(*window, "Delay", 3);
    window->retranslating = false;
    window->propertyValueEdited(nullptr, 3);
    window->comboIndexChangedInt(1); // nothing is pending yet

    QVERIFY(!window->pendingProperty);
    QVERIFY(!window->pendingValue.isValid());
    QVERIFY(!window->sendTimer.isActive());
}

void tst_PropertyTree::editsWithinTheDelayWriteOnlyTheLast_data()
{
    QTest::addColumn<QList<QByteArray>>("ids");
    QTest::addColumn<QVariantList>("values");
    QTest::newRow("three edits of one property")
        << QList<QByteArray>{"Delay", "Delay", "Delay"} << QVariantList{1, 2, 3};
    QTest::newRow("bool, then int") << QList<QByteArray>{"Lock", "Delay"} << QVariantList{false, 5};
}

void tst_PropertyTree::editsWithinTheDelayWriteOnlyTheLast()
{
    QFETCH(QList<QByteArray>, ids);
    QFETCH(QVariantList, values);
    const auto window = open(fixture("nodes.xml"));
    QSignalSpy writes(&window->sendTimer, &QTimer::timeout);

    for (int i = 0; i < ids.size(); ++i)
        edit(*window, ids.at(i).constData(), values.at(i));

    QCOMPARE(window->pendingProperty, property(*window, ids.constLast().constData()));
    QCOMPARE(window->pendingValue, values.constLast());
    QTRY_COMPARE(writes.count(), 1);
    QVERIFY(!window->sendTimer.isActive());
}

void tst_PropertyTree::selectingAnItemWritesNothing()
{
    const auto window = open(fixture("nodes.xml"));
    QtProperty *delay = property(*window, "Delay");
    window->browser->setCurrentItem(window->browser->items(delay).first());
    QCOMPARE(window->pendingProperty, delay);
    QVERIFY(!window->pendingValue.isValid());
    QVERIFY(!window->sendTimer.isActive());
}

void tst_PropertyTree::comboChoicesReachTheTextOrTheEditPath()
{
    const auto window = open(fixture("nodes.xml"));
    QtProperty *tag = property(*window, "Tag");
    window->browser->setCurrentItem(window->browser->items(tag).first());

    window->comboIndexChangedString(QStringLiteral("Pneumatics"));
    QCOMPARE(window->data->stringManager->value(tag), QStringLiteral("Pneumatics"));
    QVERIFY(!window->sendTimer.isActive());

    window->comboIndexChangedInt(1);
    QCOMPARE(window->pendingProperty, tag);
    QCOMPARE(window->pendingValue, QVariant(1));
    QVERIFY(window->sendTimer.isActive());
}

void tst_PropertyTree::removeSubPropertiesDetachesTheBranch()
{
    const auto window = open(fixture("nodes.xml"));
    QtProperty *output = property(*window, "Output");
    QtProperty *group = property(*window, "SettingsPointsPressureA1");
    QtProperty *point = property(*window, "ThresholdsPressure1A1");

    window->removeSubProperties(output);
    window->removeSubProperties(nullptr);

    QVERIFY(output->subProperties().isEmpty());
    QVERIFY(group->subProperties().isEmpty());
    QVERIFY(!property(*window, "ThresholdsPressure1A1"));
    // Detached, not deleted.
    QVERIFY(window->data->doubleManager->properties().contains(point));
    QCOMPARE(window->data->doubleManager->value(point), 125.0);
    QVERIFY(!attached(*window, group));
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
    QTest::newRow("output A2") << 1 << "ProcessOutputA2"
                               << "Output A2" << false << "Off" << true;
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
    QFETCH(QString, value);
    QFETCH(bool, icon);
    const auto window = open(fixture("nodes.xml"));
    const SensorWindowData &data = *window->data;
    QCOMPARE(data.processDataItems.size(), 6);
    QCOMPARE(data.processDataTree->topLevelItemCount(), 6);
    QCOMPARE(data.categoryCaptions.value(row), caption);
    QCOMPARE(data.categoryRows.value(id, -1), row);

    const QTreeWidgetItem *item = data.processDataItems.at(row);
    QCOMPARE(data.processDataTree->topLevelItem(row), item);
    QCOMPARE(item->text(0), caption + QLatin1String("     "));
    QCOMPARE(item->statusTip(0), id);
    QTEST(item->isHidden(), "hidden");
    QCOMPARE(item->text(1), value);
    QCOMPARE(!item->icon(1).isNull(), icon);
}

QTEST_MAIN(tst_PropertyTree)
#include "tst_propertytree.moc"
