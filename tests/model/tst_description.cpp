#include <model/propertynode.h>
#include <model/sensorranges.h>
#include <model/xmlnesting.h>

#include <QtTest>

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <sstream>

using boost::property_tree::ptree;
using namespace BravoSensorPlugin::Core;

namespace {

// Parsed as the window reads its description: comments skipped, texts not trimmed.
ptree parse(const QByteArray &xml)
{
    std::istringstream in(xml.toStdString());
    ptree tree;
    boost::property_tree::read_xml(in, tree, boost::property_tree::xml_parser::no_comments);
    return tree;
}

ptree fixture(const char *fileName)
{
    ptree tree;
    boost::property_tree::read_xml(std::string(KR7D_TEST_DATA_DIR "/") + fileName, tree);
    return tree;
}

// A node of the given type with an address, plus `extra`.
QByteArray node(const QByteArray &type, const QByteArray &extra)
{
    return "<node><type>" + type + "</type><id>P</id><index>1</index><subIndex>0</subIndex>"
           + "<size>6</size>" + extra + "</node>";
}

std::optional<PropertyNode> readNode(const QByteArray &xml, const std::string &language = "en")
{
    return readPropertyNode(parse(xml).get_child("node"), language);
}

} // namespace

class tst_Description : public QObject
{
    Q_OBJECT

private slots:
    void keysAreReadExactlyAsWritten_data();
    void keysAreReadExactlyAsWritten();
    void captionsFallBackToEnglish_data();
    void captionsFallBackToEnglish();
    void itemCaptionsFallBackItemByItem_data();
    void itemCaptionsFallBackItemByItem();
    void nodesLackingWhatTheirTypeNeedsAreNotRead_data();
    void nodesLackingWhatTheirTypeNeedsAreNotRead();
    void textNodeKeepsItsAddressDefaultAndChoicesAsWritten();

    void rangeOfTheFirstEntryWithTheName_data();
    void rangeOfTheFirstEntryWithTheName();
    void noListOrNoCodeFindsNothing();

    void depthIsNeverBelowTheReadersDepth_data();
    void depthIsNeverBelowTheReadersDepth();
};

void tst_Description::keysAreReadExactlyAsWritten_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<int>("number");

    const QByteArray integer = "int";
    const QByteArray decimals = "<min>-1.5</min><max>250.5</max><defaultvalue>7.5</defaultvalue>";
    QTest::newRow("absent keys") << integer << QByteArray() << true << true << 0.0 << 0.0 << 0;
    QTest::newRow("readonly with a blank")
        << integer << QByteArray("<readonly> false</readonly>") << false << true << 0.0 << 0.0 << 0;
    QTest::newRow("visible with a blank")
        << integer << QByteArray("<visible>true </visible>") << true << false << 0.0 << 0.0 << 0;
    QTest::newRow("int numbers")
        << integer << QByteArray("<min>-5</min><max>100</max><defaultvalue>-3</defaultvalue>")
        << true << true << -5.0 << 100.0 << -3;
    QTest::newRow("int from decimals") << integer << decimals << true << true << 0.0 << 0.0 << 0;
    QTest::newRow("double limits are decimals, the default is not")
        << QByteArray("double") << decimals << true << true << -1.5 << 250.5 << 0;
    QTest::newRow("texts that are no numbers, blanks around the default")
        << QByteArray("double")
        << QByteArray("<min>low</min><max>1e</max><defaultvalue> 2 </defaultvalue>") << true << true
        << 0.0 << 0.0 << 2;
}

void tst_Description::keysAreReadExactlyAsWritten()
{
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, keys);
    const std::optional<PropertyNode> property = readNode(node(type, keys));
    QVERIFY(property);
    QTEST(property->enabled, "enabled");
    QTEST(property->visible, "visible");
    QTEST(property->minimum, "minimum");
    QTEST(property->maximum, "maximum");
    QTEST(property->number, "number");
}

