#include <plugin/exports.h>
#include <plugin/sensorcatalogue.h>

#include <extensionsystem/globals.h>

#include <QtTest>

using BravoSensorPlugin::Core::buildSensorCatalogue;
using BravoSensorPlugin::Core::findSensor;
using BravoSensorPlugin::Core::Sensor;
using ExtensionSystem::SensorBasic;

namespace {

std::string fixture(const QString &name)
{
    return QString(QStringLiteral(KR7D_TEST_DATA_DIR "/") + name).toStdString();
}

QStringList namesAndIds(const std::list<SensorBasic> &catalogue)
{
    QStringList entries;
    for (const SensorBasic &sensor : catalogue)
        entries << QString::fromStdString(sensor.name() + "/" + sensor.id());
    return entries;
}

} // namespace

class tst_SensorCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void catalogueKeepsFileOrderAndDuplicatesUpToANamelessEntry();
    void documentDecidesWhetherThereAreSensors_data();
    void documentDecidesWhetherThereAreSensors();
    void sensorMapReplacesTheListContents();
    void lookupTakesTheFirstEntryOfThatName_data();
    void lookupTakesTheFirstEntryOfThatName();
    void recordRejectsTextThatIsNoEntry();
};

void tst_SensorCatalogue::cleanup()
{
    ExtensionSystem::Globals::setLanguage("en");
}

void tst_SensorCatalogue::catalogueKeepsFileOrderAndDuplicatesUpToANamelessEntry()
{
    // The entry without id is refused by the host's record and left out.
    QCOMPARE(namesAndIds(buildSensorCatalogue(fixture("catalogue.xml"))),
             QStringList({"Alpha 10/ALPH", "Beta 25/BETA", "Alpha 10/ALP2"}));
    // The lookup stops at an entry without name; the catalogue goes on.
    const std::string nameless = fixture("nameless_entry_first.xml");
    QCOMPARE(namesAndIds(buildSensorCatalogue(nameless)), QStringList({"Beta 25/BETA"}));
    QVERIFY(findSensor("Beta 25", nameless).tree.empty());
}

void tst_SensorCatalogue::documentDecidesWhetherThereAreSensors_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("sensors");
    QTest::newRow("missing file") << "no_such_file.xml" << 0;
    QTest::newRow("malformed XML") << "malformed.xml" << 0;
    QTest::newRow("document id missing") << "id_missing.xml" << 0;
    QTest::newRow("sensor list missing") << "sensorlist_missing.xml" << 0;
    QTest::newRow("document id in other case") << "id_in_other_case.xml" << 0;
    QTest::newRow("document id with a trailing blank") << "id_with_kept_trailing_blank.xml" << 0;
    // The reader trims element text, so a blank written around the id is not part of it.
    QTest::newRow("blank trimmed by the reader") << "id_with_trimmed_trailing_blank.xml" << 1;
}

void tst_SensorCatalogue::documentDecidesWhetherThereAreSensors()
{
    QFETCH(QString, file);
    QFETCH(int, sensors);
    QCOMPARE(int(buildSensorCatalogue(fixture(file)).size()), sensors);
    const Sensor record = findSensor("Beta 25", fixture(file));
    QCOMPARE(record.id(), std::string(sensors ? "BETA" : ""));
    QCOMPARE(record.tree.empty(), sensors == 0);
}

void tst_SensorCatalogue::sensorMapReplacesTheListContents()
{
    std::list<SensorBasic> sensors{SensorBasic("OLD", "stale entry")};
    vSensorMap(&sensors);
    vSensorMap(&sensors);
    const QStringList expected = namesAndIds(buildSensorCatalogue());
    QVERIFY(!expected.isEmpty());
    QCOMPARE(namesAndIds(sensors), expected);
}

void tst_SensorCatalogue::lookupTakesTheFirstEntryOfThatName_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("id");
    QTest::addColumn<int>("characterDelay");
    QTest::addColumn<int>("lineDelay");
    QTest::newRow("first of two entries named alike")
        << QByteArray("Alpha 10") << QByteArray("ALPH") << 3 << 7;
    QTest::newRow("entry without port settings has no delays")
        << QByteArray("Beta 25") << QByteArray("BETA") << 0 << 0;
    QTest::newRow("no such entry: an empty record")
        << QByteArray("Gamma 600") << QByteArray() << 0 << 0;
}

void tst_SensorCatalogue::lookupTakesTheFirstEntryOfThatName()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, id);
    ExtensionSystem::Globals::setLanguage("de");
    const Sensor record = findSensor(name.toStdString(), fixture("catalogue.xml"));
    QCOMPARE(record.id(), id.toStdString());
    QCOMPARE(record.tree.empty(), id.isEmpty());
    QTEST(record.getCharacterDelay(), "characterDelay");
    QTEST(record.getLineDelay(), "lineDelay");
    QCOMPARE(record.getLanguage(), std::string("de"));
}

void tst_SensorCatalogue::recordRejectsTextThatIsNoEntry()
{
    Sensor record;
    std::stringstream text("this is <not xml");
    QVERIFY(!record.fromXMLStream(text));
    QVERIFY(record.name().empty());
}

QTEST_GUILESS_MAIN(tst_SensorCatalogue)
#include "tst_sensorcatalogue.moc"
