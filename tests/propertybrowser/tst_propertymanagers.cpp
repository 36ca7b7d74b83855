#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qtpropertymanager.h>

#include <QLocale>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// Sets each value in turn and returns the values valueChanged carried.
template <class Manager, class T>
QList<T> emittedValues(Manager &manager, QtProperty *property, const QList<T> &values)
{
    QSignalSpy spy(&manager, &Manager::valueChanged);
    for (const T &value : values)
        manager.setValue(property, value);
    QList<T> emitted;
    for (const QList<QVariant> &arguments : qAsConst(spy)) {
        if (arguments.at(0).template value<QtProperty *>() != property)
            return {};
        emitted.append(arguments.at(1).template value<T>());
    }
    return emitted;
}

using IntEdit = std::function<void(QtIntPropertyManager &, QtProperty *)>;
using PropertyEdit = std::function<void(QtProperty *)>;
using PropertyRead = std::function<QVariant(const QtProperty *)>;

} // namespace

Q_DECLARE_METATYPE(QtProperty *)
Q_DECLARE_METATYPE(IntEdit)
Q_DECLARE_METATYPE(PropertyEdit)
Q_DECLARE_METATYPE(PropertyRead)

class TestPropertyManagers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void valueStaysInRange_data();
    void valueStaysInRange();
    void rangeChangeClampsValueAndSignalsOnce_data();
    void rangeChangeClampsValueAndSignalsOnce();
    void valueSignalsOnlyRealChanges();

    void decimalsShapeValueText_data();
    void decimalsShapeValueText();

    void boolCaptionsFollowTheStateWithoutValueSignals();

    void stringRegExpRefusesNonMatchingText_data();
    void stringRegExpRefusesNonMatchingText();

    void enumIndexFollowsNames_data();
    void enumIndexFollowsNames();
    void enumNamesChangeKeepsIndexWherePossible();

    void propertyAttributesSignalOnlyChanges_data();
    void propertyAttributesSignalOnlyChanges();
    void subPropertiesKeepOrderAndRefuseLoops();
    void managerOwnsAndClearsItsProperties();
    void deletedPropertyLeavesManagerAndParents();
};

void TestPropertyManagers::initTestCase()
{
    QLocale::setDefault(QLocale::c());
}

void TestPropertyManagers::valueStaysInRange_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expectedMaximum");
    QTest::addColumn<int>("expectedValue");

    QTest::newRow("inside the range is kept") << -10 << 10 << 7 << 10 << 7;
    QTest::newRow("below the minimum becomes the minimum") << -10 << 10 << -11 << 10 << -10;
    QTest::newRow("above the maximum becomes the maximum") << -10 << 10 << 1000 << 10 << 10;
    QTest::newRow("inverted range leaves only the minimum") << 5 << 1 << 3 << 5 << 5;
}

// The int and the double manager keep their values in range the same way.
void TestPropertyManagers::valueStaysInRange()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(int, expectedMaximum);
    QFETCH(int, expectedValue);

    QtIntPropertyManager ints;
    QtProperty *intProperty = ints.addProperty();
    ints.setRange(intProperty, minimum, maximum);
    ints.setValue(intProperty, value);
    QtDoublePropertyManager doubles;
    QtProperty *doubleProperty = doubles.addProperty();
    doubles.setRange(doubleProperty, minimum, maximum);
    doubles.setValue(doubleProperty, value);

    QCOMPARE(ints.maximum(intProperty), expectedMaximum);
    QCOMPARE(ints.value(intProperty), expectedValue);
    QCOMPARE(intProperty->valueText(), QString::number(expectedValue));
    QCOMPARE(doubles.maximum(doubleProperty), double(expectedMaximum));
    QCOMPARE(doubles.value(doubleProperty), double(expectedValue));
}

void TestPropertyManagers::rangeChangeClampsValueAndSignalsOnce_data()
{
    QTest::addColumn<IntEdit>("edit");
    QTest::addColumn<int>("expectedMinimum");
    QTest::addColumn<int>("expectedMaximum");
    QTest::addColumn<int>("expectedValue");
    QTest::addColumn<int>("rangeSignals");
    QTest::addColumn<int>("valueSignals");

    // Every row starts from the value 50 in 0..100.
    QTest::newRow("minimum above the value lifts it")
        << IntEdit([](auto &manager, auto *property) { manager.setMinimum(property, 60); }) << 60
        << 100 << 60 << 1 << 1;
    QTest::newRow("minimum above the maximum lifts the maximum too")
        << IntEdit([](auto &manager, auto *property) { manager.setMinimum(property, 150); }) << 150
        << 150 << 150 << 1 << 1;
    QTest::newRow("maximum below the minimum lowers the minimum too")
        << IntEdit([](auto &manager, auto *property) { manager.setMaximum(property, -5); }) << -5
        << -5 << -5 << 1 << 1;
    QTest::newRow("wider range keeps the value")
        << IntEdit([](auto &manager, auto *property) { manager.setRange(property, -100, 200); })
        << -100 << 200 << 50 << 1 << 0;
    QTest::newRow("same range signals nothing")
        << IntEdit([](auto &manager, auto *property) { manager.setRange(property, 0, 100); }) << 0
        << 100 << 50 << 0 << 0;
}

