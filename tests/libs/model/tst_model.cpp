#include <model/outputconfig.h>
#include <model/parameterids.h>
#include <model/propertynode.h>
#include <model/sensorranges.h>
#include <model/settingscheck.h>
#include <model/settingscompare.h>
#include <model/settingsdocument.h>
#include <model/valuerules.h>
#include <model/xmlnesting.h>

#include <QtTest>

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <limits>
#include <sstream>

using boost::property_tree::ptree;
using namespace BravoSensorPlugin::Core;

Q_DECLARE_METATYPE(ParameterKind)
Q_DECLARE_METATYPE(OutputSelection)

namespace {

// "lower/upper" of a plot's marks, empty when they are off.
QString marksText(const MarkSource &marks)
{
    return marks.enabled() ? marks.lowerId + QLatin1Char('/') + marks.upperId : QString();
}

QString span(double from, double to)
{
    return QString::number(from) + QLatin1String("..") + QString::number(to);
}

// Parsed as the window reads its description: comments skipped, texts not trimmed.
ptree parse(const QByteArray &xml)
{
    std::istringstream in(xml.toStdString());
    ptree tree;
    boost::property_tree::read_xml(in, tree, boost::property_tree::xml_parser::no_comments);
    return tree;
}

// "unit <index>: id=value [range], ..." for a file that checks out, else the problem and where.
QString checkText(const SettingsCheck &check)
{
    static const char *const problems[]
        = {"None",        "Missing",        "Unreadable", "NotXml",     "NoRoot",
           "ForeignFile", "MissingElement", "NotANumber", "OutOfRange", "DamagedHistory"};
    if (check.problem != SettingsProblem::None) {
        QString text = QLatin1String(problems[int(check.problem)]);
        if (!check.where.isEmpty())
            text += QLatin1Char(' ') + check.where;
        if (check.problem == SettingsProblem::OutOfRange)
            text += QLatin1Char(' ') + check.value + QLatin1Char(' ')
                    + span(check.minimum, check.maximum);
        return text;
    }
    QStringList values;
    for (const CheckedValue &value : check.settings.values)
        values << value.id + QLatin1Char('=') + QString::number(value.value) + QLatin1String(" [")
                      + span(value.minimum, value.maximum) + QLatin1Char(']');
    return QStringLiteral("unit %1: ").arg(check.settings.unitIndex)
           + values.join(QLatin1String(", "));
}

ptree fixture(const char *fileName)
{
    ptree tree;
    boost::property_tree::read_xml(std::string(KR7D_TEST_DATA_DIR "/") + fileName, tree);
    return tree;
}

// A node of the given type with an address, plus `extra`.
QByteArray node(const QByteArray &type, const QByteArray &extra)
{
    return "<node><type>" + type + "</type><id>P</id><index>1</index><subIndex>0</subIndex>"
           + "<size>6</size>" + extra + "</node>";
}

std::optional<PropertyNode> readNode(const QByteArray &xml, const std::string &language = "en")
{
    return readPropertyNode(parse(xml).get_child("node"), language);
}

} // namespace

class tst_Model : public QObject
{
    Q_OBJECT

private slots:
    void unitChangesRoundToThreeDecimals_data();
    void unitChangesRoundToThreeDecimals();
    void deviceNumbersFollowIdAndScale_data();
    void deviceNumbersFollowIdAndScale();
    void enumerationExceptions_data();
    void enumerationExceptions();

    void outputDecisionTable_data();
    void outputDecisionTable();
    void droppedMarkEditsTheShownOutputsPoints_data();
    void droppedMarkEditsTheShownOutputsPoints();
    void analogPointMovesOffItsPartnerWithinTheRange_data();
    void analogPointMovesOffItsPartnerWithinTheRange();

    void valuesAreComparedAsOpeningReadsThem_data();
    void valuesAreComparedAsOpeningReadsThem();
    void onlyTheFilesKnownIdsAreComparedInWindowOrder();
    void settingsFileChecksOutWholeOrNotAtAll_data();
    void settingsFileChecksOutWholeOrNotAtAll();
    void rulesFollowTheDescriptionNodes();

    void keysAreReadExactlyAsWritten_data();
    void keysAreReadExactlyAsWritten();
    void captionsFallBackToEnglish_data();
    void captionsFallBackToEnglish();
    void itemCaptionsFallBackItemByItem_data();
    void itemCaptionsFallBackItemByItem();
    void nodesLackingWhatTheirTypeNeedsAreNotRead_data();
    void nodesLackingWhatTheirTypeNeedsAreNotRead();
    void textNodeKeepsItsAddressDefaultAndChoicesAsWritten();

