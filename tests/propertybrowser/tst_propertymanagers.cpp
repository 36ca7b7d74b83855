#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qtpropertymanager.h>

#include <QLocale>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(QtProperty *)

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

// The int and the double manager keep a value in its range the same way: each row starts from
// 50 in 0..100, makes one call and is checked against both.
template <class Manager>
void checkBoundedEdit()
{
    QFETCH(QString, call);
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, expectedValue);
    QFETCH(int, valueSignals);

    Manager manager;
    QtProperty *property = manager.addProperty();
    manager.setRange(property, 0, 100);
    manager.setValue(property, 50);
    QSignalSpy ranges(&manager, &Manager::rangeChanged);
    QSignalSpy values(&manager, &Manager::valueChanged);

    if (call == QLatin1String("value"))
        manager.setValue(property, a);
    else if (call == QLatin1String("minimum"))
        manager.setMinimum(property, a);
    else if (call == QLatin1String("maximum"))
        manager.setMaximum(property, a);
    else
        manager.setRange(property, a, b);

    QTEST(int(manager.minimum(property)), "expectedMinimum");
    QTEST(int(manager.maximum(property)), "expectedMaximum");
    QCOMPARE(manager.value(property), expectedValue);
    QTEST(ranges.count(), "rangeSignals");
    QCOMPARE(values.count(), valueSignals);
    if (valueSignals > 0)
        QCOMPARE(values.constLast().at(1).toInt(), expectedValue);
}

} // namespace

class TestPropertyManagers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void boundedValueStaysInRangeAndSignalsOnce_data();
    void boundedValueStaysInRangeAndSignalsOnce();
    void valueSignalsOnlyRealChanges();
    void decimalsShapeValueText();
    void boolCaptionsFollowTheStateWithoutValueSignals();
    void enumNamesChangeKeepsIndexWherePossible();
    void repeatedChangesAndLoopsAreRefused();
    void deletedPropertyLeavesManagerAndParents();
};

void TestPropertyManagers::initTestCase()
{
    QLocale::setDefault(QLocale::c());
}

void TestPropertyManagers::boundedValueStaysInRangeAndSignalsOnce_data()
{
    QTest::addColumn<bool>("doubles");
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("expectedMinimum");
    QTest::addColumn<int>("expectedMaximum");
    QTest::addColumn<int>("expectedValue");
    QTest::addColumn<int>("rangeSignals");
    QTest::addColumn<int>("valueSignals");

    for (const bool doubles : {false, true}) {
        const auto row = [doubles](const char *name) -> QTestData & {
            return QTest::addRow("%s %s", doubles ? "double" : "int", name) << doubles;
        };
        row("value inside") << "value" << 7 << 0 << 0 << 100 << 7 << 0 << 1;
        row("same value") << "value" << 50 << 0 << 0 << 100 << 50 << 0 << 0;
        row("value below the minimum") << "value" << -11 << 0 << 0 << 100 << 0 << 0 << 1;
        row("value above the maximum") << "value" << 1000 << 0 << 0 << 100 << 100 << 0 << 1;
        row("minimum above the maximum") << "minimum" << 150 << 0 << 150 << 150 << 150 << 1 << 1;
        row("maximum below the minimum") << "maximum" << -5 << 0 << -5 << -5 << -5 << 1 << 1;
        row("inverted range") << "range" << 5 << 1 << 5 << 5 << 5 << 1 << 1;
        row("wider range") << "range" << -100 << 200 << -100 << 200 << 50 << 1 << 0;
        row("same range") << "range" << 0 << 100 << 0 << 100 << 50 << 0 << 0;
    }
}

void TestPropertyManagers::boundedValueStaysInRangeAndSignalsOnce()
{
    QFETCH(bool, doubles);
    if (doubles)
        checkBoundedEdit<QtDoublePropertyManager>();
    else
        checkBoundedEdit<QtIntPropertyManager>();
}

void TestPropertyManagers::valueSignalsOnlyRealChanges()
{
    QtBoolPropertyManager bools;
    QCOMPARE(emittedValues(bools, bools.addProperty(), QList<bool>{false, true, true, false}),
             (QList<bool>{true, false}));

    QtStringPropertyManager strings;
    QtProperty *stringProperty = strings.addProperty();
    const QString text = QStringLiteral("abc");
    QCOMPARE(emittedValues(strings, stringProperty, QStringList{QString(), text, text, QString()}),
             (QStringList{text, QString()}));
    // Under an expression only text matching it as a whole is taken.
    const QString digits = QStringLiteral("123");
    strings.setRegExp(stringProperty, QRegularExpression(QStringLiteral("[0-9]+")));
    QCOMPARE(emittedValues(strings, stringProperty,
                           QStringList{QStringLiteral("12a"), digits, QString(), digits}),
             QStringList{digits});
    QCOMPARE(strings.value(stringProperty), digits);

    // An enum index past either end becomes the last or the first.
    QtEnumPropertyManager enums;
    QtProperty *enumProperty = enums.addProperty();
    enums.setEnumNames(enumProperty, {QStringLiteral("bar"), QStringLiteral("psi")});
    QCOMPARE(emittedValues(enums, enumProperty, QList<int>{0, 1, 1, 9, -3}), (QList<int>{1, 0}));
    QCOMPARE(enumProperty->valueText(), QStringLiteral("bar"));
}

