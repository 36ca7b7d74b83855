#include <extensionsystem/sensorbasic.h>

#include <QTest>

#include <sstream>

using ExtensionSystem::SensorBasic;

namespace {

// An entry as a catalogue builder writes it: the sensor element's children,
// without the element's own tag, after the XML declaration.
std::string entryText(const std::string &children)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n" + children
           + "<max>600</max><min>-1</min>";
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

    stream << entryText("<name>KR7D-1</name><id>KR7D</id>");
    QVERIFY(record.fromXMLStream(stream));
    stream << "<name>broken";
    QVERIFY(!record.fromXMLStream(stream));
    stream << entryText("<name>KR7D-2</name><id>KR7E</id>");
    QVERIFY(record.fromXMLStream(stream));
    QCOMPARE(record.name(), std::string("KR7D-2"));
    QCOMPARE(record.id(), std::string("KR7E"));
    QVERIFY(stream.good());
}

void tst_SensorBasic::unusableEntryLeavesTheRecordAsItWas_data()
{
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("not XML") << QByteArray("name=KR7D id=7");
    QTest::newRow("no name") << QByteArray::fromStdString(entryText("<id>KR7D</id>"));
    QTest::newRow("no id") << QByteArray::fromStdString(entryText("<name>KR7D-1</name>"));
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