    void rangeOfTheFirstEntryWithTheName_data();
    void rangeOfTheFirstEntryWithTheName();
    void noListOrNoCodeFindsNothing();

    void depthIsNeverBelowTheReadersDepth_data();
    void depthIsNeverBelowTheReadersDepth();
};

void tst_Model::unitChangesRoundToThreeDecimals_data()
{
    QTest::addColumn<bool>("pressure");
    QTest::addColumn<int>("oldIndex"); // only pressures need it: they go through bar
    QTest::addColumn<int>("newIndex");
    QTest::addColumn<double>("oldValue");
    QTest::addColumn<double>("expected");

    // Together the pressure rows pass every unit both ways; the Fahrenheit indexes share the
    // pressure unit.
    QTest::newRow("bar to psi, rounded") << true << 0 << 5 << 2.5 << 36.26;
    QTest::newRow("psi to MPa") << true << 1 << 6 << 36.26 << 0.25;
    QTest::newRow("MPa to kPa") << true << 2 << 7 << 0.25 << 250.0;
    QTest::newRow("kPa to bar") << true << 3 << 4 << 250.0 << 2.5;
    QTest::newRow("pressure from an index below range") << true << -1 << 0 << 2.5 << 0.0;
    QTest::newRow("pressure to an index above range") << true << 0 << 8 << 2.5 << 0.0;
    QTest::newRow("boiling point to Fahrenheit") << false << 0 << 4 << 100.0 << 212.0;
    QTest::newRow("Fahrenheit to Celsius") << false << 4 << 3 << 100.0 << 37.778;
    QTest::newRow("temperature to an index below range") << false << 0 << -1 << 100.0 << 0.0;
}

void tst_Model::unitChangesRoundToThreeDecimals()
{
    QFETCH(bool, pressure);
    QFETCH(int, oldIndex);
    QFETCH(int, newIndex);
    QFETCH(double, oldValue);
    QTEST(pressure ? convertPressure(newIndex, true, convertPressure(oldIndex, false, oldValue))
                   : convertTemperature(newIndex, oldValue),
          "expected");
}

void tst_Model::deviceNumbersFollowIdAndScale_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("number");
    QTest::addColumn<double>("decoded");
    QTest::addColumn<int>("decimals");

    QTest::newRow("pressure, whole bar, rounded")
        << "ThresholdsPressure2A1" << 1.0 << 12.6 << 13 << 13.0 << 0;
    QTest::newRow("pressure, tenths") << "analogPressure0V" << 10.0 << 62.5 << 625 << 62.5 << 1;
    QTest::newRow("pressure, hundredths, negative")
        << "ThresholdsPressure1A1" << 100.0 << -0.506 << -51 << -0.51 << 2;
    QTest::newRow("pressure, thousandths")
        << "analogPressure10V" << 1000.0 << 12.3456 << 12350 << 12.35 << 3;
    // A description without a usable scale leaves the one in force (here hundredths).
    QTest::newRow("pressure, zero scale") << "analogPressure0V" << 0.0 << 2.5 << 250 << 2.5 << 2;
    QTest::newRow("pressure, scale no number")
        << "analogPressure0V" << std::numeric_limits<double>::quiet_NaN() << 2.5 << 250 << 2.5 << 2;
    // Temperatures travel as 1/100 degrees whatever the pressure scale.
    QTest::newRow("temperature, tenths scale")
        << "ThresholdsTemp2A1" << 10.0 << 21.37 << 2137 << 21.37 << 1;
    QTest::newRow("lower-case pressure is no pressure")
        << "lowpressure" << 10.0 << 2.5 << 250 << 2.5 << 1;
}

void tst_Model::deviceNumbersFollowIdAndScale()
{
    QFETCH(QString, id);
    QFETCH(double, scale);
    QFETCH(double, value);
    QFETCH(int, number);
    const double divisor = usableDivisor(scale, 100.0);
    QCOMPARE(encodeDeviceDouble(id, value, divisor), number);
    QTEST(decodeDeviceDouble(id, number, divisor), "decoded");
    QTEST(pressureDecimals(divisor), "decimals");
}

void tst_Model::enumerationExceptions_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<int>("deviceNumber");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("written");

    QTest::newRow("unit bar and F")
        << QString::fromLatin1(ParameterIds::temperatureSettings) << 32 << 4 << 32;
    QTest::newRow("unit kPa and C")
        << QString::fromLatin1(ParameterIds::temperatureSettings) << 3 << 3 << 3;
    QTest::newRow("storage lock 2 shows as locked") << "DataStorageLock" << 2 << 1 << 1;
    QTest::newRow("other enumeration unchanged") << "PinFunctionA2" << 33 << 33 << 33;
}

