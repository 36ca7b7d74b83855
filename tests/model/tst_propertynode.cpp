#include <model/propertynode.h>

#include <QtTest>

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <sstream>

using boost::property_tree::ptree;
using BravoSensorPlugin::Core::PropertyNode;
using BravoSensorPlugin::Core::PropertyNodeType;

namespace {

// Parsed as the window reads its description: comments skipped, texts not trimmed.
ptree parse(const QByteArray &xml)
{
    std::istringstream in(xml.toStdString());
    ptree tree;
    boost::property_tree::read_xml(in, tree, boost::property_tree::xml_parser::no_comments);
    return tree;
}

// A node of the given type with every key it requires, plus `extra`.
QByteArray node(const char *type, const QByteArray &extra)
{
    return QByteArray("<node><type>") + type
           + "</type><id>P</id><index>1</index><subIndex>0</subIndex><size>6</size>"
             "<defaultvalue>x</defaultvalue><items><item><en>a</en></item></items>"
           + extra + "</node>";
}

std::optional<PropertyNode> readNode(const QByteArray &xml, const std::string &language = "en")
{
    return BravoSensorPlugin::Core::readPropertyNode(parse(xml).get_child("node"), language);
}

} // namespace

class tst_PropertyNode : public QObject
{
    Q_OBJECT

private slots:
    void truthTextsAreExact_data();
    void truthTextsAreExact();
    void limitsFromText_data();
    void limitsFromText();
    void defaultIsAWholeNumber_data();
    void defaultIsAWholeNumber();
    void captionFallsBackToEnglish_data();
    void captionFallsBackToEnglish();
    void itemCaptionsFallBackItemByItem_data();
    void itemCaptionsFallBackItemByItem();
    void buttonCaption_data();
    void buttonCaption();
    void nodesLackingWhatTheirTypeNeedsAreNotRead_data();
    void nodesLackingWhatTheirTypeNeedsAreNotRead();
    void addressJoinsTheTextsAsWritten();
    void textNodeKeepsItsDefaultAndChoices();
};

void tst_PropertyNode::truthTextsAreExact_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("readOnlyText");
    QTest::newRow("absent keys") << node("int", "") << true << true << false;
    QTest::newRow("readonly false")
        << node("int", "<readonly>false</readonly>") << true << true << false;
    QTest::newRow("readonly true")
        << node("int", "<readonly>true</readonly>") << false << true << false;
    QTest::newRow("readonly with a blank")
        << node("int", "<readonly> false</readonly>") << false << true << false;
    QTest::newRow("visible false")
        << node("int", "<visible>false</visible>") << true << false << false;
    QTest::newRow("visible with a blank")
        << node("int", "<visible>true </visible>") << true << false << false;
    QTest::newRow("text without readonly") << node("string", "") << true << true << true;
    QTest::newRow("text readonly true")
        << node("string", "<readonly>true</readonly>") << false << true << true;
    QTest::newRow("text readonly false")
        << node("string", "<readonly>false</readonly>") << true << true << false;
    QTest::newRow("text readonly TRUE")
        << node("string", "<readonly>TRUE</readonly>") << false << true << false;
}

void tst_PropertyNode::truthTextsAreExact()
{
    QFETCH(QByteArray, xml);
    QFETCH(bool, enabled);
    QFETCH(bool, visible);
    QFETCH(bool, readOnlyText);
    const std::optional<PropertyNode> property = readNode(xml);
    QVERIFY(property);
    QCOMPARE(property->enabled, enabled);
    QCOMPARE(property->visible, visible);
    QCOMPARE(property->readOnlyText, readOnlyText);
}

void tst_PropertyNode::limitsFromText_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("limits");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    const QByteArray decimals = "<min>-1.5</min><max>250.5</max>";
    QTest::newRow("int") << QByteArray("int") << QByteArray("<min>-5</min><max>100</max>") << -5.0
                         << 100.0;
    QTest::newRow("int limits that are decimals") << QByteArray("int") << decimals << 0.0 << 0.0;
    QTest::newRow("double limits are decimals")
        << QByteArray("double") << decimals << -1.5 << 250.5;
    QTest::newRow("texts that are no numbers")
        << QByteArray("double") << QByteArray("<min>low</min><max>1e</max>") << 0.0 << 0.0;
    QTest::newRow("no limits") << QByteArray("int") << QByteArray() << 0.0 << 0.0;
}

