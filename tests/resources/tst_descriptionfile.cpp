#include <QtTest>

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <set>

using Tree = boost::property_tree::ptree;

namespace {

// Every parameter node of the tree, parents before children.
struct Node
{
    const Tree *tree;
    std::string parentId;
};

void collect(const Tree &tree, const std::string &parentId, std::vector<Node> &out)
{
    out.push_back({&tree, parentId});
    for (const auto &child : tree) {
        if (child.first == "property")
            collect(child.second, tree.get<std::string>("id", ""), out);
    }
}

std::string text(const Tree &tree, const std::string &key)
{
    return tree.get<std::string>(key, "");
}

bool isWhole(const std::string &value)
{
    bool ok = false;
    QString::fromStdString(value).toInt(&ok);
    return ok;
}

QByteArray name(const std::string &value)
{
    return QByteArray::fromStdString(value);
}

} // namespace

class tst_DescriptionFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sensorTypesAreDistinctAndComplete();
    void variantsFitSixteenBitDeviceNumbers();
    void nodesCarryTheKeysOfTheirType();
    void addressesAndIdsAreUnique();
    void unitChoicesFollowTheUnitIndex();
    void processDataRowsFollowTheWindowOrder();

private:
    const Tree *findNode(const std::string &id) const;

    Tree m_document;
    std::vector<Node> m_nodes;
};

void tst_DescriptionFile::initTestCase()
{
    // As the property builder reads it: comments skipped, whitespace kept.
    boost::property_tree::read_xml(KR7D_APP_DIR "/IoLinkKR7Dfamily.xml", m_document,
                                   boost::property_tree::xml_parser::no_comments);
    for (const auto &child : m_document.get_child("document.treeGui.default"))
        collect(child.second, std::string(), m_nodes);
    QVERIFY(m_nodes.size() > 30);
}

const Tree *tst_DescriptionFile::findNode(const std::string &id) const
{
    for (const Node &node : m_nodes) {
        if (text(*node.tree, "id") == id)
            return node.tree;
    }
    return nullptr;
}

void tst_DescriptionFile::sensorTypesAreDistinctAndComplete()
{
    std::set<std::string> names;
    std::set<std::string> ids;
    const Tree &sensors = m_document.get_child("document.sensorList");
    for (const auto &entry : sensors) {
        const Tree &sensor = entry.second;
        const QByteArray which = name(text(sensor, "name"));
        QVERIFY2(names.insert(text(sensor, "name")).second, which);
        QVERIFY2(ids.insert(text(sensor, "id")).second, which);
        QCOMPARE(text(sensor, "id").size(), size_t(4));
        QVERIFY2(sensor.get<double>("max") > sensor.get<double>("min"), which);
        QVERIFY2(sensor.get<double>("decVal") > 0.0, which);
        QVERIFY2(sensor.get<int>("portsettings.characterdelay") >= 0, which);
        QVERIFY2(sensor.get<int>("portsettings.linedelay") >= 0, which);
    }
    QVERIFY(names.size() >= 3);
}

void tst_DescriptionFile::variantsFitSixteenBitDeviceNumbers()
{
    for (const auto &entry : m_document.get_child("document.sensorList")) {
        const Tree &sensor = entry.second;
        std::set<std::string> codes;
        std::set<double> divisors;
        for (const auto &item : sensor.get_child("sensors")) {
            const Tree &variant = item.second;
            const QByteArray which = name(text(sensor, "name") + " " + text(variant, "ID3"));
            QVERIFY2(codes.insert(text(variant, "ID3")).second, which);
            QCOMPARE(text(variant, "ID3").size(), size_t(3));
            const double divisor = variant.get<double>("floatVal");
            divisors.insert(divisor);
            QVERIFY2(variant.get<double>("maxRange") > variant.get<double>("minRange"), which);
            QVERIFY2(variant.get<double>("maxRange") * divisor <= 32767.0, which);
            QVERIFY2(variant.get<double>("minRange") * divisor >= -32768.0, which);
            QVERIFY2(variant.get<int>("bitsNumber") > 0 && variant.get<int>("bitsNumber") <= 16,
                     which);
            QVERIFY2(variant.get<double>("maxRange") <= sensor.get<double>("max"), which);
        }
        QVERIFY(codes.size() >= 3);
        QCOMPARE(divisors, (std::set<double>{10.0, 100.0, 1000.0}));
    }
}