void tst_Model::enumerationExceptions()
{
    QFETCH(QString, id);
    QFETCH(int, deviceNumber);
    QFETCH(int, shown);
    QCOMPARE(decodeEnumerationValue(id, deviceNumber), shown);
    QTEST(encodeEnumerationValue(id, shown), "written");
}

void tst_Model::outputDecisionTable_data()
{
    QTest::addColumn<OutputSelection>("selection"); // A1, A2, analog mode, unit, combo
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("pressureMarks");
    QTest::addColumn<QString>("temperatureMarks");
    QTest::addColumn<QString>("analog"); // "<plot>:<low>/<high>:<right axis>", empty for none
    QTest::addColumn<bool>("toolBar");
    QTest::addColumn<bool>("output2Switching");
    QTest::addColumn<QString>("units"); // "<pressure scale>|<temperature max>|<labels>|<timeline>"

    const QString p1 = QStringLiteral("ThresholdsPressure1A1/ThresholdsPressure2A1");
    const QString p2 = QStringLiteral("ThresholdsPressure1A2/ThresholdsPressure2A2");
    const QString t1 = QStringLiteral("ThresholdsTemp1A1/ThresholdsTemp2A1");
    const QStringList a2Switching = {"OnDelay2", "OffDelay2", "NONCA2"};
    const QStringList bothPressure
        = QStringList{"SettingsPointsPressureA1", "SettingsPointsPressureA2"} + a2Switching;
    const QString none;
    using S = OutputSelection;

    QTest::newRow("A1 pressure, A2 analog pressure in mA")
        << S{1, 3, 1, 0, 0}
        << QStringList{"SettingsPointsPressureA1", "AnalogPointsPressure", "AnalogMode"} << p1
        << none << "0:analogPressure0V/analogPressure10V:4..20" << false << false
        << QStringLiteral("-1..10|120| (bar) (\u00B0C)|-40..120");
    QTest::newRow("A1 temperature, A2 analog temperature in volt, psi and Fahrenheit")
        << S{0, 2, 0, 5, 0}
        << QStringList{"SettingsPointsTemperatureA1", "AnalogPointsTemperature", "AnalogMode"}
        << none << t1 << "1:analogTemp0V/analogTemp10V:0..10" << false << false
        << QStringLiteral("-14.504..145.04|257| (psi) (\u00B0F)|-40..257");
    QTest::newRow("both on pressure, output 1 chosen")
        << S{1, 1, 0, 2, 0} << bothPressure << p1 << none << none << true << true
        << QStringLiteral("-0.1..1|120| (MPa) (\u00B0C)|-40..120");
    QTest::newRow("both on pressure, output 2 chosen")
        << S{1, 1, 0, 3, 1} << bothPressure << p2 << none << none << true << true
        << QStringLiteral("-100..1000|120| (kPa) (\u00B0C)|-100..1000");
    QTest::newRow("A1 temperature, A2 pressure: one output per plot")
        << S{0, 1, 0, 7, 1}
        << QStringList{"SettingsPointsTemperatureA1", "SettingsPointsPressureA2"} + a2Switching
        << p2 << t1 << none << false << true
        << QStringLiteral("-100..1000|257| (kPa) (\u00B0F)|-100..1000");
    QTest::newRow("A1 off, A2 remote switching")
        << S{2, 4, 0, 1, 0} << QStringList{"RemoteSwitchingOutput"} << none << none << none << false
        << false << QStringLiteral("-14.504..145.04|120| (psi) (\u00B0C)|-40..257");
    QTest::newRow("A2 remote analog")
        << S{1, 5, 1, 6, 0}
        << QStringList{"SettingsPointsPressureA1", "remoteAnalogValue", "AnalogMode"} << p1 << none
        << none << false << false << QStringLiteral("-0.1..1|257| (MPa) (\u00B0F)|-40..257");
    QTest::newRow("unknown functions and units change nothing")
        << S{7, 9, 0, 8, 0} << QStringList{} << none << none << none << false << true << none;
}