void tst_PropertyNode::limitsFromText()
{
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, limits);
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    const std::optional<PropertyNode> property = readNode(node(type.constData(), limits));
    QVERIFY(property);
    QCOMPARE(property->minimum, minimum);
    QCOMPARE(property->maximum, maximum);
}

void tst_PropertyNode::defaultIsAWholeNumber_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("number");
    QTest::newRow("int") << QByteArray("int") << QByteArray("-3") << -3;
    QTest::newRow("double from a whole number") << QByteArray("double") << QByteArray("7") << 7;
    QTest::newRow("double from a decimal") << QByteArray("double") << QByteArray("7.5") << 0;
    QTest::newRow("bool from a number") << QByteArray("bool") << QByteArray("2") << 2;
    QTest::newRow("bool from a truth text") << QByteArray("bool") << QByteArray("true") << 0;
    QTest::newRow("enumerator with blanks around")
        << QByteArray("enumerator") << QByteArray(" 2 ") << 2;
}

void tst_PropertyNode::defaultIsAWholeNumber()
{
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, text);
    QFETCH(int, number);
    const QByteArray xml = "<node><type>" + type
                           + "</type><index>1</index><subIndex>0</subIndex><size>6</size>"
                             "<items/><defaultvalue>"
                           + text + "</defaultvalue></node>";
    const std::optional<PropertyNode> property = readNode(xml);
    QVERIFY(property);
    QCOMPARE(property->number, number);
}

void tst_PropertyNode::captionFallsBackToEnglish_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("caption");
    QTest::newRow("user's language")
        << QByteArray("<en>Output</en><de>Ausgang</de>") << QByteArray("de") << "Ausgang";
    QTest::newRow("empty in the user's language")
        << QByteArray("<en>Output</en><de></de>") << QByteArray("de") << "Output";
    QTest::newRow("absent in the user's language")
        << QByteArray("<en>Output</en>") << QByteArray("fr") << "Output";
    QTest::newRow("blank is not empty")
        << QByteArray("<en>Output</en><de> </de>") << QByteArray("de") << " ";
    QTest::newRow("no caption at all") << QByteArray("<de></de>") << QByteArray("de") << "";
    QTest::newRow("UTF-8") << QByteArray("<en>Cooling water</en><de>K\xc3\xbchlwasser</de>")
                           << QByteArray("de") << QString::fromUtf8("K\xc3\xbchlwasser");
}

void tst_PropertyNode::captionFallsBackToEnglish()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, language);
    QFETCH(QString, caption);
    const std::optional<PropertyNode> property
        = readNode(QByteArray("<node><type>category</type><text>") + text + "</text></node>",
                   language.toStdString());
    QVERIFY(property);
    QCOMPARE(property->caption, caption);
}

void tst_PropertyNode::itemCaptionsFallBackItemByItem_data()
{
    QTest::addColumn<QByteArray>("items");
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QStringList>("captions");
    const QByteArray mixed
        = "<a><en>bar</en><de>Bar</de></a><b><en>psi</en><de></de></b><c><en>kPa</en></c>";
    QTest::newRow("German, English where German is empty or absent")
        << mixed << QByteArray("de") << QStringList{"Bar", "psi", "kPa"};
    QTest::newRow("English") << mixed << QByteArray("en") << QStringList{"bar", "psi", "kPa"};
    QTest::newRow("neither language")
        << QByteArray("<a><fr>x</fr></a>") << QByteArray("de") << QStringList{""};
    QTest::newRow("an attribute is no choice") << QByteArray() << QByteArray("en") << QStringList();
}

void tst_PropertyNode::itemCaptionsFallBackItemByItem()
{
    QFETCH(QByteArray, items);
    QFETCH(QByteArray, language);
    const ptree tree = parse("<items kind=\"units\">" + items + "</items>");
    QTEST(BravoSensorPlugin::Core::itemCaptions(tree.get_child("items"), language.toStdString()),
          "captions");
}

