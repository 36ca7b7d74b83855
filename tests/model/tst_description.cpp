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
    return readPropertyNode(parse(xml).get_child("node"), language);
}

} // namespace

class tst_Description : public QObject
{
    Q_OBJECT

private slots:
    void truthTextsAreExact_data();
    void truthTextsAreExact();
    void numbersFromText_data();
    void numbersFromText();
    void captionFallsBackToEnglish_data();
    void captionFallsBackToEnglish();
    void itemCaptionsFallBackItemByItem_data();
    void itemCaptionsFallBackItemByItem();
    void buttonCaption_data();
    void buttonCaption();
    void nodesLackingWhatTheirTypeNeedsAreNotRead_data();
    void nodesLackingWhatTheirTypeNeedsAreNotRead();
    void textNodeKeepsItsAddressDefaultAndChoicesAsWritten();

    void rangeOfTheFirstEntryWithTheName_data();
    void rangeOfTheFirstEntryWithTheName();
    void noListOrNoCodeFindsNothing();

    void depthIsNeverBelowTheReadersDepth_data();
    void depthIsNeverBelowTheReadersDepth();
};

void tst_Description::truthTextsAreExact_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("visible");

    QTest::newRow("absent keys") << QByteArray() << true << true;
    QTest::newRow("readonly true") << QByteArray("<readonly>true</readonly>") << false << true;
    QTest::newRow("readonly with a blank")
        << QByteArray("<readonly> false</readonly>") << false << true;
    QTest::newRow("visible with a blank")
        << QByteArray("<visible>true </visible>") << true << false;
}

void tst_Description::truthTextsAreExact()
{
    QFETCH(QByteArray, keys);
    const std::optional<PropertyNode> property = readNode(node("int", keys));
    QVERIFY(property);
    QTEST(property->enabled, "enabled");
    QTEST(property->visible, "visible");
}

void tst_Description::numbersFromText_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<int>("number");

    const QByteArray decimals = "<min>-1.5</min><max>250.5</max><defaultvalue>7.5</defaultvalue>";
    QTest::newRow("int") << QByteArray("int")
                         << QByteArray("<min>-5</min><max>100</max><defaultvalue>-3</defaultvalue>")
                         << -5.0 << 100.0 << -3;
    QTest::newRow("int from decimals") << QByteArray("int") << decimals << 0.0 << 0.0 << 0;
    QTest::newRow("double limits are decimals, the default is not")
        << QByteArray("double") << decimals << -1.5 << 250.5 << 0;
    QTest::newRow("texts that are no numbers, blanks around the default")
        << QByteArray("double")
        << QByteArray("<min>low</min><max>1e</max><defaultvalue> 2 </defaultvalue>") << 0.0 << 0.0
        << 2;
}

void tst_Description::numbersFromText()
{
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, keys);
    const QByteArray xml = "<node><type>" + type
                           + "</type><index>1</index><subIndex>0</subIndex><size>6</size>" + keys
                           + "</node>";
    const std::optional<PropertyNode> property = readNode(xml);
    QVERIFY(property);
    QTEST(property->minimum, "minimum");
    QTEST(property->maximum, "maximum");
    QTEST(property->number, "number");
}

void tst_Description::captionFallsBackToEnglish_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("caption");

    QTest::newRow("user's language") << QByteArray("<en>Output</en><de>Ausgang</de>") << "Ausgang";
    QTest::newRow("empty in the user's language")
        << QByteArray("<en>Output</en><de></de>") << "Output";
    QTest::newRow("blank is not empty") << QByteArray("<en>Output</en><de> </de>") << " ";
    QTest::newRow("no caption at all") << QByteArray("<de></de>") << "";
    QTest::newRow("UTF-8") << QByteArray("<en>Cooling water</en><de>K\xc3\xbchlwasser</de>")
                           << QString::fromUtf8("K\xc3\xbchlwasser");
}

void tst_Description::captionFallsBackToEnglish()
{
    QFETCH(QByteArray, text);
    const std::optional<PropertyNode> property
        = readNode("<node><type>category</type><text>" + text + "</text></node>", "de");
    QVERIFY(property);
    QTEST(property->caption, "caption");
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

void tst_Description::buttonCaption_data()
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

void tst_Description::buttonCaption()
{
    QFETCH(QByteArray, caption);
    const std::optional<PropertyNode> property
        = readNode(node("action", "<caption>" + caption + "</caption>"), "de");
    QVERIFY(property);
    QTEST(property->text, "expected");
}

void tst_Description::nodesLackingWhatTheirTypeNeedsAreNotRead_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<bool>("read");

    const QByteArray address = "<index>1</index><subIndex>0</subIndex><size>6</size>";
    const QByteArray items = "<items><a><en>x</en></a></items>";
    QTest::newRow("no children") << QByteArray("<node>text only</node>") << false;
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
    const auto text = [](double max, double min, double divisor) {
        return QStringList{QString::number(max), QString::number(min), QString::number(divisor)}
            .join(QLatin1Char('/'));
    };
    QString range;
    QFETCH(bool, variant);
    if (variant) {
        const ptree variants
            = description.get_child("document.sensorList").front().second.get_child("sensors");
        if (const auto variant = variantRange(variants, name.toStdString()))
            range = text(variant->max, variant->min, variant->divisor) + QLatin1Char('/')
                    + QString::number(variant->bitsNumber);
    } else if (const auto sensor = sensorRange(description, name.toStdString())) {
        range = text(sensor->max, sensor->min, sensor->divisor);
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