void tst_Model::outputDecisionTable()
{
    QFETCH(OutputSelection, selection);
    QFETCH(QStringList, shown);
    const OutputConfig config = outputConfig(selection);

    QCOMPARE(config.shownGroups, shown);
    QTEST(marksText(config.marks[0]), "pressureMarks");
    QTEST(marksText(config.marks[1]), "temperatureMarks");
    QString analog;
    if (config.analogAxis) {
        analog = QString::number(int(*config.analogAxis)) + QLatin1Char(':') + config.analogLowId
                 + QLatin1Char('/') + config.analogHighId + QLatin1Char(':')
                 + span(config.rightAxisMin, config.rightAxisMax);
    }
    QTEST(analog, "analog");
    QTEST(config.outputsToolBarVisible, "toolBar");
    QTEST(config.output2IsSwitching, "output2Switching");
    // Each switching group shown is captioned with the quantity it switches on.
    for (const GroupCaption &caption : config.groupCaptions) {
        QVERIFY(shown.contains(caption.groupId));
        QCOMPARE(caption.groupId.contains(QLatin1String("Pressure")),
                 caption.quantity == Quantity::Pressure);
    }
    QString units;
    if (const auto scales = config.units) {
        units = span(scales->pressureMin, scales->pressureMax) + QLatin1Char('|')
                + QString::number(scales->temperatureMax) + QLatin1Char('|') + scales->pressureLabel
                + scales->temperatureLabel + QLatin1Char('|')
                + span(scales->timelineFrom, scales->timelineTo);
    }
    QTEST(units, "units");
}

void tst_Model::droppedMarkEditsTheShownOutputsPoints_data()
{
    QTest::addColumn<int>("plot");
    QTest::addColumn<unsigned int>("mark");
    QTest::addColumn<bool>("toolBar");
    QTest::addColumn<int>("output");
    QTest::addColumn<QStringList>("shownGroups");
    QTest::addColumn<QStringList>("targets");

    const QStringList bothPressure = {"SettingsPointsPressureA1", "SettingsPointsPressureA2"};
    QTest::newRow("only A1 on pressure, lower mark")
        << 0 << 0u << false << 1 << QStringList{"SettingsPointsPressureA1", "AnalogPointsPressure"}
        << QStringList{"ThresholdsPressure1A1"};
    QTest::newRow("both on pressure, output 2 chosen")
        << 0 << 0u << true << 2 << bothPressure << QStringList{"ThresholdsPressure1A2"};
    QTest::newRow("both on temperature, output 1 chosen, upper mark")
        << 1 << 1u << true << 1 << QStringList{} << QStringList{"ThresholdsTemp2A1"};
    QTest::newRow("no group of the plot's quantity shown")
        << 1 << 0u << false << 1 << bothPressure << QStringList{};
    QTest::newRow("a third plot") << 2 << 0u << true << 1 << bothPressure << QStringList{};
}

void tst_Model::droppedMarkEditsTheShownOutputsPoints()
{
    QFETCH(int, plot);
    QFETCH(unsigned int, mark);
    QFETCH(bool, toolBar);
    QFETCH(int, output);
    QFETCH(QStringList, shownGroups);
    QTEST(markTargets(plot, mark, toolBar, output, shownGroups), "targets");
}

void tst_Model::analogPointMovesOffItsPartnerWithinTheRange_data()
{
    QTest::addColumn<bool>("high");
    QTest::addColumn<double>("edited");
    QTest::addColumn<double>("other");
    QTest::addColumn<double>("point");
    // A range of -1..25 bar.
    QTest::newRow("apart after rounding stays") << false << 2.004 << 2.0 << 2.004;
    QTest::newRow("apart") << true << 3.0 << 2.0 << 3.0;
    QTest::newRow("low goes below") << false << 5.0 << 5.0 << 4.0;
    QTest::newRow("high goes above") << true << 5.0 << 5.0 << 6.0;
    QTest::newRow("low onto 0 goes to 1") << false << 0.0 << 0.0 << 1.0;
    QTest::newRow("low stops at the bottom") << false << -0.34 << -0.34 << -1.0;
    QTest::newRow("high stops at the top") << true << 24.5 << 24.5 << 25.0;
    QTest::newRow("low at the bottom goes above") << false << -1.0 << -1.0 << 0.0;
    QTest::newRow("high at the top goes below") << true << 25.0 << 25.0 << 24.0;
}

void tst_Model::analogPointMovesOffItsPartnerWithinTheRange()
{
    QFETCH(bool, high);
    QFETCH(double, edited);
    QFETCH(double, other);
    QTEST(separatedAnalogPoint(high, edited, other, -1.0, 25.0), "point");
}

