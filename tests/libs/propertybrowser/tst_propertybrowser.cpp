#include <propertybrowser/qtbrowseritem.h>
#include <propertybrowser/qteditorfactory.h>
#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qtpropertymanager.h>
#include <propertybrowser/qttreepropertybrowser.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>

Q_DECLARE_METATYPE(QtBrowserItem *)
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

// The browser as a user sees it: rows of the tree inside.
QTreeWidget *treeOf(const QtTreePropertyBrowser &browser)
{
    return browser.findChild<QTreeWidget *>();
}

QTreeWidgetItem *row(const QtTreePropertyBrowser &browser, const QString &name)
{
    return treeOf(browser)->findItems(name, Qt::MatchExactly | Qt::MatchRecursive, 0).value(0);
}

// "name(child,child(grandchild))", read from browser items or from tree rows.
QString outline(const QList<QtBrowserItem *> &items)
{
    QStringList parts;
    for (const QtBrowserItem *item : items) {
        const QString children = outline(item->children());
        parts.append(
            item->property()->propertyName()
            + (children.isEmpty() ? children : QLatin1Char('(') + children + QLatin1Char(')')));
    }
    return parts.join(QLatin1Char(','));
}

// With marks, a disabled row starts with '!' and a hidden one with '~'.
QString outline(const QTreeWidgetItem *parent, bool marks)
{
    QStringList parts;
    for (int i = 0; i < parent->childCount(); ++i) {
        const QTreeWidgetItem *child = parent->child(i);
        const QString children = outline(child, marks);
        parts.append(
            QLatin1String(marks && child->isDisabled() ? "!" : "")
            + QLatin1String(marks && child->isHidden() ? "~" : "") + child->text(0)
            + (children.isEmpty() ? children : QLatin1Char('(') + children + QLatin1Char(')')));
    }
    return parts.join(QLatin1Char(','));
}

// The outline shown, or both when the browser items and the rows disagree.
QString shown(const QtTreePropertyBrowser &browser)
{
    const QString items = outline(browser.topLevelItems());
    const QTreeWidgetItem *root = treeOf(browser)->invisibleRootItem();
    return items == outline(root, false) ? outline(root, true)
                                         : items + QLatin1String(" | rows ") + outline(root, false);
}

// Opens editors the way the tree does.
struct Browser : QtTreePropertyBrowser
{
    using QtAbstractPropertyBrowser::createEditor;
};

// A client of the library: every manager paired with its factory in a tree browser, and a
// group with one property of every editable kind, shown on request.
struct Bench
{
    Bench()
    {
        browser.setFactoryForManager(&ints, &spinBoxes);
        browser.setFactoryForManager(&doubles, &doubleSpinBoxes);
        browser.setFactoryForManager(&bools, &checkBoxes);
        browser.setFactoryForManager(&strings, &lineEdits);
        browser.setFactoryForManager(&enums, &enumEditors);
        ints.setRange(count, 0, 1000);
        ints.setValue(count, 5);
        doubles.setRange(pressure, -1.0, 600.0);
        doubles.setDecimals(pressure, 3);
        bools.setValue(active, false, QString(), QString());
        strings.setValue(label, QStringLiteral("old"));
        enums.setEnumNames(unit,
                           {QStringLiteral("bar"), QStringLiteral("psi"), QStringLiteral("MPa")});
        for (QtProperty *property : {count, pressure, active, label, unit}) {
            group->addSubProperty(property);
            byName.insert(property->propertyName(), property);
        }
        browser.resize(400, 300);
    }

    bool show(QtProperty *top)
    {
        browser.addProperty(top);
        browser.show();
        QApplication::setActiveWindow(&browser);
        return QTest::qWaitForWindowActive(&browser);
    }

    // Column 0 holds the name, column 1 the value.
    QWidget *click(const QString &name, int column = 1)
    {
        const QHeaderView *header = treeOf(browser)->header();
        const QPoint centre(header->sectionViewportPosition(column)
                                + header->sectionSize(column) / 2,
                            treeOf(browser)->visualItemRect(row(browser, name)).center().y());
        QTest::mouseClick(treeOf(browser)->viewport(), Qt::LeftButton, {}, centre);
        return openEditor();
    }

    // The editor on screen; closed editors are hidden until they are deleted.
    QWidget *openEditor() const
    {
        for (QWidget *child : treeOf(browser)->viewport()->findChildren<QWidget *>(
                 QString(), Qt::FindDirectChildrenOnly)) {
            if (child->isVisible())
                return child;
        }
        return nullptr;
    }