void TestPropertyManagers::decimalsShapeValueText()
{
    QtDoublePropertyManager manager;
    QtProperty *property = manager.addProperty();
    manager.setValue(property, 2.6);
    QSignalSpy decimalsChanged(&manager, &QtDoublePropertyManager::decimalsChanged);

    manager.setDecimals(property, 0);
    manager.setDecimals(property, 0);
    QCOMPARE(property->valueText(), QStringLiteral("3"));
    // A negative count means none, so nothing changes.
    manager.setDecimals(property, -4);
    QCOMPARE(decimalsChanged.count(), 1);
    // More than a spin box shows is capped.
    manager.setDecimals(property, 20);
    QCOMPARE(manager.decimals(property), 13);
    QCOMPARE(property->valueText(), QStringLiteral("2.6000000000000"));
    QCOMPARE(manager.value(property), 2.6);
}

void TestPropertyManagers::boolCaptionsFollowTheStateWithoutValueSignals()
{
    QtBoolPropertyManager manager;
    QtProperty *property = manager.addProperty();
    manager.setValue(property, true);
    QCOMPARE(property->valueText(), QStringLiteral("True"));
    QSignalSpy values(&manager, &QtBoolPropertyManager::valueChanged);
    QSignalSpy changed(&manager, &QtAbstractPropertyManager::propertyChanged);

    manager.setValue(property, true, QStringLiteral("On"), QStringLiteral("Off"));
    QCOMPARE(property->valueText(), QStringLiteral("On"));
    QCOMPARE(values.count(), 0);
    QCOMPARE(changed.count(), 1);
    manager.setValue(property, false);
    QCOMPARE(property->valueText(), QStringLiteral("Off"));

    manager.setValue(property, false, QString(), QString());
    QVERIFY(property->valueText().isEmpty());
    QVERIFY(!property->valueIcon().isNull());
}

void TestPropertyManagers::enumNamesChangeKeepsIndexWherePossible()
{
    QtEnumPropertyManager manager;
    QtProperty *property = manager.addProperty();
    QCOMPARE(manager.value(property), -1);
    QSignalSpy names(&manager, &QtEnumPropertyManager::enumNamesChanged);
    QSignalSpy values(&manager, &QtEnumPropertyManager::valueChanged);

    manager.setEnumNames(property, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    QCOMPARE(manager.value(property), 0);
    QCOMPARE(values.count(), 1);
    manager.setValue(property, 2);

    manager.setEnumNames(property, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    QCOMPARE(property->valueText(), QStringLiteral("C"));
    QCOMPARE(values.count(), 2);

    manager.setEnumNames(property, {QStringLiteral("x"), QStringLiteral("y")});
    QCOMPARE(values.constLast().at(1).toInt(), 1);

    manager.setEnumNames(property, {QStringLiteral("x"), QStringLiteral("y")});
    manager.setEnumNames(property, {});
    manager.setValue(property, 1);
    QCOMPARE(manager.value(property), -1);
    QVERIFY(property->valueText().isEmpty());
    QCOMPARE(names.count(), 4);
    QCOMPARE(values.count(), 4);
}

void TestPropertyManagers::repeatedChangesAndLoopsAreRefused()
{
    QtGroupPropertyManager manager;
    QtProperty *parent = manager.addProperty(QStringLiteral("parent"));
    QtProperty *a = manager.addProperty(QStringLiteral("a"));
    QtProperty *b = manager.addProperty(QStringLiteral("b"));
    parent->addSubProperty(a);
    parent->insertSubProperty(b, a);
    QSignalSpy inserted(&manager, &QtAbstractPropertyManager::propertyInserted);
    QSignalSpy changed(&manager, &QtAbstractPropertyManager::propertyChanged);

    parent->addSubProperty(b);
    a->addSubProperty(parent);
    a->addSubProperty(a);
    for (int twice = 0; twice < 2; ++twice) {
        b->setPropertyName(QStringLiteral("text"));
        b->setEnabled(false);
    }
    QCOMPARE(parent->subProperties(), (QList<QtProperty *>{a, b}));
    QVERIFY(a->subProperties().isEmpty());
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(b->propertyName(), QStringLiteral("text"));
    QVERIFY(!b->isEnabled());
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(0).at(0).value<QtProperty *>(), b);
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
    groups.clear();
    QVERIFY(groups.properties().isEmpty());
}

QTEST_MAIN(TestPropertyManagers)
#include "tst_propertymanagers.moc"