void tst_Model::valuesAreComparedAsOpeningReadsThem_data()
{
    QTest::addColumn<QString>("windowValue");
    QTest::addColumn<ParameterKind>("kind");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("fileValue");
    QTest::addColumn<bool>("differs");

    const auto whole = ParameterKind::Int;
    const auto truth = ParameterKind::Bool;
    const auto decimal = ParameterKind::Double;
    QTest::newRow("other index") << "2" << ParameterKind::Enumerator << 0 << "1" << true;
    QTest::newRow("integer written otherwise") << "7" << whole << 0 << " 07" << false;
    QTest::newRow("integer with a tail") << "7" << whole << 0 << "7.9" << false;
    QTest::newRow("any non-zero is true") << "1" << truth << 0 << "5" << false;
    QTest::newRow("true against false") << "1" << truth << 0 << "0" << true;
    QTest::newRow("double below the decimals") << "2.500000" << decimal << 2 << "2.504000" << false;
    QTest::newRow("double at the decimals") << "2.500000" << decimal << 2 << "2.510000" << true;
    QTest::newRow("double rounds up into the next step")
        << "2.500000" << decimal << 1 << "2.460000" << false;
    QTest::newRow("negative zero") << "0.000000" << decimal << 3 << "-0.000100" << false;
    QTest::newRow("text is never restored") << "-1" << ParameterKind::String << 0 << "3" << false;
}

void tst_Model::valuesAreComparedAsOpeningReadsThem()
{
    QFETCH(ParameterKind, kind);
    QFETCH(int, decimals);
    QFETCH(QString, windowValue);
    QFETCH(QString, fileValue);
    QFETCH(bool, differs);

    const QList<ParameterDifference> differences
        = compareParameters({{QStringLiteral("P"), kind, windowValue, decimals, {}}},
                            {{QStringLiteral("P"), fileValue}});
    QCOMPARE(differences.size(), differs ? 1 : 0);
}

void tst_Model::onlyTheFilesKnownIdsAreComparedInWindowOrder()
{
    const QList<StoredParameter> window{
        {QStringLiteral("B"), ParameterKind::Int, QStringLiteral("1"), 0, {}},
        {QStringLiteral("NotInFile"), ParameterKind::Int, QStringLiteral("9"), 0, {}},
        {QStringLiteral("A"), ParameterKind::Int, QStringLiteral("1"), 0, {}},
        {QStringLiteral("Same"), ParameterKind::Int, QStringLiteral("5"), 0, "not yet written"},
        {QStringLiteral("Unfiled"), ParameterKind::Int, QStringLiteral("5"), 0, "refused"}};
    const QList<ParameterEntry> file
        = parseParameterText(QStringLiteral("A=2;Unknown=4;B=1;B=3;Same=5;"));

    QStringList lines;
    for (const ParameterDifference &difference : compareParameters(window, file))
        lines << differenceLine(difference);
    QCOMPARE(lines, QStringList({QStringLiteral("B: file 3, sensor 1"),
                                 QStringLiteral("A: file 2, sensor 1"),
                                 QStringLiteral("Same: file 5, window 5 (not yet written)")}));
}