void TestPropertyManagers::rangeChangeClampsValueAndSignalsOnce()
{
    QFETCH(IntEdit, edit);
    QFETCH(int, expectedValue);
    QFETCH(int, valueSignals);

    QtIntPropertyManager manager;
    QtProperty *property = manager.addProperty(QStringLiteral("int"));
    manager.setRange(property, 0, 100);
    manager.setValue(property, 50);
    QSignalSpy ranges(&manager, &QtIntPropertyManager::rangeChanged);
    QSignalSpy values(&manager, &QtIntPropertyManager::valueChanged);

    edit(manager, property);

    QTEST(manager.minimum(property), "expectedMinimum");
    QTEST(manager.maximum(property), "expectedMaximum");
    QCOMPARE(manager.value(property), expectedValue);
    QTEST(ranges.count(), "rangeSignals");
    QCOMPARE(values.count(), valueSignals);
    if (valueSignals > 0)
        QCOMPARE(values.constLast().at(1).toInt(), expectedValue);
}

void TestPropertyManagers::valueSignalsOnlyRealChanges()
{
    QtIntPropertyManager ints;
    QtProperty *intProperty = ints.addProperty();
    ints.setRange(intProperty, 0, 100);
    QCOMPARE(emittedValues(ints, intProperty, QList<int>{5, 5, 7, 200, 100, 7}),
             (QList<int>{5, 7, 100, 7}));

    QtDoublePropertyManager doubles;
    QtProperty *doubleProperty = doubles.addProperty();
    QCOMPARE(emittedValues(doubles, doubleProperty, QList<double>{0.0, 1.25, 1.25, -3.0}),
             (QList<double>{1.25, -3.0}));

    QtBoolPropertyManager bools;
    QtProperty *boolProperty = bools.addProperty();
    QCOMPARE(emittedValues(bools, boolProperty, QList<bool>{false, true, true, false}),
             (QList<bool>{true, false}));

    QtStringPropertyManager strings;
    QtProperty *stringProperty = strings.addProperty();
    const QString text = QStringLiteral("abc");
    QCOMPARE(emittedValues(strings, stringProperty, QStringList{QString(), text, text, QString()}),
             (QStringList{text, QString()}));

    QtEnumPropertyManager enums;
    QtProperty *enumProperty = enums.addProperty();
    enums.setEnumNames(enumProperty,
                       {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    QCOMPARE(emittedValues(enums, enumProperty, QList<int>{0, 2, 2, 9, 1}), (QList<int>{2, 1}));
}

void TestPropertyManagers::decimalsShapeValueText_data()
{
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expectedDecimals");
    QTest::addColumn<QString>("expectedText");

    QTest::newRow("three places pad with zeros") << 3 << 2.5 << 3 << QStringLiteral("2.500");
    QTest::newRow("no places round the text") << 0 << 2.6 << 0 << QStringLiteral("3");
    QTest::newRow("negative count means none") << -4 << 1.25 << 0 << QStringLiteral("1");
    QTest::newRow("more than a spin box shows is capped")
        << 20 << 0.5 << 13 << QStringLiteral("0.5000000000000");
}

void TestPropertyManagers::decimalsShapeValueText()
{
    QFETCH(int, decimals);
    QFETCH(double, value);

    QtDoublePropertyManager manager;
    QtProperty *property = manager.addProperty();
    QSignalSpy decimalsChanged(&manager, &QtDoublePropertyManager::decimalsChanged);
    manager.setDecimals(property, decimals);
    manager.setDecimals(property, decimals);
    manager.setValue(property, value);

    QTEST(manager.decimals(property), "expectedDecimals");
    QCOMPARE(decimalsChanged.count(), 1);
    QTEST(property->valueText(), "expectedText");
    QCOMPARE(manager.value(property), value);
}

void TestPropertyManagers::boolCaptionsFollowTheStateWithoutValueSignals()
{
    QtBoolPropertyManager manager;
    QtProperty *property = manager.addProperty();
    QSignalSpy values(&manager, &QtBoolPropertyManager::valueChanged);
    QSignalSpy changed(&manager, &QtAbstractPropertyManager::propertyChanged);
    manager.setValue(property, true);
    QCOMPARE(property->valueText(), QStringLiteral("True"));

    manager.setValue(property, true, QStringLiteral("On"), QStringLiteral("Off"));
    QCOMPARE(property->valueText(), QStringLiteral("On"));
    QCOMPARE(values.count(), 1);
    QCOMPARE(changed.count(), 2);
    manager.setValue(property, false);
    QCOMPARE(property->valueText(), QStringLiteral("Off"));

    manager.setValue(property, false, QString(), QString());
    QVERIFY(property->valueText().isEmpty());
    QVERIFY(!property->valueIcon().isNull());
    QCOMPARE(values.count(), 2);
}

void TestPropertyManagers::stringRegExpRefusesNonMatchingText_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("whole match is taken")
        << QStringLiteral("[0-9]+") << QStringLiteral("123") << true;
    QTest::newRow("partial match is refused")
        << QStringLiteral("[0-9]+") << QStringLiteral("12a") << false;
    QTest::newRow("empty text against a required digit")
        << QStringLiteral("[0-9]+") << QString() << false;
    QTest::newRow("no expression takes anything")
        << QString() << QStringLiteral("any text") << true;
}

void TestPropertyManagers::stringRegExpRefusesNonMatchingText()
{
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(bool, accepted);

    QtStringPropertyManager manager;
    QtProperty *property = manager.addProperty();
    const QString initial = QStringLiteral("0");
    manager.setValue(property, initial);
    manager.setRegExp(property, QRegularExpression(pattern));
    QSignalSpy values(&manager, &QtStringPropertyManager::valueChanged);

    manager.setValue(property, text);

    QCOMPARE(manager.value(property), accepted ? text : initial);
    QCOMPARE(values.count(), accepted ? 1 : 0);
}

void TestPropertyManagers::enumIndexFollowsNames_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expectedValue");
    QTest::addColumn<QString>("expectedText");

    const QStringList three{QStringLiteral("bar"), QStringLiteral("psi"), QStringLiteral("MPa")};
    QTest::newRow("index inside the names") << three << 1 << 1 << QStringLiteral("psi");
    QTest::newRow("index past the end is the last") << three << 7 << 2 << QStringLiteral("MPa");
    QTest::newRow("negative index is the first") << three << -3 << 0 << QStringLiteral("bar");
    QTest::newRow("no names keep -1") << QStringList() << 1 << -1 << QString();
}

