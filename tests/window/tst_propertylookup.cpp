#include <window/propertylookup.h>

#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qtpropertymanager.h>

#include <QtTest>

using BravoSensorPlugin::Core::allSubProperties;
using BravoSensorPlugin::Core::findProperty;

// root ─┬─ group (G) ─┬─ first (B) ── deep (D)
//       │             └─ level (L)
//       └─ second (B)
class tst_PropertyLookup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void findProperty_data();
    void findProperty();
    void allSubPropertiesIsPreOrder();
    void nullStartFindsNothing();

private:
    QtProperty *make(QtAbstractPropertyManager &manager, const char *name, const char *id,
                     QtProperty *parent);

    std::unique_ptr<QtGroupPropertyManager> m_groups;
    std::unique_ptr<QtIntPropertyManager> m_ints;
    QMap<QString, QtProperty *> m_byName;
};

QtProperty *tst_PropertyLookup::make(QtAbstractPropertyManager &manager, const char *name,
                                     const char *id, QtProperty *parent)
{
    QtProperty *property = manager.addProperty(QLatin1String(name));
    property->setPropertyId(QLatin1String(id));
    if (parent)
        parent->addSubProperty(property);
    m_byName.insert(QLatin1String(name), property);
    return property;
}

void tst_PropertyLookup::init()
{
    m_groups = std::make_unique<QtGroupPropertyManager>();
    m_ints = std::make_unique<QtIntPropertyManager>();
    m_byName.clear();
    QtProperty *root = make(*m_groups, "root", "root", nullptr);
    QtProperty *group = make(*m_groups, "group", "G", root);
    QtProperty *first = make(*m_ints, "first", "B", group);
    make(*m_ints, "deep", "D", first);
    make(*m_ints, "level", "L", group);
    make(*m_ints, "second", "B", root);
}

void tst_PropertyLookup::findProperty_data()
{
    QTest::addColumn<QByteArray>("id");
    QTest::addColumn<QString>("found");
    QTest::newRow("direct child") << QByteArray("G") << "group";
    QTest::newRow("nested below an earlier sibling") << QByteArray("D") << "deep";
    QTest::newRow("duplicate id: depth first wins") << QByteArray("B") << "first";
    QTest::newRow("start itself is not searched") << QByteArray("root") << QString();
    QTest::newRow("unknown id") << QByteArray("X") << QString();
}

void tst_PropertyLookup::findProperty()
{
    QFETCH(QByteArray, id);
    QFETCH(QString, found);
    QCOMPARE(::findProperty(m_byName.value(QStringLiteral("root")), id), m_byName.value(found));
}

void tst_PropertyLookup::allSubPropertiesIsPreOrder()
{
    QStringList names;
    const QList<QtProperty *> below = allSubProperties(m_byName.value(QStringLiteral("root")));
    for (const QtProperty *property : below)
        names << property->propertyName();
    QCOMPARE(names, QStringList({"group", "first", "deep", "level", "second"}));
}

void tst_PropertyLookup::nullStartFindsNothing()
{
    QCOMPARE(::findProperty(nullptr, "G"), nullptr);
    QVERIFY(allSubProperties(nullptr).isEmpty());
}

QTEST_MAIN(tst_PropertyLookup)
#include "tst_propertylookup.moc"
