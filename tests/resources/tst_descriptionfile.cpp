#include <model/parameterids.h>
#include <model/propertynode.h>

#include <QtTest>

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <set>

using Tree = boost::property_tree::ptree;
using BravoSensorPlugin::Core::ParameterKind;
using BravoSensorPlugin::Core::PropertyNode;
using BravoSensorPlugin::Core::readPropertyNode;

Q_DECLARE_METATYPE(const Tree *)

namespace {

// Every parameter node below `tree`, parents before children.
void collect(const Tree &tree, std::vector<const Tree *> &out)
{
    out.push_back(&tree);
    for (const auto &child : tree) {
        if (child.first == "property")
            collect(child.second, out);
    }
}

std::string text(const Tree &tree, const std::string &key)
{
    return tree.get<std::string>(key, "");
}

// NaN for a missing or malformed number, so that every comparison with it fails.
double number(const Tree &tree, const std::string &key)
{
    bool ok = false;
    const double value = QString::fromStdString(text(tree, key)).toDouble(&ok);
    return ok ? value : qQNaN();
}

bool isWhole(const std::string &value)
{
    bool ok = false;
    QString::fromStdString(value).toInt(&ok);
    return ok;
}

} // namespace

// The consistency rules the readers rely on, checked on the file that ships.
class tst_DescriptionFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void variantFitsSixteenBitDeviceNumbers_data();
    void variantFitsSixteenBitDeviceNumbers();
    void nodeCarriesTheKeysOfItsType_data();
    void nodeCarriesTheKeysOfItsType();
    void namesIdsAndAddressesAreUnique();
    void unitChoicesFollowTheUnitIndex();
    void idsTheCodeNamesExist_data();
    void idsTheCodeNamesExist();
    void processDataRowsFollowTheWindowOrder();

private:
    const Tree &sensors() const { return m_document.get_child("document.sensorList"); }

    Tree m_document;
    std::vector<const Tree *> m_nodes;
};

void tst_DescriptionFile::initTestCase()
{
    // As the property builder reads it: comments skipped, whitespace kept.
    boost::property_tree::read_xml(KR7D_APP_DIR "/IoLinkKR7Dfamily.xml", m_document,
                                   boost::property_tree::xml_parser::no_comments);
    for (const auto &child : m_document.get_child("document.treeGui.default"))
        collect(child.second, m_nodes);
    QVERIFY(m_nodes.size() > 30);
}

void tst_DescriptionFile::variantFitsSixteenBitDeviceNumbers_data()
{
    QTest::addColumn<const Tree *>("sensor");
    QTest::addColumn<const Tree *>("variant");
    for (const auto &entry : sensors()) {
        for (const auto &variant : entry.second.get_child("sensors")) {
            QTest::newRow((text(entry.second, "name") + ' ' + text(variant.second, "ID3")).c_str())
                << &entry.second << &variant.second;
        }
    }
}

void tst_DescriptionFile::variantFitsSixteenBitDeviceNumbers()
{
    QFETCH(const Tree *, sensor);
    QFETCH(const Tree *, variant);
    // The product id is the type's four letters and the variant's three.
    QCOMPARE(text(*sensor, "id").size(), size_t(4));
    QCOMPARE(text(*variant, "ID3").size(), size_t(3));
    QVERIFY(number(*sensor, "max") > number(*sensor, "min"));
    QVERIFY(number(*sensor, "decVal") > 0.0);
    const double divisor = number(*variant, "floatVal");
    QVERIFY(number(*variant, "maxRange") > number(*variant, "minRange"));
    QVERIFY(number(*variant, "maxRange") * divisor <= 32767.0);
    QVERIFY(number(*variant, "minRange") * divisor >= -32768.0);
    QVERIFY(number(*variant, "bitsNumber") > 0 && number(*variant, "bitsNumber") <= 16);
    QVERIFY(number(*variant, "maxRange") <= number(*sensor, "max"));
}

void tst_DescriptionFile::nodeCarriesTheKeysOfItsType_data()
{
    QTest::addColumn<const Tree *>("node");
    for (const Tree *node : m_nodes)
        QTest::newRow(text(*node, "id").c_str()) << node;
}

// What the property builder reads, plus the texts and numbers it would take silently.
void tst_DescriptionFile::nodeCarriesTheKeysOfItsType()
{
    QFETCH(const Tree *, node);
    const std::optional<PropertyNode> read = readPropertyNode(*node, "en");
    QVERIFY(read);
    QVERIFY(!text(*node, "text.en").empty() && !text(*node, "text.de").empty());
    for (const char *flag : {"readonly", "visible"}) {
        const auto value = node->get_optional<std::string>(flag);
        QVERIFY(!value || *value == "true" || *value == "false");
    }
    if (read->type == ParameterKind::Category)
        return;
    QVERIFY(isWhole(text(*node, "index")) && isWhole(text(*node, "subIndex")));
    QVERIFY(text(*node, "size") == "6" || text(*node, "size") == "7");
    const bool editableText = read->type == ParameterKind::String && !read->readOnlyText;
    if (read->type == ParameterKind::Enumerator || editableText) {
        QVERIFY(read->items.size() >= 2);
        for (const auto &item : node->get_child("items"))
            QVERIFY(!text(item.second, "en").empty() && !text(item.second, "de").empty());
    }
    if (read->type == ParameterKind::Enumerator)
        QVERIFY(read->number >= 0 && read->number < read->items.size());
    if (read->type == ParameterKind::Int || read->type == ParameterKind::Double) {
        // The builder reads double defaults as whole numbers too.
        QVERIFY(isWhole(text(*node, "defaultvalue")));
        QVERIFY(read->minimum <= read->number && read->number <= read->maximum);
    }
    if (read->type == ParameterKind::Action)
        QVERIFY(!text(*node, "caption.text.en").empty() && !text(*node, "caption.text.de").empty());
}

