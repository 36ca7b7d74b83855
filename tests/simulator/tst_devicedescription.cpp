#include <simulator/devicedescription.h>

#include <QtTest>

using namespace Kr7dSim;

namespace {

// A document with two sensor types around the given parameter nodes; variant 002 has no divisor.
QByteArray document(const QByteArray &nodes, const QByteArray &documentId = "IoLinkKR7Dfamily")
{
    return "<document><documentId>" + documentId
           + "</documentId><sensorList><sensor><id>AAAA</id><name>Alpha</name><sensors>"
             "<v><ID3>001</ID3><floatVal>1000</floatVal></v>"
             "<v><ID3>002</ID3><floatVal>0</floatVal></v>"
             "<v><ID3>010</ID3><floatVal>100</floatVal></v></sensors></sensor>"
             "<sensor><id>BBBB</id><name>Beta</name><sensors>"
             "<v><ID3>100</ID3><floatVal>10</floatVal></v></sensors></sensor>"
             "</sensorList><treeGui><default>"
           + nodes + "</default></treeGui></document>";
}

// A node with a complete address around the given children.
QByteArray node(const QByteArray &type, const QByteArray &id, const QByteArray &inner = {},
                const QByteArray &tag = "property")
{
    return "<" + tag + "><type>" + type + "</type><id>" + id
           + "</id><index>70</index><subIndex>0</subIndex><size>6</size>" + inner + "</" + tag
           + ">";
}

} // namespace

Q_DECLARE_METATYPE(DeviceSelection)

class tst_DeviceDescription : public QObject
{
    Q_OBJECT

private slots:
    void keepsNodesTheDeviceCanHold_data();
    void keepsNodesTheDeviceCanHold();
    void rejectsUnusableDocuments_data();
    void rejectsUnusableDocuments();
    void selectsTheDevice_data();
    void selectsTheDevice();
};

void tst_DeviceDescription::keepsNodesTheDeviceCanHold_data()
{
    QTest::addColumn<QByteArray>("nodes");
    QTest::addColumn<QStringList>("expected");
    // Read-only parameters are marked "ro".
    QTest::newRow("nested in categories, document order")
        << node("category", "Group",
                node("int", "One") + node("category", "Inner", node("bool", "Two")), "a")
               + node("string", "Three", {}, "b")
        << QStringList{"One", "Two", "Three ro"};
    QTest::newRow("children of a parameter count too")
        << node("int", "Parent", node("double", "Child"), "a") << QStringList{"Parent", "Child"};
    QTest::newRow("missing address skips node and children")
        << "<a><type>int</type><id>NoSize</id><index>1</index><subIndex>0</subIndex>"
               + node("int", "Lost") + "</a>"
        << QStringList();
    QTest::newRow("unknown type skips node and children")
        << node("slider", "Odd", node("int", "Lost"), "a") << QStringList();
    QTest::newRow("only children named property")
        << node("category", "Group", node("int", "Lost", {}, "Property"), "a") << QStringList();
    QTest::newRow("read-only unless exactly false")
        << node("int", "A", {}, "a") + node("int", "B", "<readonly>TRUE</readonly>", "b")
               + node("string", "C", "<readonly>false</readonly>", "c")
        << QStringList{"A", "B ro", "C"};
}

void tst_DeviceDescription::keepsNodesTheDeviceCanHold()
{
    QFETCH(QByteArray, nodes);
    const std::optional<DeviceDescription> description
        = DeviceDescription::fromXml(document(nodes));
    QVERIFY(description);
    QStringList kept;
    for (const ParameterInfo &info : description->parameters())
        kept << info.id + (info.readOnly ? " ro" : "");
    QTEST(kept, "expected");
}

void tst_DeviceDescription::rejectsUnusableDocuments_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::newRow("other document id") << document({}, "IoLinkKR8Xfamily");
    QTest::newRow("not well-formed") << QByteArray("<document><documentId>IoLinkKR7Dfamily");
    QTest::newRow("no sensors") << QByteArray(
        "<document><documentId>IoLinkKR7Dfamily</documentId></document>");
}

void tst_DeviceDescription::rejectsUnusableDocuments()
{
    QFETCH(QByteArray, xml);
    QString error;
    QVERIFY(!DeviceDescription::fromXml(xml, &error));
    QVERIFY(!error.isEmpty());
}

void tst_DeviceDescription::selectsTheDevice_data()
{
    QTest::addColumn<DeviceSelection>("selection");
    QTest::addColumn<QString>("expected");
    // Sensor name, variant and reported product id; empty when nothing matches.
    QTest::newRow("nothing chosen: first of each") << DeviceSelection() << "Alpha 001 AAAA001";
    QTest::newRow("by name and variant")
        << DeviceSelection{"Alpha", "010", {}} << "Alpha 010 AAAA010";
    QTest::newRow("product id wins over name")
        << DeviceSelection{"Alpha", {}, "BBBB100"} << "Beta 100 BBBB100";
    QTest::newRow("foreign product id reported as given")
        << DeviceSelection{"Beta", {}, "XYZW123"} << "Beta 100 XYZW123";
    QTest::newRow("unknown name") << DeviceSelection{"Gamma", {}, {}} << "";
    QTest::newRow("variant of another type") << DeviceSelection{"Alpha", "100", {}} << "";
    QTest::newRow("variant without divisor") << DeviceSelection{"Alpha", "002", {}} << "";
}

void tst_DeviceDescription::selectsTheDevice()
{
    QFETCH(DeviceSelection, selection);
    const std::optional<DeviceDescription> description = DeviceDescription::fromXml(document({}));
    QVERIFY(description);
    const std::optional<DeviceIdentity> device = description->select(selection);
    const QString found
        = device ? device->sensor.name + ' ' + device->variant.id3 + ' ' + device->productId
                 : QString();
    QTEST(found, "expected");
}

QTEST_GUILESS_MAIN(tst_DeviceDescription)
#include "tst_devicedescription.moc"