void tst_PropertyNode::buttonCaption_data()
{
    QTest::addColumn<QByteArray>("caption");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no caption keys") << QByteArray() << "action";
    QTest::newRow("user's language")
        << QByteArray("<text><en>Teach</en><de>Einlernen</de></text>") << "Einlernen";
    QTest::newRow("empty, English given")
        << QByteArray("<text><en>Teach</en><de></de></text>") << "Teach";
    QTest::newRow("empty in both") << QByteArray("<text><en></en><de></de></text>") << "";
    QTest::newRow("absent in the user's language")
        << QByteArray("<text><en>Teach</en></text>") << "action";
}

void tst_PropertyNode::buttonCaption()
{
    QFETCH(QByteArray, caption);
    const std::optional<PropertyNode> property
        = readNode(node("action", "<caption>" + caption + "</caption>"), "de");
    QVERIFY(property);
    QTEST(property->text, "expected");
}

void tst_PropertyNode::nodesLackingWhatTheirTypeNeedsAreNotRead_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<bool>("read");
    const QByteArray address = "<index>1</index><subIndex>0</subIndex><size>6</size>";
    const QByteArray items = "<items><a><en>x</en></a></items>";
    QTest::newRow("no children") << QByteArray("<node>text only</node>") << false;
    QTest::newRow("no type") << QByteArray("<node><id>P</id>" + address + "</node>") << false;
    QTest::newRow("unknown type") << QByteArray("<node><type>float</type>" + address + "</node>")
                                  << false;
    QTest::newRow("type names are case-sensitive")
        << QByteArray("<node><type>Int</type>" + address + "</node>") << false;
    QTest::newRow("no index") << QByteArray(
        "<node><type>int</type><subIndex>0</subIndex><size>6</size></node>")
                              << false;
    QTest::newRow("no subIndex") << QByteArray(
        "<node><type>int</type><index>1</index><size>6</size></node>")
                                 << false;
    QTest::newRow("no size") << QByteArray(
        "<node><type>int</type><index>1</index><subIndex>0</subIndex></node>")
                             << false;
    QTest::newRow("enumerator without items")
        << QByteArray("<node><type>enumerator</type>" + address + "</node>") << false;
    QTest::newRow("editable text without items") << QByteArray(
        "<node><type>string</type><readonly>false</readonly><defaultvalue>a</defaultvalue>"
        + address + "</node>") << false;
    QTest::newRow("text without default") << QByteArray(
        "<node><type>string</type><readonly>false</readonly>" + address + items + "</node>")
                                          << false;
    QTest::newRow("read-only text needs no items") << QByteArray(
        "<node><type>string</type><defaultvalue>a</defaultvalue>" + address + "</node>")
                                                   << true;
    QTest::newRow("category needs no address")
        << QByteArray("<node><type>category</type></node>") << true;
    QTest::newRow("empty keys are present")
        << QByteArray("<node><type>bool</type><index/><subIndex/><size/></node>") << true;
}

void tst_PropertyNode::nodesLackingWhatTheirTypeNeedsAreNotRead()
{
    QFETCH(QByteArray, xml);
    QTEST(readNode(xml).has_value(), "read");
}

void tst_PropertyNode::addressJoinsTheTextsAsWritten()
{
    const std::optional<PropertyNode> property = readNode(
        "<node><type>int</type><index> 77</index><subIndex>0</subIndex><size>7 </size></node>");
    QVERIFY(property);
    QCOMPARE(property->address, QStringLiteral(" 77;0;7 "));
    QCOMPARE(readNode("<node><type>category</type><index>1</index></node>")->address, QString());
}

void tst_PropertyNode::textNodeKeepsItsDefaultAndChoices()
{
    const std::optional<PropertyNode> property
        = readNode("<node><type>string</type><id>Tag</id><readonly>false</readonly><index>24</"
                   "index><subIndex>0</subIndex>"
                   "<size>6</size><defaultvalue> Hydraulics </defaultvalue>"
                   "<items><a><en>Hydraulics</en><de>Hydraulik</de></a><b><en>Pneumatics</en></b></"
                   "items></node>",
                   "de");
    QVERIFY(property);
    QCOMPARE(property->type, PropertyNodeType::String);
    QCOMPARE(property->id, QStringLiteral("Tag"));
    QCOMPARE(property->text, QStringLiteral(" Hydraulics "));
    QCOMPARE(property->items, QStringList({"Hydraulik", "Pneumatics"}));
}

QTEST_GUILESS_MAIN(tst_PropertyNode)
#include "tst_propertynode.moc"
