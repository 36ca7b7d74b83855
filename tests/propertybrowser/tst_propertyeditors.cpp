#include "browsertesting.h"

#include <propertybrowser/qteditorfactory.h>
#include <propertybrowser/qtpropertymanager.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStyleOptionButton>
#include <QtTest>

#include <functional>

using namespace BrowserTesting;

namespace {

// A client of the library: a group with one property of every editable kind,
// each manager paired with its factory, shown in a tree browser.
struct Bench
{
    Bench()
    {
        group = groups.addProperty(QStringLiteral("Sensor"));
        count = ints.addProperty(QStringLiteral("count"));
        ints.setRange(count, 0, 1000);
        ints.setValue(count, 5);
        pressure = doubles.addProperty(QStringLiteral("pressure"));
        doubles.setRange(pressure, -1.0, 600.0);
        doubles.setDecimals(pressure, 3);
        active = bools.addProperty(QStringLiteral("active"));
        bools.setValue(active, false, QString(), QString());
        label = strings.addProperty(QStringLiteral("label"));
        strings.setValue(label, QStringLiteral("old"));
        unit = enums.addProperty(QStringLiteral("unit"));
        enums.setEnumNames(unit,
                           {QStringLiteral("bar"), QStringLiteral("psi"), QStringLiteral("MPa")});
        for (QtProperty *property : {count, pressure, active, label, unit})
            group->addSubProperty(property);

        browser.setFactoryForManager(&ints, &spinBoxes);
        browser.setFactoryForManager(&doubles, &doubleSpinBoxes);
        browser.setFactoryForManager(&bools, &checkBoxes);
        browser.setFactoryForManager(&strings, &lineEdits);
        browser.setFactoryForManager(&enums, &enumEditors);
        browser.addProperty(group);
        browser.resize(400, 300);
    }

    bool showActive()
    {
        browser.show();
        QApplication::setActiveWindow(&browser);
        return QTest::qWaitForWindowActive(&browser);
    }

    QWidget *openEditor(const QString &name)
    {
        QTest::mouseClick(treeOf(browser)->viewport(), Qt::LeftButton, {}, cell(browser, name, 1));
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

    QtProperty *property(const QString &name) const
    {
        for (QtProperty *child : group->subProperties()) {
            if (child->propertyName() == name)
                return child;
        }
        return nullptr;
    }

    QtAbstractEditorFactoryBase *factoryFor(const QtProperty *property)
    {
        const QHash<const QtAbstractPropertyManager *, QtAbstractEditorFactoryBase *> factories{
            {&ints, &spinBoxes},    {&doubles, &doubleSpinBoxes}, {&bools, &checkBoxes},
            {&strings, &lineEdits}, {&enums, &enumEditors},
        };
        return factories.value(property->propertyManager());
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
    QtTreePropertyBrowser browser;
    QtProperty *group;
    QtProperty *count;
    QtProperty *pressure;
    QtProperty *active;
    QtProperty *label;
    QtProperty *unit;
};

void replaceText(QWidget *editor, const QString &text)
{
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, text);
}

void clickIndicator(QCheckBox *box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    const QRect indicator
        = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator.center());
}

using BenchAction = std::function<void(Bench &)>;
using EditorPoke = std::function<void(QWidget *)>;

} // namespace

Q_DECLARE_METATYPE(BenchAction)
Q_DECLARE_METATYPE(EditorPoke)

class TestPropertyEditors : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void clientEditsEveryKindWithOneSignalEach();
    void editorOpens_data();
    void editorOpens();
    void typedNumberCountsOnceWhenFocusLeaves();
    void lineEditKeepsToTheRegExp();
    void disabledPropertyRefusesEdits_data();
    void disabledPropertyRefusesEdits();
    void disabledRowOpensNoEditor();
    void openEditorsShowManagerChanges_data();
    void openEditorsShowManagerChanges();
    void editorOutlivingItsPropertyEditsNothing();
    void removedManagerGetsNoEditors();
};

void TestPropertyEditors::initTestCase()
{
    QLocale::setDefault(QLocale::c());
}