void tst_Description::captionsFallBackToEnglish_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("button");

    const QString action = QStringLiteral("action");
    QTest::newRow("caption in the user's language")
        << QByteArray("<text><en>Output</en><de>Ausgang</de></text>") << "Ausgang" << action;
    QTest::newRow("caption empty in the user's language")
        << QByteArray("<text><en>Output</en><de></de></text>") << "Output" << action;
    QTest::newRow("blank is not empty")
        << QByteArray("<text><en>Output</en><de> </de></text>") << " " << action;
    QTest::newRow("UTF-8") << QByteArray("<text><en>Water</en><de>K\xc3\xbchlwasser</de></text>")
                           << QString::fromUtf8("K\xc3\xbchlwasser") << action;
    QTest::newRow("button in the user's language")
        << QByteArray("<caption><text><en>Teach</en><de>Einlernen</de></text></caption>") << ""
        << "Einlernen";
    QTest::newRow("button empty, English given")
        << QByteArray("<caption><text><en>Teach</en><de></de></text></caption>") << ""
        << "Teach";
    QTest::newRow("button empty in both")
        << QByteArray("<caption><text><en></en><de></de></text></caption>") << ""
        << "";
    QTest::newRow("button absent in the user's language")
        << QByteArray("<caption><text><en>Teach</en></text></caption>") << "" << action;
}

void tst_Description::captionsFallBackToEnglish()
{
    QFETCH(QByteArray, keys);
    const std::optional<PropertyNode> property = readNode(node("action", keys), "de");
    QVERIFY(property);
    QTEST(property->caption, "caption");
    QTEST(property->text, "button");
}

void tst_Description::itemCaptionsFallBackItemByItem_data()
{
    QTest::addColumn<QByteArray>("items");
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QStringList>("captions");

    const QByteArray mixed
        = "<a><en>bar</en><de>Bar</de></a><b><en>psi</en><de></de></b><c><en>kPa</en></c>";
    QTest::newRow("German, English where German is empty or absent")
        << mixed << QByteArray("de") << QStringList{"Bar", "psi", "kPa"};
    QTest::newRow("neither language")
        << QByteArray("<a><fr>x</fr></a>") << QByteArray("de") << QStringList{""};
    QTest::newRow("an attribute is no choice") << QByteArray() << QByteArray("en") << QStringList();
}

void tst_Description::itemCaptionsFallBackItemByItem()
{
    QFETCH(QByteArray, items);
    QFETCH(QByteArray, language);
    const ptree tree = parse("<items kind=\"units\">" + items + "</items>");
    QTEST(itemCaptions(tree.get_child("items"), language.toStdString()), "captions");
}

void tst_Description::nodesLackingWhatTheirTypeNeedsAreNotRead_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<bool>("read");

    const QByteArray address = "<index>1</index><subIndex>0</subIndex><size>6</size>";
    const QByteArray items = "<items><a><en>x</en></a></items>";
    QTest::newRow("no type") << QByteArray("<node><id>P</id>" + address + "</node>") << false;
    QTest::newRow("type names are case-sensitive")
        << QByteArray("<node><type>Int</type>" + address + "</node>") << false;
    QTest::newRow("no index") << QByteArray(
        "<node><type>int</type><subIndex>0</subIndex><size>6</size></node>")
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

void tst_Description::nodesLackingWhatTheirTypeNeedsAreNotRead()
{
    QFETCH(QByteArray, xml);
    QTEST(readNode(xml).has_value(), "read");
}

