#include <simulator/devicedescription.h>

#include <QtTest>

using namespace Kr7dSim;

namespace {

// A document with two sensor types around the given parameter nodes.
QByteArray document(const QByteArray &nodes, const QByteArray &documentId = "IoLinkKR7Dfamily")
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><document><documentId>" + documentId
           + "</documentId><sensorList>"
             "<sensor><id>AAAA</id><name>Alpha</name><sensors>"
             "<v><ID3>001</ID3><maxRange>1</maxRange><minRange>-1</minRange><bitsNumber>16</"
             "bitsNumber>"
             "<floatVal>1000</floatVal></v>"
             "<v><ID3>002</ID3><maxRange>2</maxRange><minRange>0</minRange><floatVal>0</floatVal></"
             "v>"
             "<v><ID3>010</ID3><maxRange>10</maxRange><minRange>0</minRange><floatVal>100</"
             "floatVal></v>"
             "</sensors></sensor>"
             "<sensor><id>BBBB</id><name>Beta</name><sensors>"
             "<v><ID3>100</ID3><maxRange>100</maxRange><minRange>0</minRange><floatVal>10</"
             "floatVal></v>"
             "</sensors></sensor>"
             "</sensorList><treeGui><default>"
           + nodes + "</default></treeGui></document>";
}

QStringList ids(const QVector<ParameterInfo> &infos)
{
    QStringList result;
    for (const ParameterInfo &info : infos)
        result.append(info.id);
    return result;
}

} // namespace

class tst_DeviceDescription : public QObject
{
    Q_OBJECT

private slots:
    void keepsNodesTheDeviceCanHold_data();
    void keepsNodesTheDeviceCanHold();
    void readOnlyUnlessExactlyFalse_data();
    void readOnlyUnlessExactlyFalse();
    void leavesOutVariantsWithoutDivisor();
    void rejectsUnusableDocuments_data();
    void rejectsUnusableDocuments();
    void selectsTheDevice_data();
    void selectsTheDevice();
};

void tst_DeviceDescription::keepsNodesTheDeviceCanHold_data()
{
    QTest::addColumn<QByteArray>("nodes");
    QTest::addColumn<QStringList>("expected");
    const QByteArray address = "<index>70</index><subIndex>0</subIndex><size>6</size>";
    QTest::newRow("nested in categories, document order")
        << "<a><type>category</type><id>Group</id>"
           "<property><type>int</type><id>One</id>"
               + address
               + "</property>"
                 "<property><type>category</type><id>Inner</id>"
                 "<property><type>bool</type><id>Two</id>"
               + address
               + "</property></property></a>"
                 "<b><type>string</type><id>Three</id>"
               + address + "</b>"
        << QStringList{"One", "Two", "Three"};
    QTest::newRow("children of a parameter count too")
        << "<a><type>int</type><id>Parent</id>" + address
               + "<property><type>double</type><id>Child</id>" + address + "</property></a>"
        << QStringList{"Parent", "Child"};
    QTest::newRow("missing address skips node and children")
        << "<a><type>int</type><id>NoSize</id><index>1</index><subIndex>0</subIndex>"
           "<property><type>int</type><id>Lost</id>"
               + address + "</property></a>"
        << QStringList();
    QTest::newRow("unknown type skips node and children")
        << "<a><type>slider</type><id>Odd</id>" + address
               + "<property><type>int</type><id>Lost</id>" + address + "</property></a>"
        << QStringList();
    QTest::newRow("only children named property")
        << "<a><type>category</type><id>Group</id><Property><type>int</type><id>Lost</id>" + address
               + "</Property></a>"
        << QStringList();
}

void tst_DeviceDescription::keepsNodesTheDeviceCanHold()
{
    QFETCH(QByteArray, nodes);
    const std::optional<DeviceDescription> description
        = DeviceDescription::fromXml(document(nodes));
    QVERIFY(description);
    QTEST(ids(description->parameters()), "expected");
}

void tst_DeviceDescription::readOnlyUnlessExactlyFalse_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("readonly");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("int, absent") << QByteArray("int") << QByteArray() << false;
    QTest::newRow("int, false") << QByteArray("int") << QByteArray("<readonly>false</readonly>")
                                << false;
    QTest::newRow("int, true") << QByteArray("int") << QByteArray("<readonly>true</readonly>")
                               << true;
    QTest::newRow("int, TRUE") << QByteArray("int") << QByteArray("<readonly>TRUE</readonly>")
                               << true;
    QTest::newRow("text, absent") << QByteArray("string") << QByteArray() << true;
    QTest::newRow("text, false") << QByteArray("string") << QByteArray("<readonly>false</readonly>")
                                 << false;
}