void TestPropertyEditors::clientEditsEveryKindWithOneSignalEach()
{
    Bench bench;
    QVERIFY(bench.showActive());
    QSignalSpy ints(&bench.ints, &QtIntPropertyManager::valueChanged);
    QSignalSpy doubles(&bench.doubles, &QtDoublePropertyManager::valueChanged);
    QSignalSpy bools(&bench.bools, &QtBoolPropertyManager::valueChanged);
    QSignalSpy strings(&bench.strings, &QtStringPropertyManager::valueChanged);
    QSignalSpy enums(&bench.enums, &QtEnumPropertyManager::valueChanged);

    auto *spinBox = qobject_cast<QSpinBox *>(bench.openEditor(QStringLiteral("count")));
    QVERIFY(spinBox);
    replaceText(spinBox, QStringLiteral("42"));
    QTest::keyClick(spinBox, Qt::Key_Return);
    QTRY_VERIFY(!bench.openEditor());

    auto *doubleSpinBox
        = qobject_cast<QDoubleSpinBox *>(bench.openEditor(QStringLiteral("pressure")));
    QVERIFY(doubleSpinBox);
    replaceText(doubleSpinBox, QStringLiteral("2.5"));
    QTest::keyClick(doubleSpinBox, Qt::Key_Enter);
    QTRY_VERIFY(!bench.openEditor());

    auto *checkBox = qobject_cast<QCheckBox *>(bench.openEditor(QStringLiteral("active")));
    QVERIFY(checkBox);
    clickIndicator(checkBox);

    auto *lineEdit = qobject_cast<QLineEdit *>(bench.openEditor(QStringLiteral("label")));
    QVERIFY(lineEdit);
    replaceText(lineEdit, QStringLiteral("Tank 3"));
    QTest::keyClick(lineEdit, Qt::Key_Return);
    QTRY_VERIFY(!bench.openEditor());

    auto *comboBox = qobject_cast<QComboBox *>(bench.openEditor(QStringLiteral("unit")));
    QVERIFY(comboBox);
    QTest::keyClick(comboBox, Qt::Key_Down);

    QCOMPARE(ints.count(), 1);
    QCOMPARE(ints.at(0).at(1).toInt(), 42);
    QCOMPARE(doubles.count(), 1);
    QCOMPARE(doubles.at(0).at(1).toDouble(), 2.5);
    QCOMPARE(bools.count(), 1);
    QCOMPARE(bools.at(0).at(1).toBool(), true);
    QCOMPARE(strings.count(), 1);
    QCOMPARE(strings.at(0).at(1).toString(), QStringLiteral("Tank 3"));
    QCOMPARE(enums.count(), 1);
    QCOMPARE(enums.at(0).at(1).toInt(), 1);
    QCOMPARE(row(bench.browser, QStringLiteral("count"))->text(1), QStringLiteral("42"));
    QCOMPARE(row(bench.browser, QStringLiteral("pressure"))->text(1), QStringLiteral("2.500"));
    QCOMPARE(row(bench.browser, QStringLiteral("label"))->text(1), QStringLiteral("Tank 3"));
    QCOMPARE(row(bench.browser, QStringLiteral("unit"))->text(1), QStringLiteral("psi"));
}

void TestPropertyEditors::editorOpens_data()
{
    QTest::addColumn<BenchAction>("trigger");
    QTest::addColumn<bool>("opens");

    QTest::newRow("single click on the value")
        << BenchAction([](Bench &bench) { bench.openEditor(QStringLiteral("count")); }) << true;
    QTest::newRow("Enter on the current row") << BenchAction([](Bench &bench) {
        bench.browser.setCurrentItem(bench.browser.items(bench.count).constFirst());
        QTest::keyClick(treeOf(bench.browser), Qt::Key_Return);
    }) << true;
    QTest::newRow("click on the name") << BenchAction([](Bench &bench) {
        QTest::mouseClick(treeOf(bench.browser)->viewport(), Qt::LeftButton, {},
                          cell(bench.browser, QStringLiteral("count"), 0));
    }) << false;
    QTest::newRow("click on a group row")
        << BenchAction([](Bench &bench) { bench.openEditor(QStringLiteral("Sensor")); }) << false;
}

