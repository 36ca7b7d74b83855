#include "browsertesting.h"

#include <propertybrowser/qteditorfactory.h>
#include <propertybrowser/qtpropertymanager.h>

#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

#include <functional>
#include <memory>

using namespace BrowserTesting;

namespace {

using PropertiesByName = QHash<QString, QtProperty *>;
using TreeEdit = std::function<void(const PropertiesByName &)>;

QString treeOutline(const QtTreePropertyBrowser &browser)
{
    return outline(treeOf(browser)->invisibleRootItem());
}

// One property below two groups, the second group getting it after it is shown.
struct SharedChild
{
    SharedChild()
    {
        first->addSubProperty(shared);
        browser.addProperty(first);
        browser.addProperty(second);
        second->addSubProperty(shared);
    }

    QtGroupPropertyManager groups;
    QtIntPropertyManager ints;
    QtProperty *first = groups.addProperty(QStringLiteral("first"));
    QtProperty *second = groups.addProperty(QStringLiteral("second"));
    QtProperty *shared = ints.addProperty(QStringLiteral("shared"));
    QtTreePropertyBrowser browser;
};

} // namespace

Q_DECLARE_METATYPE(TreeEdit)

class TestTreePropertyBrowser : public QObject
{
    Q_OBJECT

private slots:
    void addedPropertyBringsItsSubtreeWithGroupRowsSpanned();
    void subPropertyChangesAfterAddingReachTheTree_data();
    void subPropertyChangesAfterAddingReachTheTree();
    void propertyUnderTwoParentsHasTwoItems();
    void topLevelPropertiesKeepTheirOrder();
    void visibilityIsPerItem();
    void currentItemFollowsTheTreeBothWaysUntilRemoved();
    void deletedManagerLeavesTheBrowserCleanly();
    void disabledPropertyGreysOutItsSubtree();
    void rowShowsTipsAndValue();
    void suggestedWidthLeavesRoomForValuesBesideTheLongestName();
    void itemsStartExpandedAndReportCollapsing();
    void factoryIsReleasedByTheLastBrowserUsingIt();
    void replacingOrDeletingAFactoryUnpairsIt();
};

void TestTreePropertyBrowser::addedPropertyBringsItsSubtreeWithGroupRowsSpanned()
{
    QtGroupPropertyManager groups;
    QtIntPropertyManager ints;
    QtProperty *group = groups.addProperty(QStringLiteral("group"));
    QtProperty *inner = groups.addProperty(QStringLiteral("inner"));
    group->addSubProperty(ints.addProperty(QStringLiteral("a")));
    group->addSubProperty(inner);
    inner->addSubProperty(ints.addProperty(QStringLiteral("b")));

    QtTreePropertyBrowser browser;
    QtBrowserItem *item = browser.addProperty(group);

    QVERIFY(!item->parent());
    QCOMPARE(item->children().at(1)->parent(), item);
    QCOMPARE(browser.topLevelItems(), QList<QtBrowserItem *>{item});
    QCOMPARE(outline(browser.topLevelItems()), QStringLiteral("group(a,inner(b))"));
    QCOMPARE(treeOutline(browser), QStringLiteral("group(a,inner(b))"));
    // A group row has no value column of its own.
    QVERIFY(row(browser, QStringLiteral("inner"))->isFirstColumnSpanned());
    QVERIFY(!row(browser, QStringLiteral("b"))->isFirstColumnSpanned());
}

void TestTreePropertyBrowser::subPropertyChangesAfterAddingReachTheTree_data()
{
    QTest::addColumn<TreeEdit>("edit");
    QTest::addColumn<QString>("expected");

    // Every row starts from group(a,c), with b and d not shown.
    QTest::newRow("appended") << TreeEdit([](const PropertiesByName &p) {
        p["group"]->addSubProperty(p["b"]);
    }) << QStringLiteral("group(a,c,b)");
    QTest::newRow("inserted after the first") << TreeEdit([](const PropertiesByName &p) {
        p["group"]->insertSubProperty(p["b"], p["a"]);
    }) << QStringLiteral("group(a,b,c)");
    QTest::newRow("inserted first") << TreeEdit([](const PropertiesByName &p) {
        p["group"]->insertSubProperty(p["b"], nullptr);
    }) << QStringLiteral("group(b,a,c)");
    QTest::newRow("added with its own sub-property") << TreeEdit([](const PropertiesByName &p) {
        p["b"]->addSubProperty(p["d"]);
        p["group"]->addSubProperty(p["b"]);
    }) << QStringLiteral("group(a,c,b(d))");
    QTest::newRow("below a shown sub-property")
        << TreeEdit([](const PropertiesByName &p) { p["a"]->addSubProperty(p["b"]); })
        << QStringLiteral("group(a(b),c)");
    QTest::newRow("removed") << TreeEdit([](const PropertiesByName &p) {
        p["group"]->removeSubProperty(p["a"]);
    }) << QStringLiteral("group(c)");
    QTest::newRow("deleted") << TreeEdit([](const PropertiesByName &p) { delete p["c"]; })
                             << QStringLiteral("group(a)");
    QTest::newRow("all removed") << TreeEdit([](const PropertiesByName &p) {
        p["group"]->removeSubProperty(p["a"]);
        p["group"]->removeSubProperty(p["c"]);
    }) << QStringLiteral("group");
}

