#include <plugin/exports.h>
#include <plugin/sensorcatalogue.h>

#include <extensionsystem/globals.h>

#include <QtTest>

#include <boost/property_tree/exceptions.hpp>

using BravoSensorPlugin::Core::buildSensorCatalogue;
using BravoSensorPlugin::Core::findSensor;
using BravoSensorPlugin::Core::Sensor;
using ExtensionSystem::SensorBasic;

namespace {

std::string fixture(const char *name)
{
    return QStringLiteral(KR7D_TEST_DATA_DIR "/%1").arg(QLatin1String(name)).toStdString();
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

    void catalogueKeepsFileOrderAndDuplicates();
    void documentDecidesWhetherThereAreSensors_data();
    void documentDecidesWhetherThereAreSensors();
    void sensorMapReplacesTheListContents();

    void lookupTakesTheFirstEntryOfThatName_data();
    void lookupTakesTheFirstEntryOfThatName();
    void lookupWithoutMatchGivesDefaultRecordInHostLanguage();
    void lookupEndsAtAnEntryWithoutName();
    void variantListFollowsTheDescription();
    void recordRejectsTextThatIsNoEntry();
};

void tst_SensorCatalogue::cleanup()
{
    ExtensionSystem::Globals::setLanguage("en");
}

void tst_SensorCatalogue::catalogueKeepsFileOrderAndDuplicates()
{
    // The entry without id is refused by the host's record and left out.
    QCOMPARE(namesAndIds(buildSensorCatalogue(fixture("catalogue.xml"))),
             QStringList({"Alpha 10/ALPH", "Beta 25/BETA", "Alpha 10/ALP2"}));
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
    const std::string path = fixture(file.toLatin1().constData());

    QCOMPARE(int(buildSensorCatalogue(path).size()), sensors);
    const Sensor record = findSensor("Beta 25", path);
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
}

void tst_SensorCatalogue::lookupTakesTheFirstEntryOfThatName()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, id);
    const Sensor record = findSensor(name.toStdString(), fixture("catalogue.xml"));
    QCOMPARE(record.id(), id.toStdString());
    QTEST(record.getCharacterDelay(), "characterDelay");
    QTEST(record.getLineDelay(), "lineDelay");
}

void tst_SensorCatalogue::lookupWithoutMatchGivesDefaultRecordInHostLanguage()
{
    ExtensionSystem::Globals::setLanguage("de");
    const Sensor record = findSensor("Gamma 600", fixture("catalogue.xml"));
    QVERIFY(record.name().empty());
    QVERIFY(record.tree.empty());
    QCOMPARE(record.getLanguage(), std::string("de"));
}

void tst_SensorCatalogue::lookupEndsAtAnEntryWithoutName()
{
    const std::string path = fixture("nameless_entry_first.xml");
    QCOMPARE(namesAndIds(buildSensorCatalogue(path)), QStringList({"Beta 25/BETA"}));
    QVERIFY(findSensor("Beta 25", path).tree.empty());
}

void tst_SensorCatalogue::variantListFollowsTheDescription()
{
    const Sensor alpha = findSensor("Alpha 10", fixture("catalogue.xml"));
    QStringList codes;
    for (const auto &variant : alpha.getVariantList())
        codes << QString::fromStdString(variant.second.get<std::string>("ID3"));
    QCOMPARE(codes, QStringList({"A01", "A02"}));

    const Sensor beta = findSensor("Beta 25", fixture("catalogue.xml"));
    QVERIFY_EXCEPTION_THROWN(beta.getVariantList(), boost::property_tree::ptree_bad_path);
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