void TestPropertyEditors::editorOpens()
{
    QFETCH(BenchAction, trigger);
    QFETCH(bool, opens);

    Bench bench;
    QVERIFY(bench.showActive());
    trigger(bench);

    QCOMPARE(bool(qobject_cast<QSpinBox *>(bench.openEditor())), opens);
    if (opens)
        QVERIFY(bench.openEditor()->hasFocus());
}

void TestPropertyEditors::typedNumberCountsOnceWhenFocusLeaves()
{
    Bench bench;
    QVERIFY(bench.showActive());
    QSignalSpy values(&bench.ints, &QtIntPropertyManager::valueChanged);

    QWidget *editor = bench.openEditor(QStringLiteral("count"));
    replaceText(editor, QStringLiteral("123"));
    QCOMPARE(values.count(), 0);
    bench.openEditor(QStringLiteral("label"));

    QCOMPARE(values.count(), 1);
    QCOMPARE(bench.ints.value(bench.count), 123);
}

void TestPropertyEditors::lineEditKeepsToTheRegExp()
{
    Bench bench;
    bench.strings.setRegExp(bench.label, QRegularExpression(QStringLiteral("[0-9]*")));
    QVERIFY(bench.showActive());

    QWidget *editor = bench.openEditor(QStringLiteral("label"));
    replaceText(editor, QStringLiteral("12ab3"));
    QTest::keyClick(editor, Qt::Key_Return);

    QCOMPARE(bench.strings.value(bench.label), QStringLiteral("123"));
}

void TestPropertyEditors::disabledPropertyRefusesEdits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<EditorPoke>("poke");

    // Each poke changes the editor the way a signal-driven edit would.
    QTest::newRow("spin box") << QStringLiteral(
        "count") << EditorPoke([](QWidget *e) { qobject_cast<QSpinBox *>(e)->setValue(77); });
    QTest::newRow("double spin box")
        << QStringLiteral("pressure")
        << EditorPoke([](QWidget *e) { qobject_cast<QDoubleSpinBox *>(e)->setValue(12.5); });
    QTest::newRow("check box") << QStringLiteral(
        "active") << EditorPoke([](QWidget *e) { qobject_cast<QCheckBox *>(e)->toggle(); });
    QTest::newRow("line edit") << QStringLiteral("label") << EditorPoke([](QWidget *e) {
        auto *lineEdit = qobject_cast<QLineEdit *>(e);
        lineEdit->setText(QStringLiteral("new"));
        emit lineEdit->editingFinished();
    });
    QTest::newRow("enum combo") << QStringLiteral(
        "unit") << EditorPoke([](QWidget *e) { qobject_cast<QComboBox *>(e)->setCurrentIndex(2); });
}

void TestPropertyEditors::disabledPropertyRefusesEdits()
{
    QFETCH(QString, name);
    QFETCH(EditorPoke, poke);

    Bench bench;
    QtProperty *property = bench.property(name);
    property->setEnabled(false);
    QWidget parent;
    QWidget *editor = bench.factoryFor(property)->createEditor(property, &parent);
    QVERIFY(editor);
    QVERIFY(!editor->isEnabled());
    const QString before = property->valueText();
    QSignalSpy changed(property->propertyManager(), &QtAbstractPropertyManager::propertyChanged);

    poke(editor);
    QCOMPARE(property->valueText(), before);
    QCOMPARE(changed.count(), 0);

    // The same edit goes through once the property is enabled again.
    property->setEnabled(true);
    QVERIFY(editor->isEnabled());
    changed.clear();
    poke(editor);
    QCOMPARE(changed.count(), 1);
}

void TestPropertyEditors::disabledRowOpensNoEditor()
{
    Bench bench;
    bench.group->setEnabled(false);
    QVERIFY(bench.showActive());

    for (const QtProperty *property : bench.group->subProperties()) {
        bench.openEditor(property->propertyName());
        QVERIFY2(!bench.openEditor(), qPrintable(property->propertyName()));
    }
}