void tst_Description::textNodeKeepsItsAddressDefaultAndChoicesAsWritten()
{
    const std::optional<PropertyNode> property
        = readNode("<node><type>string</type><id>Tag</id><readonly>false</readonly>"
                   "<index> 24</index><subIndex>0</subIndex><size>6 </size>"
                   "<defaultvalue> Hydraulics </defaultvalue><items>"
                   "<a><en>Hydraulics</en><de>Hydraulik</de></a><b><en>Pneumatics</en></b>"
                   "</items></node>",
                   "de");
    QVERIFY(property);
    QCOMPARE(property->type, PropertyNodeType::String);
    QCOMPARE(property->id, QStringLiteral("Tag"));
    QCOMPARE(property->address, QStringLiteral(" 24;0;6 "));
    QCOMPARE(property->text, QStringLiteral(" Hydraulics "));
    QCOMPARE(property->items, QStringList({"Hydraulik", "Pneumatics"}));
    QCOMPARE(readNode("<node><type>category</type><index>1</index></node>")->address, QString());
}

void tst_Description::rangeOfTheFirstEntryWithTheName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("variant");
    QTest::addColumn<QString>("range"); // "max/min/divisor[/bits]", empty when not found

    QTest::newRow("first of two sensors with the name") << "KR7D-250" << false << "250/-1/10";
    QTest::newRow("any element name, numbers that are not") << "KR7D-BAD" << false << "0/-1.5/0";
    QTest::newRow("name with blanks kept") << " KR7D-40 " << false << "40/0/100";
    QTest::newRow("blanks are not trimmed") << "KR7D-40" << false << "";
    QTest::newRow("first of two variants with the code") << "B25" << true << "25.5/0/100/14";
    QTest::newRow("code with a blank kept") << " C60" << true << "600/0/1/16";
    QTest::newRow("variant code not trimmed") << "C60" << true << "";
    QTest::newRow("variant texts that are not numbers") << "X00" << true << "0/-1/0/0";
}

void tst_Description::rangeOfTheFirstEntryWithTheName()
{
    QFETCH(QString, name);
    const ptree description = fixture("ranges.xml");
    QString range;
    QFETCH(bool, variant);
    if (variant) {
        const ptree variants
            = description.get_child("document.sensorList").front().second.get_child("sensors");
        if (const auto variant = variantRange(variants, name.toStdString()))
            range = QStringLiteral("%1/%2/%3/%4")
                        .arg(variant->max)
                        .arg(variant->min)
                        .arg(variant->divisor)
                        .arg(variant->bitsNumber);
    } else if (const auto sensor = sensorRange(description, name.toStdString())) {
        range = QStringLiteral("%1/%2/%3").arg(sensor->max).arg(sensor->min).arg(sensor->divisor);
    }
    QTEST(range, "range");
}

void tst_Description::noListOrNoCodeFindsNothing()
{
    QVERIFY(!sensorRange(fixture("nolist.xml"), "KR7D-250"));
    QCOMPARE(variantCode(QStringLiteral("KR7DA10")), QStringLiteral("A10"));
    QCOMPARE(variantCode(QStringLiteral("KR7DA1")), QString());
}

void tst_Description::depthIsNeverBelowTheReadersDepth_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("depth");

    QTest::newRow("flat") << QByteArray("<?xml version=\"1.0\"?><a>x</a>") << 1;
    QTest::newRow("nested and closed") << QByteArray("<a><b><c/></b><b/></a>") << 3;
    QTest::newRow("quoted markup in attributes")
        << QByteArray("<a x=\"/>\"><b y='></'>t</b></a>") << 2;
    QTest::newRow("comment hides markup") << QByteArray("<a><!-- <b><c> --></a>") << 1;
    QTest::newRow("declaration ends at its first '>'")
        << QByteArray("<a><!DOCTYPE x [<b>]><c/></a>") << 2;
    QTest::newRow("stray closing tags first") << QByteArray("</a></a><a><b>") << 2;
    const int deep = 100000;
    QTest::newRow("100 000 levels")
        << QByteArray("<a>").repeated(deep) + QByteArray("</a>").repeated(deep) << deep;
}

void tst_Description::depthIsNeverBelowTheReadersDepth()
{
    QFETCH(QByteArray, text);
    QTEST(xmlNestingDepth(text.toStdString()), "depth");
}

QTEST_GUILESS_MAIN(tst_Description)
#include "tst_description.moc"