void tst_Model::settingsFileChecksOutWholeOrNotAtAll_data()
{
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<QByteArray>("replace"); // in the written file
    QTest::addColumn<QByteArray>("with");
    QTest::addColumn<QString>("outcome");

    // The window shows psi and °F (unit 5) unless the file brings its own units, "%units".
    const auto row = [](const char *name, const char *parameters, const char *outcome,
                        const char *replace = "", const char *with = "") {
        const auto units = [](const char *text) {
            return QString::fromUtf8(text).replace(
                QLatin1String("%units"), QLatin1String(ParameterIds::temperatureSettings));
        };
        QTest::newRow(name) << units(parameters) << QByteArray(replace) << QByteArray(with)
                            << units(outcome);
    };
    row("whole numbers at their bounds, blanks allowed",
        "PinFunctionA1=2;RemoteSwitchingOutput=0;OnDelay1= 07;",
        "unit 5: PinFunctionA1=2 [0..2], RemoteSwitchingOutput=0 [0..1], OnDelay1=7 [0..10000]");
    row("a psi point in psi, the units entry coming last",
        "ThresholdsPressure1A1=362.600000;%units=1;",
        "unit 1: ThresholdsPressure1A1=362.6 [-14.504..362.6], %units=1 [0..7]");
    row("Fahrenheit top", "%units=4;ThresholdsTemp1A1=257.000000;",
        "unit 4: %units=4 [0..7], ThresholdsTemp1A1=257 [-40..257]");
    row("without a units entry the shown units hold", "ThresholdsPressure1A1=300.000000;",
        "unit 5: ThresholdsPressure1A1=300 [-14.504..362.6]");
    row("unknown ids, texts and empty entries skipped",
        ";;Unknown=x;;=;ApplicationTag=-1;OnDelay1=5;", "unit 5: OnDelay1=5 [0..10000]");

    row("out of range in psi", "%units=1;ThresholdsPressure1A1=362.700000;",
        "OutOfRange ThresholdsPressure1A1 362.700000 -14.504..362.6");
    row("below range in Fahrenheit", "%units=4;ThresholdsTemp1A1=-40.100000;",
        "OutOfRange ThresholdsTemp1A1 -40.100000 -40..257");
    row("a Fahrenheit number in a Celsius file", "%units=0;ThresholdsTemp1A1=257.0;",
        "OutOfRange ThresholdsTemp1A1 257.0 -40..125");
    row("enumeration index past its choices", "PinFunctionA1=3;",
        "OutOfRange PinFunctionA1 3 0..2");
    row("truth value other than 0 or 1", "RemoteSwitchingOutput=2;",
        "OutOfRange RemoteSwitchingOutput 2 0..1");
    row("units outside 0..7", "%units=8;", "OutOfRange %units 8 0..7");
    row("each entry of a repeated id", "OnDelay1=5;OnDelay1=10001;",
        "OutOfRange OnDelay1 10001 0..10000");
    row("letters in a number", "OnDelay1=12x4;", "NotANumber OnDelay1");
    row("decimals in a whole number", "OnDelay1=2.5;", "NotANumber OnDelay1");
    row("no value", "PinFunctionA1;", "NotANumber PinFunctionA1");
    row("not a finite number", "ThresholdsPressure1A1=nan;", "NotANumber ThresholdsPressure1A1");

    const char *intact = "OnDelay1=5;";
    row("another sensor", intact, "ForeignFile", "KR7D-P025", "KR7D-P250");
    row("another plug-in", intact, "ForeignFile", "IoLinkKR7Dfamily", "IoLinkOther");
    row("no pluginsettings", intact, "MissingElement pluginsettings", "pluginsettings", "other");
    row("no propertytreedata", intact, "MissingElement propertytreedata", "propertytreedata",
        "other");
    row("no chartdata", intact, "MissingElement chartdata", "<chartdata ", "<other ");
    row("no chartdata1", intact, "MissingElement chartdata1", "chartdata1", "other");
    row("no root", intact, "NoRoot", "root", "rout");
    row("not XML", intact, "NotXml", "</root>", "");
}

void tst_Model::settingsFileChecksOutWholeOrNotAtAll()
{
    QFETCH(QString, parameters);
    QFETCH(QByteArray, replace);
    QFETCH(QByteArray, with);
    const QList<ParameterRule> rules{
        {QLatin1String(ParameterIds::temperatureSettings), false, 0.0, 7.0, std::nullopt},
        {QStringLiteral("PinFunctionA1"), false, 0.0, 2.0, std::nullopt},
        {QStringLiteral("RemoteSwitchingOutput"), false, 0.0, 1.0, std::nullopt},
        {QStringLiteral("OnDelay1"), false, 0.0, 10000.0, std::nullopt},
        {QStringLiteral("ThresholdsPressure1A1"), true, -1.0, 25.0, Quantity::Pressure},
        {QStringLiteral("ThresholdsTemp1A1"), true, -40.0, 125.0, Quantity::Temperature},
        // A second node with an id: the lookup finds the first.
        {QStringLiteral("OnDelay1"), false, 0.0, 0.0, std::nullopt}};
    SettingsDocument document;
    document.pluginId = QStringLiteral("IoLinkKR7Dfamily");
    document.sensorId = QStringLiteral("KR7D-P025");
    document.hasPluginSettings = true;
    document.parameterText = parameters;
    document.chartData0 = "";
    document.chartData1 = "";
    QByteArray file = writeSettingsDocument(document);
    if (!replace.isEmpty())
        file.replace(replace, with);

    const SettingsCheck check
        = checkSettings(readSettingsDocument(file), QStringLiteral("KR7D-P025"), rules, 5);
    QTEST(checkText(check), "outcome");
}

