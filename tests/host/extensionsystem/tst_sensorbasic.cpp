#include <extensionsystem/sensorbasic.h>

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <QTest>

#include <sstream>

using ExtensionSystem::SensorBasic;

namespace {

// An entry as a catalogue builder writes it: the sensor element's children,
// without the element's own tag, after the XML declaration.
std::string entryText(const std::string &name, const std::string &id)
{
    namespace pt = boost::property_tree;
    pt::ptree entry;
    if (!name.empty())
        entry.put("name", name);
    if (!id.empty())
        entry.put("id", id);
    entry.put("max", "600");
    entry.put("min", "-1");
    std::ostringstream text;
    pt::write_xml(text, entry, pt::xml_writer_make_settings<std::string>(' ', 0, "utf-8"));
    return text.str();
}

} // namespace

class tst_SensorBasic : public QObject
{
    Q_OBJECT

private slots:
    void entriesAppendedToOneStreamReadOneEachEvenAfterABrokenOne();
    void unusableEntryLeavesTheRecordAsItWas_data();
    void unusableEntryLeavesTheRecordAsItWas();
};

void tst_SensorBasic::entriesAppendedToOneStreamReadOneEachEvenAfterABrokenOne()
{
    std::stringstream stream;
    SensorBasic record;

    stream << entryText("KR7D-1", "KR7D");
    QVERIFY(record.fromXMLStream(stream));
    stream << "<name>broken";
    QVERIFY(!record.fromXMLStream(stream));
    stream << entryText("KR7D-2", "KR7E");
    QVERIFY(record.fromXMLStream(stream));
    QCOMPARE(record.name(), std::string("KR7D-2"));
    QCOMPARE(record.id(), std::string("KR7E"));
    QVERIFY(stream.good());
}

void tst_SensorBasic::unusableEntryLeavesTheRecordAsItWas_data()
{
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("not XML") << QByteArray("name=KR7D id=7");
    QTest::newRow("no name") << QByteArray::fromStdString(entryText(std::string(), "KR7D"));
    QTest::newRow("no id") << QByteArray::fromStdString(entryText("KR7D-1", std::string()));
    QTest::newRow("nothing written") << QByteArray();
}

void tst_SensorBasic::unusableEntryLeavesTheRecordAsItWas()
{
    QFETCH(QByteArray, text);

    SensorBasic record("old-id", "old-name");
    std::stringstream stream;
    stream << text.toStdString();
    QVERIFY(!record.fromXMLStream(stream));
    QCOMPARE(record.id(), std::string("old-id"));
    QCOMPARE(record.name(), std::string("old-name"));
}

QTEST_GUILESS_MAIN(tst_SensorBasic)
#include "tst_sensorbasic.moc"