void tst_DescriptionFile::namesIdsAndAddressesAreUnique()
{
    std::set<std::string> names;
    std::set<std::string> ids;
    for (const auto &entry : sensors()) {
        const Tree &sensor = entry.second;
        QVERIFY2(names.insert(text(sensor, "name")).second, text(sensor, "name").c_str());
        QVERIFY2(ids.insert(text(sensor, "id")).second, text(sensor, "id").c_str());
        std::set<std::string> codes;
        for (const auto &variant : sensor.get_child("sensors"))
            QVERIFY2(codes.insert(text(variant.second, "ID3")).second, text(sensor, "id").c_str());
    }
    ids.clear();
    std::set<std::pair<int, int>> addresses;
    for (const Tree *node : m_nodes) {
        const std::string id = text(*node, "id");
        QVERIFY2(ids.insert(id).second, id.c_str());
        if (text(*node, "type") == "category")
            continue;
        const auto integer
            = [node](const char *key) { return QString::fromStdString(text(*node, key)).toInt(); };
        const std::pair address{integer("index"), integer("subIndex")};
        QVERIFY2(addresses.insert(address).second, id.c_str());
        QVERIFY2(address.first != 2, "index 2 is the system command");
    }
}

void tst_DescriptionFile::idsTheCodeNamesExist_data()
{
    namespace Ids = BravoSensorPlugin::Core::ParameterIds;
    using BravoSensorPlugin::Core::Quantity;
    QTest::addColumn<QString>("id");
    QStringList ids
        = {Ids::temperatureSettings, Ids::pinFunctionA1,         Ids::pinFunctionA2,
           Ids::analogMode,          Ids::remoteSwitchingOutput, Ids::remoteAnalogValue};
    for (const int output : {1, 2}) {
        ids << Ids::onDelay(output) << Ids::offDelay(output) << Ids::normallyClosed(output);
        for (const Quantity quantity : {Quantity::Pressure, Quantity::Temperature}) {
            ids << Ids::switchingGroup(quantity, output) << Ids::switchingPoint(quantity, output, 1)
                << Ids::switchingPoint(quantity, output, 2)
                << Ids::analogPoint(quantity, output == 2) << Ids::analogGroup(quantity);
        }
    }
    ids.removeDuplicates();
    for (const QString &id : qAsConst(ids))
        QTest::newRow(qPrintable(id)) << id;
}

void tst_DescriptionFile::idsTheCodeNamesExist()
{
    QFETCH(QString, id);
    QVERIFY(std::any_of(m_nodes.begin(), m_nodes.end(),
                        [&id](const Tree *node) { return text(*node, "id") == id.toStdString(); }));
}

void tst_DescriptionFile::unitChoicesFollowTheUnitIndex()
{
    const auto units = std::find_if(m_nodes.begin(), m_nodes.end(), [](const Tree *node) {
        return text(*node, "id") == BravoSensorPlugin::Core::ParameterIds::temperatureSettings;
    });
    QVERIFY(units != m_nodes.end());
    const QStringList pressureUnits{"bar", "psi", "MPa", "kPa"};
    int index = 0;
    for (const auto &item : (*units)->get_child("items")) {
        const QString caption = QString::fromStdString(text(item.second, "en"));
        QVERIFY2(caption.contains(pressureUnits.at(index % 4)), qPrintable(caption));
        QVERIFY2(caption.contains(index < 4 ? QStringLiteral("°C") : QStringLiteral("°F")),
                 qPrintable(caption));
        ++index;
    }
    QCOMPARE(index, 8);
}

// The window fills the rows by number: the outputs, the signal, then the two measurements.
void tst_DescriptionFile::processDataRowsFollowTheWindowOrder()
{
    const QStringList order{"A1", "A2", "Signal", "Temperature", "Pressure"};
    QStringList captions;
    for (const auto &row : m_document.get_child("document.guiCategory.default")) {
        QCOMPARE(text(row.second, "visible"), std::string("true"));
        QVERIFY(!text(row.second, "text.de").empty());
        captions << QString::fromStdString(text(row.second, "text.en"));
    }
    QCOMPARE(captions.size(), order.size());
    for (int row = 0; row < order.size(); ++row)
        QVERIFY2(captions.at(row).contains(order.at(row)), qPrintable(captions.at(row)));
}

QTEST_GUILESS_MAIN(tst_DescriptionFile)
#include "tst_descriptionfile.moc"