void TestTreePropertyBrowser::subPropertyChangesAfterAddingReachTheTree()
{
    QFETCH(TreeEdit, edit);
    QFETCH(QString, expected);

    QtGroupPropertyManager groups;
    QtStringPropertyManager strings;
    PropertiesByName properties{
        {QStringLiteral("group"), groups.addProperty(QStringLiteral("group"))}};
    for (const QString &name :
         {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")})
        properties.insert(name, strings.addProperty(name));
    properties["group"]->addSubProperty(properties["a"]);
    properties["group"]->addSubProperty(properties["c"]);
    QtTreePropertyBrowser browser;
    browser.addProperty(properties["group"]);

    edit(properties);

    QCOMPARE(outline(browser.topLevelItems()), expected);
    QCOMPARE(treeOutline(browser), expected);
}

void TestTreePropertyBrowser::propertyUnderTwoParentsHasTwoItems()
{
    SharedChild tree;
    QtTreePropertyBrowser &browser = tree.browser;

    const QList<QtBrowserItem *> items = browser.items(tree.shared);
    QCOMPARE(items.size(), 2);
    QCOMPARE(items.at(0)->parent()->property(), tree.first);
    QCOMPARE(items.at(1)->parent()->property(), tree.second);

    tree.ints.setValue(tree.shared, 42);
    const QList<QTreeWidgetItem *> sharedRows = rows(browser, QStringLiteral("shared"));
    QCOMPARE(sharedRows.size(), 2);
    for (const QTreeWidgetItem *sharedRow : sharedRows)
        QCOMPARE(sharedRow->text(1), QStringLiteral("42"));

    tree.first->removeSubProperty(tree.shared);
    QCOMPARE(browser.items(tree.shared).size(), 1);
    QCOMPARE(treeOutline(browser), QStringLiteral("first,second(shared)"));
}

void TestTreePropertyBrowser::topLevelPropertiesKeepTheirOrder()
{
    QtStringPropertyManager strings;
    QtProperty *a = strings.addProperty(QStringLiteral("a"));
    QtProperty *b = strings.addProperty(QStringLiteral("b"));
    QtProperty *c = strings.addProperty(QStringLiteral("c"));
    QtTreePropertyBrowser browser;

    QVERIFY(browser.addProperty(a));
    QVERIFY(browser.addProperty(c));
    QVERIFY(browser.insertProperty(b, a));
    QVERIFY(!browser.addProperty(b));
    QCOMPARE(browser.properties(), (QList<QtProperty *>{a, b, c}));
    QCOMPARE(treeOutline(browser), QStringLiteral("a,b,c"));

    browser.removeProperty(a);
    QCOMPARE(browser.properties(), (QList<QtProperty *>{b, c}));
    QVERIFY(browser.items(a).isEmpty());

    browser.clear();
    QVERIFY(browser.topLevelItems().isEmpty());
    QCOMPARE(treeOf(browser)->topLevelItemCount(), 0);
}

void TestTreePropertyBrowser::visibilityIsPerItem()
{
    SharedChild tree;
    QtTreePropertyBrowser &browser = tree.browser;
    const QList<QtBrowserItem *> items = browser.items(tree.shared);
    const QList<QTreeWidgetItem *> sharedRows = rows(browser, QStringLiteral("shared"));

    browser.setItemVisible(items.at(1), false);

    QVERIFY(!browser.isItemVisible(items.at(1)));
    QVERIFY(!sharedRows.at(0)->isHidden());
    QVERIFY(sharedRows.at(1)->isHidden());

    browser.setItemVisible(items.at(1), true);
    QVERIFY(!sharedRows.at(1)->isHidden());
}

void TestTreePropertyBrowser::currentItemFollowsTheTreeBothWaysUntilRemoved()
{
    QtGroupPropertyManager groups;
    QtIntPropertyManager ints;
    QtProperty *group = groups.addProperty(QStringLiteral("group"));
    QtProperty *value = ints.addProperty(QStringLiteral("value"));
    group->addSubProperty(value);
    QtTreePropertyBrowser browser;
    browser.addProperty(group);
    QtBrowserItem *a = browser.addProperty(ints.addProperty(QStringLiteral("a")));
    QtBrowserItem *valueItem = browser.items(value).constFirst();
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    QSignalSpy current(&browser, &QtAbstractPropertyBrowser::currentItemChanged);

    browser.setCurrentItem(a);
    QCOMPARE(treeOf(browser)->currentItem(), row(browser, QStringLiteral("a")));
    QTest::mouseClick(treeOf(browser)->viewport(), Qt::LeftButton, {},
                      cell(browser, QStringLiteral("value"), 0));
    QCOMPARE(browser.currentItem(), valueItem);
    browser.setCurrentItem(valueItem);
    group->removeSubProperty(value);

    QVERIFY(!browser.currentItem());
    QCOMPARE(current.count(), 3);
    QCOMPARE(current.at(0).at(0).value<QtBrowserItem *>(), a);
    QCOMPARE(current.at(1).at(0).value<QtBrowserItem *>(), valueItem);
    QCOMPARE(current.at(2).at(0).value<QtBrowserItem *>(), nullptr);
}

void TestTreePropertyBrowser::deletedManagerLeavesTheBrowserCleanly()
{
    QtGroupPropertyManager groups;
    auto ints = std::make_unique<QtIntPropertyManager>();
    QtSpinBoxFactory spinBoxes;
    QtProperty *group = groups.addProperty(QStringLiteral("group"));
    group->addSubProperty(ints->addProperty(QStringLiteral("inner")));
    QtTreePropertyBrowser browser;
    browser.setFactoryForManager(ints.get(), &spinBoxes);
    browser.addProperty(group);
    browser.addProperty(ints->addProperty(QStringLiteral("outer")));
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    browser.editItem(browser.topLevelItems().constLast());
    QVERIFY(treeOf(browser)->viewport()->findChild<QSpinBox *>());

    ints.reset();

    QVERIFY(spinBoxes.propertyManagers().isEmpty());
    QVERIFY(!browser.currentItem());
    QCOMPARE(browser.properties(), QList<QtProperty *>{group});
    QCOMPARE(outline(browser.topLevelItems()), QStringLiteral("group"));
    QCOMPARE(treeOutline(browser), QStringLiteral("group"));
    group->setPropertyName(QStringLiteral("renamed"));
    QCOMPARE(treeOutline(browser), QStringLiteral("renamed"));
}

void TestTreePropertyBrowser::disabledPropertyGreysOutItsSubtree()
{
    QtGroupPropertyManager groups;
    QtIntPropertyManager ints;
    QtProperty *group = groups.addProperty(QStringLiteral("group"));
    QtProperty *child = ints.addProperty(QStringLiteral("child"));
    QtProperty *ownDisabled = ints.addProperty(QStringLiteral("own"));
    QtProperty *late = ints.addProperty(QStringLiteral("late"));
    group->addSubProperty(child);
    group->addSubProperty(ownDisabled);
    ownDisabled->setEnabled(false);
    QtTreePropertyBrowser browser;
    browser.addProperty(group);

    group->setEnabled(false);
    group->addSubProperty(late);
    for (const QString &name : {QStringLiteral("group"), QStringLiteral("child"),
                                QStringLiteral("own"), QStringLiteral("late")})
        QVERIFY2(row(browser, name)->isDisabled(), qPrintable(name));

    group->setEnabled(true);
    QVERIFY(!row(browser, QStringLiteral("child"))->isDisabled());
    QVERIFY(!row(browser, QStringLiteral("late"))->isDisabled());
    QVERIFY(row(browser, QStringLiteral("own"))->isDisabled());
}

void TestTreePropertyBrowser::rowShowsTipsAndValue()
{
    QtDoublePropertyManager doubles;
    QtProperty *property = doubles.addProperty(QStringLiteral("pressure"));
    doubles.setDecimals(property, 3);
    doubles.setValue(property, 1.5);
    property->setStatusTip(QStringLiteral("readOnly"));
    QtTreePropertyBrowser browser;
    browser.addProperty(property);
    const QTreeWidgetItem *pressure = row(browser, QStringLiteral("pressure"));
    QCOMPARE(pressure->text(1), QLocale().toString(1.5, 'f', 3));
    QCOMPARE(pressure->toolTip(1), pressure->text(1));

    property->setToolTip(QStringLiteral("Switching point"));
    property->setWhatsThis(QStringLiteral("Help"));
    doubles.setValue(property, 2.0);

    for (int column : {0, 1}) {
        QCOMPARE(pressure->statusTip(column), QStringLiteral("readOnly"));
        QCOMPARE(pressure->toolTip(column), QStringLiteral("Switching point"));
        QCOMPARE(pressure->whatsThis(column), QStringLiteral("Help"));
    }
    QCOMPARE(pressure->text(1), QLocale().toString(2.0, 'f', 3));
}

void TestTreePropertyBrowser::suggestedWidthLeavesRoomForValuesBesideTheLongestName()
{
    QtGroupPropertyManager groups;
    QtStringPropertyManager strings;
    QtProperty *group = groups.addProperty(QStringLiteral("group"));
    QtProperty *shortName = strings.addProperty(QStringLiteral("id"));
    group->addSubProperty(shortName);
    QtTreePropertyBrowser browser;
    browser.setResizeMode(QtTreePropertyBrowser::ResizeToContents);
    browser.addProperty(group);
    const int before = browser.sizeHint().width();

    const QString longName(60, QLatin1Char('W'));
    group->addSubProperty(strings.addProperty(longName));
    const int nameWidth = treeOf(browser)->fontMetrics().horizontalAdvance(longName);
    QVERIFY(browser.sizeHint().width() > before);
    QVERIFY(browser.sizeHint().width() >= nameWidth + 100);
}

void TestTreePropertyBrowser::itemsStartExpandedAndReportCollapsing()
{
    QtGroupPropertyManager groups;
    QtProperty *group = groups.addProperty(QStringLiteral("group"));
    group->addSubProperty(groups.addProperty(QStringLiteral("inner")));
    QtTreePropertyBrowser browser;
    QtBrowserItem *item = browser.addProperty(group);
    QVERIFY(row(browser, QStringLiteral("group"))->isExpanded());
    QSignalSpy collapsed(&browser, &QtTreePropertyBrowser::collapsed);

    browser.setExpanded(item, false);
    QVERIFY(!row(browser, QStringLiteral("group"))->isExpanded());
    QCOMPARE(collapsed.count(), 1);
    QCOMPARE(collapsed.at(0).at(0).value<QtBrowserItem *>(), item);
}

void TestTreePropertyBrowser::factoryIsReleasedByTheLastBrowserUsingIt()
{
    QtIntPropertyManager ints;
    QtSpinBoxFactory spinBoxes;
    QtTreePropertyBrowser first;
    QtTreePropertyBrowser second;
    first.setFactoryForManager(&ints, &spinBoxes);
    second.setFactoryForManager(&ints, &spinBoxes);
    QCOMPARE(spinBoxes.propertyManagers(), QSet<QtIntPropertyManager *>{&ints});

    first.unsetFactoryForManager(&ints);
    QCOMPARE(spinBoxes.propertyManagers(), QSet<QtIntPropertyManager *>{&ints});
    second.unsetFactoryForManager(&ints);
    QVERIFY(spinBoxes.propertyManagers().isEmpty());
}

void TestTreePropertyBrowser::replacingOrDeletingAFactoryUnpairsIt()
{
    QtIntPropertyManager ints;
    QtSpinBoxFactory replaced;
    auto replacement = std::make_unique<QtSpinBoxFactory>();
    QtTreePropertyBrowser browser;
    QtProperty *property = ints.addProperty(QStringLiteral("value"));
    browser.addProperty(property);
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));

    browser.setFactoryForManager(&ints, &replaced);
    browser.setFactoryForManager(&ints, replacement.get());
    QVERIFY(replaced.propertyManagers().isEmpty());
    QCOMPARE(replacement->propertyManagers(), QSet<QtIntPropertyManager *>{&ints});

    QWidget *viewport = treeOf(browser)->viewport();
    browser.editItem(browser.topLevelItem(property));
    QSpinBox *editor = viewport->findChild<QSpinBox *>();
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_Escape);
    QTRY_VERIFY(!viewport->findChild<QSpinBox *>());

    replacement.reset();
    browser.editItem(browser.topLevelItem(property));
    QVERIFY(!viewport->findChild<QSpinBox *>());
}

QTEST_MAIN(TestTreePropertyBrowser)
#include "tst_treepropertybrowser.moc"