void TestPropertyManagers::enumIndexFollowsNames()
{
    QFETCH(QStringList, names);
    QFETCH(int, value);

    QtEnumPropertyManager manager;
    QtProperty *property = manager.addProperty();
    QCOMPARE(manager.value(property), -1);
    manager.setEnumNames(property, names);
    manager.setValue(property, value);

    QTEST(manager.value(property), "expectedValue");
    QTEST(property->valueText(), "expectedText");
}

void TestPropertyManagers::enumNamesChangeKeepsIndexWherePossible()
{
    QtEnumPropertyManager manager;
    QtProperty *property = manager.addProperty();
    QSignalSpy names(&manager, &QtEnumPropertyManager::enumNamesChanged);
    QSignalSpy values(&manager, &QtEnumPropertyManager::valueChanged);

    manager.setEnumNames(property, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    QCOMPARE(manager.value(property), 0);
    QCOMPARE(values.count(), 1);
    manager.setValue(property, 2);

    manager.setEnumNames(property, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    QCOMPARE(manager.value(property), 2);
    QCOMPARE(property->valueText(), QStringLiteral("C"));
    QCOMPARE(values.count(), 2);

    manager.setEnumNames(property, {QStringLiteral("x"), QStringLiteral("y")});
    QCOMPARE(manager.value(property), 1);
    QCOMPARE(values.constLast().at(1).toInt(), 1);

    manager.setEnumNames(property, {QStringLiteral("x"), QStringLiteral("y")});
    manager.setEnumNames(property, {});
    QCOMPARE(manager.value(property), -1);
    QCOMPARE(names.count(), 4);
    QCOMPARE(values.count(), 4);
}

void TestPropertyManagers::propertyAttributesSignalOnlyChanges_data()
{
    QTest::addColumn<PropertyEdit>("edit");
    QTest::addColumn<PropertyRead>("read");
    QTest::addColumn<QVariant>("expected");

    const QString text = QStringLiteral("text");
    QTest::newRow("name") << PropertyEdit([text](QtProperty *p) { p->setPropertyName(text); })
                          << PropertyRead([](const QtProperty *p) { return p->propertyName(); })
                          << QVariant(text);
    QTest::newRow("disabled") << PropertyEdit([](QtProperty *p) { p->setEnabled(false); })
                              << PropertyRead([](const QtProperty *p) { return p->isEnabled(); })
                              << QVariant(false);
}

void TestPropertyManagers::propertyAttributesSignalOnlyChanges()
{
    QFETCH(PropertyEdit, edit);
    QFETCH(PropertyRead, read);

    QtGroupPropertyManager manager;
    QtProperty *property = manager.addProperty();
    QSignalSpy changed(&manager, &QtAbstractPropertyManager::propertyChanged);

    edit(property);
    edit(property);

    QTEST(read(property), "expected");
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<QtProperty *>(), property);
}

void TestPropertyManagers::subPropertiesKeepOrderAndRefuseLoops()
{
    QtGroupPropertyManager manager;
    QtProperty *parent = manager.addProperty(QStringLiteral("parent"));
    QtProperty *a = manager.addProperty(QStringLiteral("a"));
    QtProperty *b = manager.addProperty(QStringLiteral("b"));
    QtProperty *c = manager.addProperty(QStringLiteral("c"));
    QSignalSpy inserted(&manager, &QtAbstractPropertyManager::propertyInserted);

    parent->addSubProperty(a);
    parent->addSubProperty(c);
    parent->insertSubProperty(b, a);
    QCOMPARE(parent->subProperties(), (QList<QtProperty *>{a, b, c}));
    QCOMPARE(inserted.count(), 3);
    QCOMPARE(inserted.at(2).at(1).value<QtProperty *>(), parent);
    QCOMPARE(inserted.at(2).at(2).value<QtProperty *>(), a);

    parent->addSubProperty(b);
    a->addSubProperty(parent);
    a->addSubProperty(a);
    QCOMPARE(parent->subProperties(), (QList<QtProperty *>{a, b, c}));
    QVERIFY(a->subProperties().isEmpty());
    QCOMPARE(inserted.count(), 3);

    QtProperty *first = manager.addProperty(QStringLiteral("first"));
    parent->insertSubProperty(first, nullptr);
    QCOMPARE(parent->subProperties().constFirst(), first);
}

void TestPropertyManagers::managerOwnsAndClearsItsProperties()
{
    auto manager = std::make_unique<QtIntPropertyManager>();
    QtProperty *a = manager->addProperty(QStringLiteral("a"));
    QtProperty *b = manager->addProperty(QStringLiteral("b"));
    QCOMPARE(manager->properties(), (QSet<QtProperty *>{a, b}));

    QSignalSpy destroyed(manager.get(), &QtAbstractPropertyManager::propertyDestroyed);
    manager->clear();
    QCOMPARE(destroyed.count(), 2);
    QVERIFY(manager->properties().isEmpty());

    manager->addProperty();
    QSignalSpy destroyedWithManager(manager.get(), &QtAbstractPropertyManager::propertyDestroyed);
    manager.reset();
    QCOMPARE(destroyedWithManager.count(), 1);
}

void TestPropertyManagers::deletedPropertyLeavesManagerAndParents()
{
    QtGroupPropertyManager groups;
    QtBoolPropertyManager bools;
    QtProperty *first = groups.addProperty();
    QtProperty *second = groups.addProperty();
    QtProperty *shared = bools.addProperty();
    QtProperty *grandChild = bools.addProperty();
    first->addSubProperty(shared);
    second->addSubProperty(shared);
    shared->addSubProperty(grandChild);
    QSignalSpy removed(&groups, &QtAbstractPropertyManager::propertyRemoved);

    delete shared;

    QVERIFY(first->subProperties().isEmpty());
    QVERIFY(second->subProperties().isEmpty());
    QCOMPARE(removed.count(), 2);
    QCOMPARE(bools.properties(), QSet<QtProperty *>{grandChild});
    // The grandchild no longer counts the deleted property as a parent.
    first->addSubProperty(grandChild);
    QCOMPARE(first->subProperties(), QList<QtProperty *>{grandChild});
}

QTEST_MAIN(TestPropertyManagers)
#include "tst_propertymanagers.moc"