    QtGroupPropertyManager groups;
    QtIntPropertyManager ints;
    QtDoublePropertyManager doubles;
    QtBoolPropertyManager bools;
    QtStringPropertyManager strings;
    QtEnumPropertyManager enums;
    QtSpinBoxFactory spinBoxes;
    QtDoubleSpinBoxFactory doubleSpinBoxes;
    QtCheckBoxFactory checkBoxes;
    QtLineEditFactory lineEdits;
    QtEnumEditorFactory enumEditors;
    QHash<QString, QtProperty *> byName;
    Browser browser;
    QtProperty *group = groups.addProperty(QStringLiteral("Sensor"));
    QtProperty *count = ints.addProperty(QStringLiteral("count"));
    QtProperty *pressure = doubles.addProperty(QStringLiteral("pressure"));
    QtProperty *active = bools.addProperty(QStringLiteral("active"));
    QtProperty *label = strings.addProperty(QStringLiteral("label"));
    QtProperty *unit = enums.addProperty(QStringLiteral("unit"));
};

void replaceText(QWidget *editor, const QString &text)
{
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, text);
}

using PropertiesByName = QHash<QString, QtProperty *>;
using TreeEdit = std::function<void(QtTreePropertyBrowser &, const PropertiesByName &)>;
using BenchAction = std::function<void(Bench &)>;
using EditorAction = std::function<void(QWidget *, Bench &)>;

} // namespace

Q_DECLARE_METATYPE(TreeEdit)
Q_DECLARE_METATYPE(BenchAction)
Q_DECLARE_METATYPE(EditorAction)

class tst_PropertyBrowser : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init() { m = std::make_unique<Bench>(); }
    void cleanup() { m.reset(); }

    void boundedValueStaysInRangeAndSignalsOnce_data();
    void boundedValueStaysInRangeAndSignalsOnce();
    void valueSignalsOnlyRealChanges();
    void decimalsShapeValueText();
    void boolCaptionsFollowTheStateWithoutValueSignals();
    void enumNamesChangeKeepsIndexWherePossible();
    void repeatedChangesAndLoopsAreRefused();
    void deletedPropertyLeavesManagerAndParents();

    void addedPropertyBringsItsExpandedSubtreeAndTips();
    void propertyChangesAfterAddingReachTheTree_data();
    void propertyChangesAfterAddingReachTheTree();
    void currentItemFollowsTheTreeBothWaysUntilRemoved();
    void deletedManagerLeavesTheBrowserCleanly();
    void suggestedWidthFitsNamesAndValuesWithinReason_data();
    void suggestedWidthFitsNamesAndValuesWithinReason();
    void factoryIsPairedUntilTheLastBrowserLetsGo();

    void userEditReachesTheManagerOnce_data();
    void userEditReachesTheManagerOnce();
    void editorsFollowTheManagerAndRefuseEditsWhileDisabled_data();
    void editorsFollowTheManagerAndRefuseEditsWhileDisabled();
    void editorWithoutPropertyOrManagerEditsNothing();

private:
    std::unique_ptr<Bench> m;
};

void tst_PropertyBrowser::boundedValueStaysInRangeAndSignalsOnce_data()
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

void tst_PropertyBrowser::boundedValueStaysInRangeAndSignalsOnce()
{
    QFETCH(bool, doubles);
    if (doubles)
        checkBoundedEdit<QtDoublePropertyManager>();
    else
        checkBoundedEdit<QtIntPropertyManager>();
}

void tst_PropertyBrowser::valueSignalsOnlyRealChanges()
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

    // An enum index past either end becomes the last or the first.
    QtEnumPropertyManager enums;
    QtProperty *enumProperty = enums.addProperty();
    enums.setEnumNames(enumProperty, {QStringLiteral("bar"), QStringLiteral("psi")});
    QCOMPARE(emittedValues(enums, enumProperty, QList<int>{0, 1, 1, 9, -3}), (QList<int>{1, 0}));
}

void tst_PropertyBrowser::decimalsShapeValueText()
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

void tst_PropertyBrowser::boolCaptionsFollowTheStateWithoutValueSignals()
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

void tst_PropertyBrowser::enumNamesChangeKeepsIndexWherePossible()
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

void tst_PropertyBrowser::repeatedChangesAndLoopsAreRefused()
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

