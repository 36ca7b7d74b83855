#include <model/sensorranges.h>

#include <QtTest>

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

using namespace BravoSensorPlugin::Core;
using boost::property_tree::ptree;

namespace {

// Read as the window reads its description: whitespace kept, so names are compared untrimmed.
ptree fixture(const char *fileName)
{
    ptree tree;
    boost::property_tree::read_xml(std::string(KR7D_TEST_DATA_DIR "/") + fileName, tree);
    return tree;
}

} // namespace

class tst_SensorRanges : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sensorRangeOfFirstEntryWithTheName_data();
    void sensorRangeOfFirstEntryWithTheName();
    void descriptionWithoutSensorListHasNoRange();
    void variantRangeOfFirstVariantWithTheCode_data();
    void variantRangeOfFirstVariantWithTheCode();
    void variantCodeIsTheLastThreeOfSevenOrMore_data();
    void variantCodeIsTheLastThreeOfSevenOrMore();

private:
    ptree m_description;
    ptree m_variants;
};

void tst_SensorRanges::initTestCase()
{
    m_description = fixture("ranges.xml");
    m_variants = m_description.get_child("document.sensorList").front().second.get_child("sensors");
}

void tst_SensorRanges::sensorRangeOfFirstEntryWithTheName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("found");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("divisor");

    QTest::newRow("first of two entries with the name")
        << "KR7D-250" << true << 250.0 << -1.0 << 10.0;
    QTest::newRow("any element name, numbers that are not")
        << "KR7D-BAD" << true << 0.0 << -1.5 << 0.0;
    QTest::newRow("name with blanks kept") << " KR7D-40 " << true << 40.0 << 0.0 << 100.0;
    QTest::newRow("blanks are not trimmed") << "KR7D-40" << false << 0.0 << 0.0 << 0.0;
    QTest::newRow("empty name") << "" << false << 0.0 << 0.0 << 0.0;
}

void tst_SensorRanges::sensorRangeOfFirstEntryWithTheName()
{
    QFETCH(QString, name);
    QFETCH(bool, found);
    const std::optional<SensorRange> range = sensorRange(m_description, name.toStdString());
    QCOMPARE(range.has_value(), found);
    if (!found)
        return;
    QTEST(range->max, "max");
    QTEST(range->min, "min");
    QTEST(range->divisor, "divisor");
}

void tst_SensorRanges::descriptionWithoutSensorListHasNoRange()
{
    QVERIFY(!sensorRange(fixture("nolist.xml"), "KR7D-250"));
    QVERIFY(!sensorRange(ptree(), "KR7D-250"));
}

void tst_SensorRanges::variantRangeOfFirstVariantWithTheCode_data()
{
    QTest::addColumn<QString>("id3");
    QTest::addColumn<bool>("found");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("min");
    QTest::addColumn<int>("bitsNumber");
    QTest::addColumn<double>("divisor");

    QTest::newRow("single variant") << "A10" << true << 10.0 << -1.0 << 16 << 1000.0;
    QTest::newRow("first of two with the code") << "B25" << true << 25.5 << 0.0 << 14 << 100.0;
    QTest::newRow("code with a blank kept") << " C60" << true << 600.0 << 0.0 << 16 << 1.0;
    QTest::newRow("blank is not trimmed") << "C60" << false << 0.0 << 0.0 << 0 << 0.0;
    QTest::newRow("texts that are not numbers") << "X00" << true << 0.0 << -1.0 << 0 << 0.0;
    QTest::newRow("unknown code") << "Z99" << false << 0.0 << 0.0 << 0 << 0.0;
}

void tst_SensorRanges::variantRangeOfFirstVariantWithTheCode()
{
    QFETCH(QString, id3);
    QFETCH(bool, found);
    const std::optional<VariantRange> range = variantRange(m_variants, id3.toStdString());
    QCOMPARE(range.has_value(), found);
    if (!found)
        return;
    QTEST(range->max, "max");
    QTEST(range->min, "min");
    QTEST(range->bitsNumber, "bitsNumber");
    QTEST(range->divisor, "divisor");
}

void tst_SensorRanges::variantCodeIsTheLastThreeOfSevenOrMore_data()
{
    QTest::addColumn<QString>("identificationText");
    QTest::addColumn<QString>("code");

    QTest::newRow("exactly seven") << "KR7DA10"
                                   << "A10";
    QTest::newRow("longer text") << "KR7D-B25"
                                 << "B25";
    QTest::newRow("six is too short") << "KR7DA1"
                                      << "";
}

void tst_SensorRanges::variantCodeIsTheLastThreeOfSevenOrMore()
{
    QFETCH(QString, identificationText);
    QTEST(variantCode(identificationText), "code");
}

QTEST_GUILESS_MAIN(tst_SensorRanges)
#include "tst_sensorranges.moc"