void tst_DeviceDescription::readOnlyUnlessExactlyFalse()
{
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, readonly);
    QFETCH(bool, readOnly);
    const QByteArray node = "<p><type>" + type
                            + "</type><id>P</id><index>1</index><subIndex>0</subIndex>"
                              "<size>6</size>"
                            + readonly + "</p>";
    const std::optional<DeviceDescription> description = DeviceDescription::fromXml(document(node));
    QVERIFY(description);
    QCOMPARE(description->parameters().size(), 1);
    QCOMPARE(description->parameters().constFirst().readOnly, readOnly);
}

void tst_DeviceDescription::leavesOutVariantsWithoutDivisor()
{
    const std::optional<DeviceDescription> description
        = DeviceDescription::fromXml(document(QByteArray()));
    QVERIFY(description);
    QCOMPARE(description->sensors().size(), 2);
    const SensorType &alpha = description->sensors().constFirst();
    QCOMPARE(alpha.variants.size(), 2);
    QCOMPARE(alpha.variants.at(0).id3, QStringLiteral("001"));
    QCOMPARE(alpha.variants.at(0).minRange, -1.0);
    QCOMPARE(alpha.variants.at(0).bitsNumber, 16);
    QCOMPARE(alpha.variants.at(1).id3, QStringLiteral("010"));
    QCOMPARE(alpha.variants.at(1).divisor, 100.0);
}

void tst_DeviceDescription::rejectsUnusableDocuments_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::newRow("other document id") << document(QByteArray(), "IoLinkKR8Xfamily");
    QTest::newRow("not well-formed")
        << QByteArray("<document><documentId>IoLinkKR7Dfamily</document>");
    QTest::newRow("no sensors") << QByteArray(
        "<document><documentId>IoLinkKR7Dfamily</documentId></document>");
    QTest::newRow("empty") << QByteArray();
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
    QTest::addColumn<QString>("sensorName");
    QTest::addColumn<QString>("variantId3");
    QTest::addColumn<QString>("productId");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("expectedSensor");
    QTest::addColumn<QString>("expectedVariant");
    QTest::addColumn<QString>("expectedProductId");
    QTest::newRow("nothing chosen: first of each") << ""
                                                   << ""
                                                   << "" << true << "Alpha"
                                                   << "001"
                                                   << "AAAA001";
    QTest::newRow("by name, first variant") << "Beta"
                                            << ""
                                            << "" << true << "Beta"
                                            << "100"
                                            << "BBBB100";
    QTest::newRow("by name and variant") << "Alpha"
                                         << "010"
                                         << "" << true << "Alpha"
                                         << "010"
                                         << "AAAA010";
    QTest::newRow("product id wins over name") << "Alpha"
                                               << ""
                                               << "BBBB100" << true << "Beta"
                                               << "100"
                                               << "BBBB100";
    QTest::newRow("foreign product id reported as given") << "Beta"
                                                          << ""
                                                          << "XYZW123" << true << "Beta"
                                                          << "100"
                                                          << "XYZW123";
    QTest::newRow("unknown name") << "Gamma"
                                  << ""
                                  << "" << false << ""
                                  << ""
                                  << "";
    QTest::newRow("variant of another type") << "Alpha"
                                             << "100"
                                             << "" << false << ""
                                             << ""
                                             << "";
    QTest::newRow("variant without divisor") << "Alpha"
                                             << "002"
                                             << "" << false << ""
                                             << ""
                                             << "";
}

void tst_DeviceDescription::selectsTheDevice()
{
    QFETCH(QString, sensorName);
    QFETCH(QString, variantId3);
    QFETCH(QString, productId);
    const std::optional<DeviceDescription> description
        = DeviceDescription::fromXml(document(QByteArray()));
    QVERIFY(description);
    const std::optional<DeviceIdentity> device
        = description->select({sensorName, variantId3, productId});
    QTEST(bool(device), "found");
    if (!device)
        return;
    QTEST(device->sensor.name, "expectedSensor");
    QTEST(device->variant.id3, "expectedVariant");
    QTEST(device->productId, "expectedProductId");
}

QTEST_GUILESS_MAIN(tst_DeviceDescription)
#include "tst_devicedescription.moc"