void tst_PropertyBrowser::deletedPropertyLeavesManagerAndParents()
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

    QVERIFY(second->subProperties().isEmpty());
    QCOMPARE(removed.count(), 2);
    QCOMPARE(bools.properties(), QSet<QtProperty *>{grandChild});
    // The grandchild no longer counts the deleted property as a parent.
    first->addSubProperty(grandChild);
    QCOMPARE(first->subProperties(), QList<QtProperty *>{grandChild});
    groups.clear();
    QVERIFY(groups.properties().isEmpty());
}

void tst_PropertyBrowser::addedPropertyBringsItsExpandedSubtreeAndTips()
{
    QtProperty *inner = m->groups.addProperty(QStringLiteral("inner"));
    m->group->addSubProperty(inner);
    inner->addSubProperty(m->ints.addProperty(QStringLiteral("b")));
    m->pressure->setStatusTip(QStringLiteral("readOnly"));
    QtBrowserItem *item = m->browser.addProperty(m->group);

    QVERIFY(!item->parent());
    QCOMPARE(item->children().at(1)->parent(), item);
    QCOMPARE(shown(m->browser),
             QStringLiteral("Sensor(count,pressure,active,label,unit,inner(b))"));
    // A group row has no value column of its own.
    QVERIFY(row(m->browser, QStringLiteral("inner"))->isFirstColumnSpanned());
    QVERIFY(!row(m->browser, QStringLiteral("b"))->isFirstColumnSpanned());

    // Without a tool tip of its own the value is its tip.
    const QTreeWidgetItem *pressure = row(m->browser, QStringLiteral("pressure"));
    QCOMPARE(pressure->toolTip(1), QStringLiteral("0.000"));
    m->pressure->setToolTip(QStringLiteral("Switching point"));
    m->pressure->setWhatsThis(QStringLiteral("Help"));
    m->doubles.setValue(m->pressure, 2.0);
    for (int column : {0, 1}) {
        QCOMPARE(pressure->statusTip(column), QStringLiteral("readOnly"));
        QCOMPARE(pressure->toolTip(column), QStringLiteral("Switching point"));
        QCOMPARE(pressure->whatsThis(column), QStringLiteral("Help"));
    }

    QVERIFY(row(m->browser, QStringLiteral("inner"))->isExpanded());
    QSignalSpy collapsed(&m->browser, &QtTreePropertyBrowser::collapsed);
    m->browser.setExpanded(item, false);
    QVERIFY(!row(m->browser, QStringLiteral("Sensor"))->isExpanded());
    QCOMPARE(collapsed.count(), 1);
    QCOMPARE(collapsed.at(0).at(0).value<QtBrowserItem *>(), item);
}

void tst_PropertyBrowser::propertyChangesAfterAddingReachTheTree_data()
{
    QTest::addColumn<TreeEdit>("edit");
    QTest::addColumn<QString>("expected");

    using B = QtTreePropertyBrowser;
    using P = PropertiesByName;
    // Every row starts from group(a,c), with b and d not shown.
    QTest::newRow("inserted after the first")
        << TreeEdit([](B &, const P &p) { p["g"]->insertSubProperty(p["b"], p["a"]); })
        << "g(a,b,c)";
    QTest::newRow("inserted first")
        << TreeEdit([](B &, const P &p) { p["g"]->insertSubProperty(p["b"], nullptr); })
        << "g(b,a,c)";
    QTest::newRow("added with its own sub-property") << TreeEdit([](B &, const P &p) {
        p["b"]->addSubProperty(p["d"]);
        p["g"]->addSubProperty(p["b"]);
    }) << "g(a,c,b(d))";
    QTest::newRow("below a shown sub-property")
        << TreeEdit([](B &, const P &p) { p["a"]->addSubProperty(p["b"]); }) << "g(a(b),c)";
    QTest::newRow("removed") << TreeEdit([](B &, const P &p) { p["g"]->removeSubProperty(p["a"]); })
                             << "g(c)";
    QTest::newRow("top level, inserted first and added twice") << TreeEdit([](B &b, const P &p) {
        b.insertProperty(p["b"], nullptr);
        QVERIFY(!b.addProperty(p["b"]));
        b.addProperty(p["d"]);
    }) << "b,g(a,c),d";
    QTest::newRow("top level, removed") << TreeEdit([](B &b, const P &p) {
        b.addProperty(p["b"]);
        b.removeProperty(p["g"]);
        QVERIFY(b.items(p["a"]).isEmpty());
    }) << "b";
    QTest::newRow("under a second parent, renamed in both, hidden in one")
        << TreeEdit([](B &b, const P &p) {
               b.addProperty(p["d"]);
               p["d"]->addSubProperty(p["a"]);
               p["a"]->setPropertyName(QStringLiteral("x"));
               b.setItemVisible(b.items(p["a"]).at(1), false);
           })
        << "g(x,c),d(~x)";
    QTest::newRow("removed from one of two parents") << TreeEdit([](B &b, const P &p) {
        b.addProperty(p["d"]);
        p["d"]->addSubProperty(p["a"]);
        p["g"]->removeSubProperty(p["a"]);
        p["a"]->setPropertyName(QStringLiteral("x"));
    }) << "g(c),d(x)";
    QTest::newRow("disabled, with sub-properties added later") << TreeEdit([](B &, const P &p) {
        p["a"]->setEnabled(false);
        p["g"]->setEnabled(false);
        p["g"]->addSubProperty(p["b"]);
    }) << "!g(!a,!c,!b)";
    QTest::newRow("enabled again, a disabled sub-property stays so")
        << TreeEdit([](B &, const P &p) {
               p["a"]->setEnabled(false);
               p["g"]->setEnabled(false);
               p["g"]->setEnabled(true);
           })
        << "g(!a,c)";
    QTest::newRow("cleared") << TreeEdit([](B &b, const P &) { b.clear(); }) << "";
}