void tst_DescriptionFile::nodesCarryTheKeysOfTheirType()
{
    const std::set<std::string> types{"category", "enumerator", "int",   "double",
                                      "bool",     "action",     "string"};
    for (const Node &node : m_nodes) {
        const Tree &tree = *node.tree;
        const std::string type = text(tree, "type");
        const QByteArray which = name(text(tree, "id"));
        QVERIFY2(types.count(type) == 1, which);
        QVERIFY2(!text(tree, "text.en").empty() && !text(tree, "text.de").empty(), which);
        for (const char *flag : {"readonly", "visible"}) {
            const auto value = tree.get_optional<std::string>(flag);
            QVERIFY2(!value || *value == "true" || *value == "false", which);
        }
        if (type == "category")
            continue;
        QVERIFY2(isWhole(text(tree, "index")) && isWhole(text(tree, "subIndex")), which);
        QVERIFY2(text(tree, "size") == "6" || text(tree, "size") == "7", which);
        const bool editableText = type == "string" && text(tree, "readonly") == "false";
        if (type == "enumerator" || editableText) {
            const Tree &items = tree.get_child("items");
            QVERIFY2(items.size() >= 2, which);
            for (const auto &item : items)
                QVERIFY2(!text(item.second, "en").empty() && !text(item.second, "de").empty(),
                         which);
        }
        if (type == "enumerator") {
            const int choice = tree.get<int>("defaultvalue");
            QVERIFY2(choice >= 0 && choice < int(tree.get_child("items").size()), which);
        }
        if (type == "string")
            QVERIFY2(tree.get_optional<std::string>("defaultvalue"), which);
        if (type == "int" || type == "double") {
            // The builder reads double defaults as whole numbers too.
            QVERIFY2(isWhole(text(tree, "defaultvalue")), which);
            const int value = tree.get<int>("defaultvalue");
            QVERIFY2(tree.get<double>("min") <= value && value <= tree.get<double>("max"), which);
        }
        if (type == "action")
            QVERIFY2(!text(tree, "caption.text.en").empty()
                         && !text(tree, "caption.text.de").empty(),
                     which);
    }
}

void tst_DescriptionFile::addressesAndIdsAreUnique()
{
    std::set<std::string> ids;
    std::set<std::pair<int, int>> addresses;
    for (const Node &node : m_nodes) {
        const Tree &tree = *node.tree;
        QVERIFY2(ids.insert(text(tree, "id")).second, name(text(tree, "id")));
        if (text(tree, "type") == "category")
            continue;
        const std::pair<int, int> address{tree.get<int>("index"), tree.get<int>("subIndex")};
        QVERIFY2(addresses.insert(address).second, name(text(tree, "id")));
        QVERIFY2(address.first != 2, "index 2 is the system command");
    }
}

void tst_DescriptionFile::unitChoicesFollowTheUnitIndex()
{
    const Tree *units = findNode("TemperatureSettings");
    QVERIFY(units);
    const QStringList pressureUnits{"bar", "psi", "MPa", "kPa"};
    int index = 0;
    for (const auto &item : units->get_child("items")) {
        const QString caption = QString::fromStdString(text(item.second, "en"));
        QVERIFY2(caption.contains(pressureUnits.at(index % 4)), qPrintable(caption));
        QVERIFY2(caption.contains(index < 4 ? QStringLiteral("°C") : QStringLiteral("°F")),
                 qPrintable(caption));
        ++index;
    }
    QCOMPARE(index, 8);
}

void tst_DescriptionFile::processDataRowsFollowTheWindowOrder()
{
    const Tree &rows = m_document.get_child("document.guiCategory.default");
    const QStringList expected{"A1", "A2", "Signal", "Temperature", "Pressure"};
    QCOMPARE(int(rows.size()), expected.size());
    int row = 0;
    for (const auto &child : rows) {
        const Tree &category = child.second;
        const QString caption = QString::fromStdString(text(category, "text.en"));
        QVERIFY2(caption.contains(expected.at(row)), qPrintable(caption));
        QVERIFY(!text(category, "id").empty());
        QVERIFY(!text(category, "text.de").empty());
        QCOMPARE(text(category, "visible"), std::string("true"));
        ++row;
    }
}

QTEST_GUILESS_MAIN(tst_DescriptionFile)
#include "tst_descriptionfile.moc"