void TestPropertyEditors::openEditorsShowManagerChanges_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<BenchAction>("change");
    QTest::addColumn<QByteArray>("editorProperty");
    QTest::addColumn<QVariant>("expected");
    QTest::addColumn<QString>("valueText");

    QTest::newRow("int value") << QStringLiteral("count")
                               << BenchAction([](Bench &b) { b.ints.setValue(b.count, 17); })
                               << QByteArray("value") << QVariant(17) << QStringLiteral("17");
    QTest::newRow("int range") << QStringLiteral("count")
                               << BenchAction([](Bench &b) { b.ints.setMaximum(b.count, 3); })
                               << QByteArray("maximum") << QVariant(3) << QStringLiteral("3");
    QTest::newRow("double decimals")
        << QStringLiteral("pressure")
        << BenchAction([](Bench &b) { b.doubles.setDecimals(b.pressure, 1); })
        << QByteArray("decimals") << QVariant(1) << QStringLiteral("0.0");
    QTest::newRow("bool value") << QStringLiteral("active")
                                << BenchAction([](Bench &b) { b.bools.setValue(b.active, true); })
                                << QByteArray("checked") << QVariant(true) << QString();
    QTest::newRow("bool captions") << QStringLiteral("active") << BenchAction([](Bench &b) {
        b.bools.setValue(b.active, true, QStringLiteral("on"), QStringLiteral("off"));
    }) << QByteArray("text") << QVariant(QStringLiteral("on"))
                                   << QStringLiteral("on");
    QTest::newRow("string value") << QStringLiteral("label") << BenchAction([](Bench &b) {
        b.strings.setValue(b.label, QStringLiteral("new"));
    }) << QByteArray("text") << QVariant(QStringLiteral("new"))
                                  << QStringLiteral("new");
    QTest::newRow("enum names") << QStringLiteral("unit") << BenchAction([](Bench &b) {
        b.enums.setValue(b.unit, 1);
        b.enums.setEnumNames(b.unit, {QStringLiteral("°C"), QStringLiteral("°F")});
    }) << QByteArray("currentText")
                                << QVariant(QStringLiteral("°F")) << QStringLiteral("°F");
}

void TestPropertyEditors::openEditorsShowManagerChanges()
{
    QFETCH(QString, name);
    QFETCH(BenchAction, change);
    QFETCH(QByteArray, editorProperty);

    Bench bench;
    QtProperty *property = bench.property(name);
    QWidget parent;
    QtAbstractEditorFactoryBase *factory = bench.factoryFor(property);
    const QList<QWidget *> editors{factory->createEditor(property, &parent),
                                   factory->createEditor(property, &parent)};

    change(bench);

    for (const QWidget *editor : editors)
        QTEST(editor->property(editorProperty.constData()), "expected");
    // Showing a change must not come back into the manager as an edit.
    QTEST(property->valueText(), "valueText");
}

void TestPropertyEditors::editorOutlivingItsPropertyEditsNothing()
{
    Bench bench;
    QtProperty *doomed = bench.ints.addProperty(QStringLiteral("doomed"));
    QWidget parent;
    auto *editor = qobject_cast<QSpinBox *>(bench.spinBoxes.createEditor(doomed, &parent));
    QVERIFY(editor);
    delete doomed;
    QSignalSpy changed(&bench.ints, &QtAbstractPropertyManager::propertyChanged);

    editor->setValue(9);

    QCOMPARE(changed.count(), 0);
    QCOMPARE(bench.ints.value(bench.count), 5);
}

void TestPropertyEditors::removedManagerGetsNoEditors()
{
    Bench bench;
    QWidget parent;
    bench.spinBoxes.removePropertyManager(&bench.ints);
    QVERIFY(!bench.spinBoxes.createEditor(bench.count, &parent));
    QVERIFY(!bench.spinBoxes.propertyManager(bench.count));

    bench.spinBoxes.addPropertyManager(&bench.ints);
    QCOMPARE(bench.spinBoxes.propertyManager(bench.count), &bench.ints);
    QVERIFY(qobject_cast<QSpinBox *>(bench.spinBoxes.createEditor(bench.count, &parent)));
    QVERIFY(!bench.spinBoxes.createEditor(bench.pressure, &parent));
}

QTEST_MAIN(TestPropertyEditors)
#include "tst_propertyeditors.moc"