void tst_PropertyBrowser::propertyChangesAfterAddingReachTheTree()
{
    QFETCH(TreeEdit, edit);

    PropertiesByName properties{{QStringLiteral("g"), m->groups.addProperty(QStringLiteral("g"))}};
    for (const QString &name :
         {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")})
        properties.insert(name, m->strings.addProperty(name));
    properties["g"]->addSubProperty(properties["a"]);
    properties["g"]->addSubProperty(properties["c"]);
    m->browser.addProperty(properties["g"]);

    edit(m->browser, properties);

    QTEST(shown(m->browser), "expected");
}

void tst_PropertyBrowser::currentItemFollowsTheTreeBothWaysUntilRemoved()
{
    QtTreePropertyBrowser &browser = m->browser;
    QVERIFY(m->show(m->group));
    QtBrowserItem *a = browser.addProperty(m->ints.addProperty(QStringLiteral("a")));
    QtBrowserItem *countItem = browser.items(m->count).constFirst();
    QSignalSpy current(&browser, &QtAbstractPropertyBrowser::currentItemChanged);

    browser.setCurrentItem(a);
    QCOMPARE(treeOf(browser)->currentItem(), row(browser, QStringLiteral("a")));
    m->click(QStringLiteral("count"), 0);
    QCOMPARE(browser.currentItem(), countItem);
    m->group->removeSubProperty(m->count);

    QVERIFY(!browser.currentItem());
    QCOMPARE(current.count(), 3);
    QCOMPARE(current.at(0).at(0).value<QtBrowserItem *>(), a);
    QCOMPARE(current.at(1).at(0).value<QtBrowserItem *>(), countItem);
    QCOMPARE(current.at(2).at(0).value<QtBrowserItem *>(), nullptr);
}

void tst_PropertyBrowser::deletedManagerLeavesTheBrowserCleanly()
{
    auto ints = std::make_unique<QtIntPropertyManager>();
    QtSpinBoxFactory spinBoxes;
    QtTreePropertyBrowser &browser = m->browser;
    browser.setFactoryForManager(ints.get(), &spinBoxes);
    QtProperty *group = m->groups.addProperty(QStringLiteral("group"));
    group->addSubProperty(ints->addProperty(QStringLiteral("inner")));
    browser.addProperty(group);
    QVERIFY(m->show(ints->addProperty(QStringLiteral("outer"))));
    browser.editItem(browser.topLevelItems().constLast());
    QVERIFY(m->openEditor());

    ints.reset();

    QVERIFY(spinBoxes.propertyManagers().isEmpty());
    group->setPropertyName(QStringLiteral("renamed"));
    QCOMPARE(shown(browser), QStringLiteral("renamed"));
}

void tst_PropertyBrowser::suggestedWidthFitsNamesAndValuesWithinReason_data()
{
    QTest::addColumn<int>("nameLength");
    QTest::addColumn<int>("valueLength");
    QTest::addColumn<bool>("valueWhole");
    QTest::newRow("room for values beside a long name") << 60 << 0 << true;
    QTest::newRow("a value wider than that room") << 4 << 16 << true;
    QTest::newRow("a value too long to show whole") << 4 << 200 << false;
}

void tst_PropertyBrowser::suggestedWidthFitsNamesAndValuesWithinReason()
{
    QFETCH(int, nameLength);
    QFETCH(int, valueLength);
    m->browser.setResizeMode(QtTreePropertyBrowser::ResizeToContents);
    m->browser.addProperty(m->group);
    const QString name(nameLength, QLatin1Char('W'));
    const QString value(valueLength, QLatin1Char('W'));
    QtProperty *property = m->strings.addProperty(name);
    m->strings.setValue(property, value);
    m->group->addSubProperty(property);
    const QFontMetrics metrics = treeOf(m->browser)->fontMetrics();
    const int nameWidth = metrics.horizontalAdvance(name);
    const int valueWidth = metrics.horizontalAdvance(value);
    const int width = m->browser.sizeHint().width();
    QVERIFY(width >= nameWidth + 100);
    QTEST(width >= nameWidth + valueWidth, "valueWhole");

    // A longer name, then a larger font, are measured anew.
    property->setPropertyName(name + name);
    QVERIFY(m->browser.sizeHint().width() >= 2 * nameWidth + 100);
    QFont larger = treeOf(m->browser)->font();
    larger.setPointSizeF(larger.pointSizeF() * 2);
    treeOf(m->browser)->setFont(larger);
    QVERIFY(m->browser.sizeHint().width()
            >= QFontMetrics(larger).horizontalAdvance(name + name) + 100);
}

void tst_PropertyBrowser::factoryIsPairedUntilTheLastBrowserLetsGo()
{
    QtTreePropertyBrowser second;
    second.setFactoryForManager(&m->ints, &m->spinBoxes);
    m->browser.unsetFactoryForManager(&m->ints);
    QCOMPARE(m->spinBoxes.propertyManagers(), QSet<QtIntPropertyManager *>{&m->ints});
    second.unsetFactoryForManager(&m->ints);
    QVERIFY(m->spinBoxes.propertyManagers().isEmpty());

    // A replaced factory is let go; a deleted one no longer opens editors.
    auto replacement = std::make_unique<QtSpinBoxFactory>();
    m->browser.setFactoryForManager(&m->ints, &m->spinBoxes);
    m->browser.setFactoryForManager(&m->ints, replacement.get());
    QVERIFY(m->spinBoxes.propertyManagers().isEmpty());
    QVERIFY(m->show(m->count));
    m->browser.setCurrentItem(m->browser.topLevelItem(m->count));
    QTest::keyClick(treeOf(m->browser), Qt::Key_Return);
    QVERIFY(qobject_cast<QSpinBox *>(m->openEditor()));
    QTest::keyClick(m->openEditor(), Qt::Key_Escape);
    QTRY_VERIFY(!m->openEditor());
    replacement.reset();
    m->browser.editItem(m->browser.topLevelItem(m->count));
    QVERIFY(!m->openEditor());
}

void tst_PropertyBrowser::userEditReachesTheManagerOnce_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<EditorAction>("edit");
    QTest::addColumn<QString>("expected");

    QTest::newRow("double spin box closed by Enter")
        << "pressure" << EditorAction([](QWidget *e, Bench &b) {
               replaceText(e, QStringLiteral("2.5"));
               QTest::keyClick(e, Qt::Key_Enter);
               QTRY_VERIFY(!b.openEditor());
           })
        << "2.500";
    QTest::newRow("line edit keeps to the expression")
        << "label" << EditorAction([](QWidget *e, Bench &b) {
               b.strings.setRegExp(b.label, QRegularExpression(QStringLiteral("[0-9]*")));
               replaceText(e, QStringLiteral("12ab3"));
               QTest::keyClick(e, Qt::Key_Return);
           })
        << "123";
    QTest::newRow("typed number counts when focus leaves")
        << "count" << EditorAction([](QWidget *e, Bench &b) {
               replaceText(e, QStringLiteral("123"));
               QCOMPARE(b.ints.value(b.count), 5);
               b.click(QStringLiteral("label"));
           })
        << "123";
}

void tst_PropertyBrowser::userEditReachesTheManagerOnce()
{
    QFETCH(QString, name);
    QFETCH(EditorAction, edit);

    QtProperty *property = m->byName.value(name);
    QVERIFY(m->show(m->group));
    QSignalSpy changed(property->propertyManager(), &QtAbstractPropertyManager::propertyChanged);

    edit(m->click(name), *m);

    QCOMPARE(changed.count(), 1);
    QTEST(row(m->browser, name)->text(1), "expected");
}

void tst_PropertyBrowser::editorsFollowTheManagerAndRefuseEditsWhileDisabled_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<BenchAction>("change");
    QTest::addColumn<QByteArray>("editorProperty");
    QTest::addColumn<QVariant>("expected");
    // Written to the editor's user property, as a signal-driven edit.
    QTest::addColumn<QVariant>("poked");

    using B = Bench;
    QTest::newRow("int value") << "count" << BenchAction([](B &b) { b.ints.setValue(b.count, 17); })
                               << QByteArray("value") << QVariant(17) << QVariant(77);
    QTest::newRow("int range") << "count"
                               << BenchAction([](B &b) { b.ints.setMaximum(b.count, 3); })
                               << QByteArray("maximum") << QVariant(3) << QVariant(1);
    QTest::newRow("double decimals")
        << "pressure" << BenchAction([](B &b) { b.doubles.setDecimals(b.pressure, 1); })
        << QByteArray("decimals") << QVariant(1) << QVariant(12.5);
    QTest::newRow("bool value") << "active"
                                << BenchAction([](B &b) { b.bools.setValue(b.active, true); })
                                << QByteArray("checked") << QVariant(true) << QVariant(false);
    QTest::newRow("bool captions") << "active" << BenchAction([](B &b) {
        b.bools.setValue(b.active, true, QStringLiteral("on"), QStringLiteral("off"));
    }) << QByteArray("text") << QVariant("on")
                                   << QVariant(false);
    QTest::newRow("string value") << "label" << BenchAction([](B &b) {
        b.strings.setValue(b.label, QStringLiteral("new"));
    }) << QByteArray("text") << QVariant("new")
                                  << QVariant("other");
    QTest::newRow("enum names") << "unit" << BenchAction([](B &b) {
        b.enums.setValue(b.unit, 1);
        b.enums.setEnumNames(b.unit, {QStringLiteral("°C"), QStringLiteral("°F")});
    }) << QByteArray("currentText")
                                << QVariant("°F") << QVariant("°C");
}

