#include <model/outputconfig.h>
#include <model/settingscompare.h>
#include <model/settingsdocument.h>
#include <model/valuerules.h>

#include <QtTest>

#include <limits>

using namespace BravoSensorPlugin::Core;

Q_DECLARE_METATYPE(StoredValueKind)

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

} // namespace

class tst_Rules : public QObject
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

    void valuesAreComparedAsOpeningReadsThem_data();
    void valuesAreComparedAsOpeningReadsThem();
    void onlyTheFilesKnownIdsAreComparedInWindowOrder();
};

void tst_Rules::unitChangesRoundToThreeDecimals_data()
{
    QTest::addColumn<bool>("pressure");
    QTest::addColumn<int>("oldIndex"); // pressures go through bar
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
    QTest::newRow("temperature to an index above range") << false << 0 << 8 << 100.0 << 0.0;
}

void tst_Rules::unitChangesRoundToThreeDecimals()
{
    QFETCH(bool, pressure);
    QFETCH(int, oldIndex);
    QFETCH(int, newIndex);
    QFETCH(double, oldValue);
    QTEST(pressure ? convertPressure(newIndex, true, convertPressure(oldIndex, false, oldValue))
                   : convertTemperature(newIndex, oldValue),
          "expected");
}

void tst_Rules::deviceNumbersFollowIdAndScale_data()
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

void tst_Rules::deviceNumbersFollowIdAndScale()
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

void tst_Rules::enumerationExceptions_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<int>("deviceNumber");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("written");

    QTest::newRow("unit bar and F") << "TemperatureSettings" << 32 << 4 << 32;
    QTest::newRow("unit kPa and C") << "TemperatureSettings" << 3 << 3 << 3;
    QTest::newRow("storage lock 2 shows as locked") << "DataStorageLock" << 2 << 1 << 1;
    QTest::newRow("other enumeration unchanged") << "PinFunctionA2" << 33 << 33 << 33;
}

void tst_Rules::enumerationExceptions()
{
    QFETCH(QString, id);
    QFETCH(int, deviceNumber);
    QFETCH(int, shown);
    QCOMPARE(decodeEnumerationValue(id, deviceNumber), shown);
    QTEST(encodeEnumerationValue(id, shown), "written");
}

void tst_Rules::outputDecisionTable_data()
{
    QTest::addColumn<int>("a1");
    QTest::addColumn<int>("a2");
    QTest::addColumn<int>("analogMode");
    QTest::addColumn<int>("unitIndex");
    QTest::addColumn<int>("combo");
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

    QTest::newRow("A1 pressure, A2 analog pressure in mA")
        << 1 << 3 << 1 << 0 << 0
        << QStringList{"SettingsPointsPressureA1", "AnalogPointsPressure", "AnalogMode"} << p1
        << none << "0:analogPressure0V/analogPressure10V:4..20" << false << false
        << QStringLiteral("-1..10|120| (bar) (\u00B0C)|-40..120");
    QTest::newRow("A1 temperature, A2 analog temperature in volt, psi and Fahrenheit")
        << 0 << 2 << 0 << 5 << 0
        << QStringList{"SettingsPointsTemperatureA1", "AnalogPointsTemperature", "AnalogMode"}
        << none << t1 << "1:analogTemp0V/analogTemp10V:0..10" << false << false
        << QStringLiteral("-14.504..145.04|257| (psi) (\u00B0F)|-40..257");
    QTest::newRow("both on pressure, output 1 chosen")
        << 1 << 1 << 0 << 2 << 0 << bothPressure << p1 << none << none << true << true
        << QStringLiteral("-0.1..1|120| (MPa) (\u00B0C)|-40..120");
    QTest::newRow("both on pressure, output 2 chosen")
        << 1 << 1 << 0 << 3 << 1 << bothPressure << p2 << none << none << true << true
        << QStringLiteral("-100..1000|120| (kPa) (\u00B0C)|-100..1000");
    QTest::newRow("A1 temperature, A2 pressure: one output per plot")
        << 0 << 1 << 0 << 7 << 1
        << QStringList{"SettingsPointsTemperatureA1", "SettingsPointsPressureA2"} + a2Switching
        << p2 << t1 << none << false << true
        << QStringLiteral("-100..1000|257| (kPa) (\u00B0F)|-100..1000");
    QTest::newRow("A1 off, A2 remote switching")
        << 2 << 4 << 0 << 1 << 0 << QStringList{"RemoteSwitchingOutput"} << none << none << none
        << false << false << QStringLiteral("-14.504..145.04|120| (psi) (\u00B0C)|-40..257");
    QTest::newRow("A2 remote analog")
        << 1 << 5 << 1 << 6 << 0
        << QStringList{"SettingsPointsPressureA1", "remoteAnalogValue", "AnalogMode"} << p1 << none
        << none << false << false << QStringLiteral("-0.1..1|257| (MPa) (\u00B0F)|-40..257");
    QTest::newRow("unknown functions and units change nothing")
        << 7 << 9 << 0 << 8 << 0 << QStringList{} << none << none << none << false << true << none;
}