void tst_Model::rulesFollowTheDescriptionNodes()
{
    const auto property = [](const QByteArray &type, const QByteArray &id,
                             const QByteArray &extra = {}) -> QByteArray {
        return "<property><type>" + type + "</type><id>" + id
               + "</id><index>1</index><subIndex>0</subIndex><size>6</size>" + extra
               + "</property>";
    };
    const ptree nodes
        = parse("<default><c><type>category</type><id>Group</id>"
                + property("enumerator", "E",
                           "<items><a><en>a</en></a><b><en>b</en></b><c><en>c</en></c></items>")
                + property("bool", "B") + property("int", "I", "<min>-5</min><max>9</max>")
                + property("double", "analogPressure0V", "<min>-1</min><max>600</max>")
                + property("double", "ThresholdsTemp2A2", "<min>-40</min><max>125</max>")
                + property("double", "Plain", "<min>0.5</min><max>1.5</max>")
                + property("string", "Text", "<defaultvalue>x</defaultvalue>")
                + "<property><type>double</type><id>NoAddress</id>"
                + property("int", "BelowNoAddress") + "</property></c></default>");

    QStringList rules;
    for (const ParameterRule &rule : parameterRules(nodes.get_child("default"))) {
        const char *quantity = !rule.quantity                         ? ""
                               : *rule.quantity == Quantity::Pressure ? " pressure"
                                                                      : " temperature";
        rules << rule.id + (rule.decimal ? QLatin1String(" decimal ") : QLatin1String(" whole "))
                     + span(rule.minimum, rule.maximum) + QLatin1String(quantity);
    }
    QCOMPARE(rules, QStringList({"E whole 0..2", "B whole 0..1", "I whole -5..9",
                                 "analogPressure0V decimal -1..600 pressure",
                                 "ThresholdsTemp2A2 decimal -40..125 temperature",
                                 "Plain decimal 0.5..1.5"}));
}

void tst_Model::keysAreReadExactlyAsWritten_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<int>("number");

    const QByteArray integer = "int";
    const QByteArray decimals = "<min>-1.5</min><max>250.5</max><defaultvalue>7.5</defaultvalue>";
    QTest::newRow("absent keys") << integer << QByteArray() << true << true << 0.0 << 0.0 << 0;
    QTest::newRow("readonly with a blank")
        << integer << QByteArray("<readonly> false</readonly>") << false << true << 0.0 << 0.0 << 0;
    QTest::newRow("visible with a blank")
        << integer << QByteArray("<visible>true </visible>") << true << false << 0.0 << 0.0 << 0;
    QTest::newRow("int numbers")
        << integer << QByteArray("<min>-5</min><max>100</max><defaultvalue>-3</defaultvalue>")
        << true << true << -5.0 << 100.0 << -3;
    QTest::newRow("int from decimals") << integer << decimals << true << true << 0.0 << 0.0 << 0;
    QTest::newRow("double limits are decimals, the default is not")
        << QByteArray("double") << decimals << true << true << -1.5 << 250.5 << 0;
    QTest::newRow("texts that are no numbers, blanks around the default")
        << QByteArray("double")
        << QByteArray("<min>low</min><max>1e</max><defaultvalue> 2 </defaultvalue>") << true << true
        << 0.0 << 0.0 << 2;
}

void tst_Model::keysAreReadExactlyAsWritten()
{
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, keys);
    const std::optional<PropertyNode> property = readNode(node(type, keys));
    QVERIFY(property);
    QTEST(property->enabled, "enabled");
    QTEST(property->visible, "visible");
    QTEST(property->minimum, "minimum");
    QTEST(property->maximum, "maximum");
    QTEST(property->number, "number");
}

void tst_Model::captionsFallBackToEnglish_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("button");

    const QString action = QStringLiteral("action");
    QTest::newRow("caption in the user's language")
        << QByteArray("<text><en>Output</en><de>Ausgang</de></text>") << "Ausgang" << action;
    QTest::newRow("caption empty in the user's language")
        << QByteArray("<text><en>Output</en><de></de></text>") << "Output" << action;
    QTest::newRow("blank is not empty")
        << QByteArray("<text><en>Output</en><de> </de></text>") << " " << action;
    QTest::newRow("UTF-8") << QByteArray("<text><en>Water</en><de>K\xc3\xbchlwasser</de></text>")
                           << QString::fromUtf8("K\xc3\xbchlwasser") << action;
    QTest::newRow("button in the user's language")
        << QByteArray("<caption><text><en>Teach</en><de>Einlernen</de></text></caption>") << ""
        << "Einlernen";
    QTest::newRow("button empty, English given")
        << QByteArray("<caption><text><en>Teach</en><de></de></text></caption>") << ""
        << "Teach";
    QTest::newRow("button empty in both")
        << QByteArray("<caption><text><en></en><de></de></text></caption>") << ""
        << "";
    QTest::newRow("button absent in the user's language")
        << QByteArray("<caption><text><en>Teach</en></text></caption>") << "" << action;
}

void tst_Model::captionsFallBackToEnglish()
{
    QFETCH(QByteArray, keys);
    const std::optional<PropertyNode> property = readNode(node("action", keys), "de");
    QVERIFY(property);
    QTEST(property->caption, "caption");
    QTEST(property->text, "button");
}

void tst_Model::itemCaptionsFallBackItemByItem_data()
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