void tst_PropertyBrowser::editorsFollowTheManagerAndRefuseEditsWhileDisabled()
{
    QFETCH(QString, name);
    QFETCH(BenchAction, change);
    QFETCH(QByteArray, editorProperty);
    QFETCH(QVariant, poked);
    const auto poke = [&](QWidget *editor) {
        editor->metaObject()->userProperty().write(editor, poked);
        if (auto *lineEdit = qobject_cast<QLineEdit *>(editor))
            emit lineEdit->editingFinished();
    };

    QtProperty *property = m->byName.value(name);
    QWidget parent;
    const QList<QWidget *> editors{m->browser.createEditor(property, &parent),
                                   m->browser.createEditor(property, &parent)};
    change(*m);
    for (const QWidget *editor : editors)
        QTEST(editor->property(editorProperty.constData()), "expected");

    property->setEnabled(false);
    QVERIFY(!editors.at(0)->isEnabled());
    QSignalSpy changed(property->propertyManager(), &QtAbstractPropertyManager::propertyChanged);
    poke(editors.at(0));
    QCOMPARE(changed.count(), 0);

    // The same edit goes through once the property is enabled again.
    property->setEnabled(true);
    QVERIFY(editors.at(0)->isEnabled());
    changed.clear();
    poke(editors.at(0));
    QCOMPARE(changed.count(), 1);
}

void tst_PropertyBrowser::editorWithoutPropertyOrManagerEditsNothing()
{
    QtProperty *doomed = m->ints.addProperty(QStringLiteral("doomed"));
    QWidget parent;
    auto *editor = qobject_cast<QSpinBox *>(m->spinBoxes.createEditor(doomed, &parent));
    QVERIFY(editor);
    delete doomed;
    QSignalSpy changed(&m->ints, &QtAbstractPropertyManager::propertyChanged);
    editor->setValue(9);
    QCOMPARE(changed.count(), 0);
    QVERIFY(!m->spinBoxes.createEditor(m->pressure, &parent));
}

QTEST_MAIN(tst_PropertyBrowser)
#include "tst_propertybrowser.moc"