void tst_Rules::outputDecisionTable()
{
    QFETCH(int, analogMode);
    QFETCH(QStringList, shown);
    QFETCH(int, a1);
    QFETCH(int, a2);
    QFETCH(int, unitIndex);
    QFETCH(int, combo);
    const OutputConfig config = outputConfig({a1, a2, analogMode, unitIndex, combo, -1.0, 10.0});

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

void tst_Rules::droppedMarkEditsTheShownOutputsPoints_data()
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

void tst_Rules::droppedMarkEditsTheShownOutputsPoints()
{
    QFETCH(int, plot);
    QFETCH(unsigned int, mark);
    QFETCH(bool, toolBar);
    QFETCH(int, output);
    QFETCH(QStringList, shownGroups);
    QTEST(markTargets(plot, mark, toolBar, output, shownGroups), "targets");
}

void tst_Rules::valuesAreComparedAsOpeningReadsThem_data()
{
    QTest::addColumn<QString>("windowValue");
    QTest::addColumn<StoredValueKind>("kind");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("fileValue");
    QTest::addColumn<bool>("differs");

    const auto whole = StoredValueKind::Whole;
    const auto truth = StoredValueKind::Truth;
    const auto decimal = StoredValueKind::Decimal;
    QTest::newRow("other index") << "2" << whole << 0 << "1" << true;
    QTest::newRow("integer written otherwise") << "7" << whole << 0 << " 07" << false;
    QTest::newRow("integer with a tail") << "7" << whole << 0 << "7.9" << false;
    QTest::newRow("any non-zero is true") << "1" << truth << 0 << "5" << false;
    QTest::newRow("true against false") << "1" << truth << 0 << "0" << true;
    QTest::newRow("double below the decimals") << "2.500000" << decimal << 2 << "2.504000" << false;
    QTest::newRow("double at the decimals") << "2.500000" << decimal << 2 << "2.510000" << true;
    QTest::newRow("double rounds up into the next step")
        << "2.500000" << decimal << 1 << "2.460000" << false;
    QTest::newRow("negative zero") << "0.000000" << decimal << 3 << "-0.000100" << false;
    QTest::newRow("text is never restored")
        << "-1" << StoredValueKind::NotRestored << 0 << "3" << false;
}

void tst_Rules::valuesAreComparedAsOpeningReadsThem()
{
    QFETCH(StoredValueKind, kind);
    QFETCH(int, decimals);
    QFETCH(QString, windowValue);
    QFETCH(QString, fileValue);
    QFETCH(bool, differs);

    const QList<ParameterDifference> differences = compareParameters(
        {{QStringLiteral("P"), kind, windowValue, decimals}}, {{QStringLiteral("P"), fileValue}});
    QCOMPARE(differences.size(), differs ? 1 : 0);
    if (differs) {
        QCOMPARE(differenceLine(differences.first()),
                 QStringLiteral("P: file %1, sensor %2").arg(fileValue, windowValue));
    }
}

void tst_Rules::onlyTheFilesKnownIdsAreComparedInWindowOrder()
{
    const QList<StoredParameter> window{
        {QStringLiteral("B"), StoredValueKind::Whole, QStringLiteral("1"), 0},
        {QStringLiteral("NotInFile"), StoredValueKind::Whole, QStringLiteral("9"), 0},
        {QStringLiteral("A"), StoredValueKind::Whole, QStringLiteral("1"), 0}};
    const QList<ParameterEntry> file = parseParameterText(QStringLiteral("A=2;Unknown=4;B=1;B=3;"));

    QStringList lines;
    for (const ParameterDifference &difference : compareParameters(window, file))
        lines << differenceLine(difference);
    QCOMPARE(lines, QStringList({QStringLiteral("B: file 3, sensor 1"),
                                 QStringLiteral("A: file 2, sensor 1")}));
}

QTEST_GUILESS_MAIN(tst_Rules)
#include "tst_rules.moc"