void tst_Model::itemCaptionsFallBackItemByItem()
{
    QFETCH(QByteArray, items);
    QFETCH(QByteArray, language);
    const ptree tree = parse("<items kind=\"units\">" + items + "</items>");
    QTEST(itemCaptions(tree.get_child("items"), language.toStdString()), "captions");
}

void tst_Model::nodesLackingWhatTheirTypeNeedsAreNotRead_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<bool>("read");

    const QByteArray address = "<index>1</index><subIndex>0</subIndex><size>6</size>";
    const QByteArray items = "<items><a><en>x</en></a></items>";
    const QByteArray editableText = "<type>string</type><readonly>false</readonly>";
    const auto xml
        = [](const QByteArray &inner) -> QByteArray { return "<node>" + inner + "</node>"; };
    QTest::newRow("no type") << xml("<id>P</id>" + address) << false;
    QTest::newRow("type names are case-sensitive") << xml("<type>Int</type>" + address) << false;
    QTest::newRow("no index") << xml("<type>int</type><subIndex>0</subIndex><size>6</size>")
                              << false;
    QTest::newRow("no size") << xml("<type>int</type><index>1</index><subIndex>0</subIndex>")
                             << false;
    QTest::newRow("enumerator without items") << xml("<type>enumerator</type>" + address) << false;
    QTest::newRow("editable text without items")
        << xml(editableText + "<defaultvalue>a</defaultvalue>" + address) << false;
    QTest::newRow("text without default") << xml(editableText + address + items) << false;
    QTest::newRow("read-only text needs no items")
        << xml("<type>string</type><defaultvalue>a</defaultvalue>" + address) << true;
    QTest::newRow("category needs no address") << xml("<type>category</type>") << true;
    QTest::newRow("empty keys are present")
        << xml("<type>bool</type><index/><subIndex/><size/>") << true;
}

void tst_Model::nodesLackingWhatTheirTypeNeedsAreNotRead()
{
    QFETCH(QByteArray, xml);
    QTEST(readNode(xml).has_value(), "read");
}

void tst_Model::textNodeKeepsItsAddressDefaultAndChoicesAsWritten()
{
    const std::optional<PropertyNode> property
        = readNode("<node><type>string</type><id>Tag</id><readonly>false</readonly>"
                   "<index> 24</index><subIndex>0</subIndex><size>6 </size>"
                   "<defaultvalue> Hydraulics </defaultvalue><items>"
                   "<a><en>Hydraulics</en><de>Hydraulik</de></a><b><en>Pneumatics</en></b>"
                   "</items></node>",
                   "de");
    QVERIFY(property);
    QCOMPARE(property->id, QStringLiteral("Tag"));
    QCOMPARE(property->address, QStringLiteral(" 24;0;6 "));
    QCOMPARE(property->text, QStringLiteral(" Hydraulics "));
    QCOMPARE(property->items, QStringList({"Hydraulik", "Pneumatics"}));
    QCOMPARE(readNode("<node><type>category</type><index>1</index></node>")->address, QString());
}

void tst_Model::rangeOfTheFirstEntryWithTheName_data()
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

void tst_Model::rangeOfTheFirstEntryWithTheName()
{
    QFETCH(QString, name);
    const ptree description = fixture("ranges.xml");
    QString range;
    QFETCH(bool, variant);
    if (variant) {
        const ptree variants
            = description.get_child("document.sensorList").front().second.get_child("sensors");
        if (const auto variant = variantRange(variants, name.toStdString()))
            range = QStringLiteral("%1/%2/%3/%4")
                        .arg(variant->max)
                        .arg(variant->min)
                        .arg(variant->divisor)
                        .arg(variant->bitsNumber);
    } else if (const auto sensor = sensorRange(description, name.toStdString())) {
        range = QStringLiteral("%1/%2/%3").arg(sensor->max).arg(sensor->min).arg(sensor->divisor);
    }
    QTEST(range, "range");
}

void tst_Model::noListOrNoCodeFindsNothing()
{
    QVERIFY(!sensorRange(fixture("nolist.xml"), "KR7D-250"));
    QCOMPARE(variantCode(QStringLiteral("KR7DA10")), QStringLiteral("A10"));
    QCOMPARE(variantCode(QStringLiteral("KR7DA1")), QString());
}

void tst_Model::depthIsNeverBelowTheReadersDepth_data()
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

void tst_Model::depthIsNeverBelowTheReadersDepth()
{
    QFETCH(QByteArray, text);
    QTEST(xmlNestingDepth(text.toStdString()), "depth");
}

QTEST_GUILESS_MAIN(tst_Model)
#include "tst_model.moc"
