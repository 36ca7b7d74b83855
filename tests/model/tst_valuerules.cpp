#include <model/valuerules.h>

#include <QtTest>

#include <cmath>
#include <limits>

using namespace BravoSensorPlugin::Core;

class tst_ValueRules : public QObject
{
    Q_OBJECT

private slots:
    void convertPressureFollowsUnitAndDirection_data();
    void convertPressureFollowsUnitAndDirection();
    void convertTemperatureTowardsIndexUnit_data();
    void convertTemperatureTowardsIndexUnit();
    void unitChangeRoundTripsThroughBar_data();
    void unitChangeRoundTripsThroughBar();
    void roundingGoesThroughThreeDecimalText_data();
    void roundingGoesThroughThreeDecimalText();
    void unitIndexSplitsIntoPressureAndTemperature_data();
    void unitIndexSplitsIntoPressureAndTemperature();
    void pressureDecimalsFollowScale_data();
    void pressureDecimalsFollowScale();
    void usableDivisorNeverTakesZero_data();
    void usableDivisorNeverTakesZero();
    void decodeDeviceDoubleByIdAndScale_data();
    void decodeDeviceDoubleByIdAndScale();
    void encodeDeviceDoubleByIdAndScale_data();
    void encodeDeviceDoubleByIdAndScale();
    void temperaturesRoundTripUnderEveryScale_data();
    void temperaturesRoundTripUnderEveryScale();
    void enumerationExceptions_data();
    void enumerationExceptions();
};

void tst_ValueRules::convertPressureFollowsUnitAndDirection_data()
{
    QTest::addColumn<int>("unitIndex");
    QTest::addColumn<bool>("toUnit");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");

    QTest::newRow("bar stays bar") << 0 << true << 2.5 << 2.5;
    QTest::newRow("bar to psi") << 5 << true << 1.0 << 14.504;
    QTest::newRow("bar to MPa") << 6 << true << 2.5 << 0.25;
    QTest::newRow("bar to kPa") << 3 << true << 2.5 << 250.0;
    QTest::newRow("Fahrenheit bar stays bar") << 4 << false << 7.125 << 7.125;
    QTest::newRow("psi back to bar, rounded") << 5 << false << 14.504 << 1.0;
    QTest::newRow("MPa back to bar") << 2 << false << 0.25 << 2.5;
    QTest::newRow("kPa back to bar") << 7 << false << 250.0 << 2.5;
    QTest::newRow("index below range") << -1 << true << 2.5 << 0.0;
    QTest::newRow("index above range") << 8 << false << 2.5 << 0.0;
}

void tst_ValueRules::convertPressureFollowsUnitAndDirection()
{
    QFETCH(int, unitIndex);
    QFETCH(bool, toUnit);
    QFETCH(double, value);
    QTEST(convertPressure(unitIndex, toUnit, value), "expected");
}

void tst_ValueRules::convertTemperatureTowardsIndexUnit_data()
{
    QTest::addColumn<int>("unitIndex");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");

    QTest::newRow("boiling point to Fahrenheit") << 4 << 100.0 << 212.0;
    QTest::newRow("50 C to Fahrenheit with psi") << 5 << 50.0 << 122.0;
    QTest::newRow("freezing to Fahrenheit with kPa") << 7 << 0.0 << 32.0;
    QTest::newRow("-40 is the same in both") << 2 << -40.0 << -40.0;
    QTest::newRow("Celsius result rounded to 3 decimals") << 3 << 100.0 << 37.778;
    QTest::newRow("index below range") << -1 << 100.0 << 0.0;
    QTest::newRow("index above range") << 8 << 100.0 << 0.0;
}

void tst_ValueRules::convertTemperatureTowardsIndexUnit()
{
    QFETCH(int, unitIndex);
    QFETCH(double, value);
    QTEST(convertTemperature(unitIndex, value), "expected");
}

void tst_ValueRules::unitChangeRoundTripsThroughBar_data()
{
    QTest::addColumn<int>("oldIndex");
    QTest::addColumn<int>("newIndex");
    QTest::addColumn<double>("oldValue");
    QTest::addColumn<double>("expected");

    QTest::newRow("bar to psi") << 0 << 5 << 2.5 << 36.26;
    QTest::newRow("psi to MPa") << 5 << 6 << 36.26 << 0.25;
    QTest::newRow("MPa to kPa") << 6 << 3 << 0.25 << 250.0;
    QTest::newRow("kPa to bar") << 3 << 0 << 250.0 << 2.5;
}

void tst_ValueRules::unitChangeRoundTripsThroughBar()
{
    QFETCH(int, oldIndex);
    QFETCH(int, newIndex);
    QFETCH(double, oldValue);
    const double bar = convertPressure(oldIndex, false, oldValue);
    QTEST(convertPressure(newIndex, true, bar), "expected");
}

void tst_ValueRules::roundingGoesThroughThreeDecimalText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");

    QTest::newRow("third decimal rounds up") << 4.8346666 << 4.835;
    QTest::newRow("third decimal rounds down") << 4.8344 << 4.834;
    QTest::newRow("negative") << -0.0004 << 0.0;
}

void tst_ValueRules::roundingGoesThroughThreeDecimalText()
{
    QFETCH(double, value);
    QTEST(roundToThreeDecimals(value), "expected");
}

void tst_ValueRules::unitIndexSplitsIntoPressureAndTemperature_data()
{
    QTest::addColumn<int>("unitIndex");
    QTest::addColumn<QString>("pressureLabel");
    QTest::addColumn<QString>("temperatureLabel");
    QTest::addColumn<double>("factor");

    const QString celsius = QStringLiteral(" (\u00B0C)");
    const QString fahrenheit = QStringLiteral(" (\u00B0F)");
    QTest::newRow("bar, C") << 0 << QStringLiteral(" (bar)") << celsius << 1.0;
    QTest::newRow("kPa, C") << 3 << QStringLiteral(" (kPa)") << celsius << 100.0;
    QTest::newRow("psi, F") << 5 << QStringLiteral(" (psi)") << fahrenheit << 14.504;
    QTest::newRow("MPa, F") << 6 << QStringLiteral(" (MPa)") << fahrenheit << 0.1;
    QTest::newRow("below range") << -1 << QString() << QString() << 0.0;
    QTest::newRow("above range") << 8 << QString() << QString() << 0.0;
}

void tst_ValueRules::unitIndexSplitsIntoPressureAndTemperature()
{
    QFETCH(int, unitIndex);
    QFETCH(QString, pressureLabel);
    QFETCH(QString, temperatureLabel);
    QCOMPARE(isUnitIndex(unitIndex), !pressureLabel.isEmpty());
    QCOMPARE(pressureUnitLabel(unitIndex), pressureLabel);
    QCOMPARE(temperatureUnitLabel(unitIndex), temperatureLabel);
    QTEST(pressureUnitFactor(unitIndex), "factor");
    if (isUnitIndex(unitIndex)) {
        QCOMPARE(isFahrenheit(unitIndex), temperatureLabel.contains(QLatin1Char('F')));
        QCOMPARE(pressureUnitLabel(pressureUnit(unitIndex)), pressureLabel);
    }
}

void tst_ValueRules::pressureDecimalsFollowScale_data()
{
    QTest::addColumn<double>("divisor");
    QTest::addColumn<int>("decimals");

    QTest::newRow("whole bar") << 1.0 << 0;
    QTest::newRow("tenths") << 10.0 << 1;
    QTest::newRow("hundredths") << 100.0 << 2;
    QTest::newRow("thousandths") << 1000.0 << 3;
    QTest::newRow("unusual scale") << 50.0 << 3;
    QTest::newRow("fractional scale") << 0.5 << 3;
}

void tst_ValueRules::pressureDecimalsFollowScale()
{
    QFETCH(double, divisor);
    QTEST(pressureDecimals(divisor), "decimals");
}

void tst_ValueRules::usableDivisorNeverTakesZero_data()
{
    QTest::addColumn<double>("candidate");
    QTest::addColumn<double>("previous");
    QTest::addColumn<double>("expected");

    QTest::newRow("new scale taken") << 10.0 << 1000.0 << 10.0;
    QTest::newRow("zero keeps previous") << 0.0 << 100.0 << 100.0;
    QTest::newRow("infinity keeps previous")
        << std::numeric_limits<double>::infinity() << 100.0 << 100.0;
    QTest::newRow("nan keeps previous")
        << std::numeric_limits<double>::quiet_NaN() << 1000.0 << 1000.0;
}

void tst_ValueRules::usableDivisorNeverTakesZero()
{
    QFETCH(double, candidate);
    QFETCH(double, previous);
    const double divisor = usableDivisor(candidate, previous);
    QTEST(divisor, "expected");
    QVERIFY(
        std::isfinite(decodeDeviceDouble(QStringLiteral("ThresholdsPressure1A1"), 150, divisor)));
}

void tst_ValueRules::decodeDeviceDoubleByIdAndScale_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<int>("deviceNumber");
    QTest::addColumn<double>("divisor");
    QTest::addColumn<double>("expected");

    QTest::newRow("pressure, thousandths") << "analogPressure10V" << 12350 << 1000.0 << 12.35;
    QTest::newRow("pressure, whole bar") << "ThresholdsPressure2A2" << 13 << 1.0 << 13.0;
    QTest::newRow("temperature ignores scale") << "ThresholdsTemp1A1" << 2550 << 1.0 << 25.5;
    QTest::newRow("temperature, negative") << "analogTemp0V" << -4000 << 1000.0 << -40.0;
    QTest::newRow("lower-case pressure is no pressure") << "lowpressure" << 250 << 10.0 << 2.5;
}

void tst_ValueRules::decodeDeviceDoubleByIdAndScale()
{
    QFETCH(QString, id);
    QFETCH(int, deviceNumber);
    QFETCH(double, divisor);
    QTEST(decodeDeviceDouble(id, deviceNumber, divisor), "expected");
}

void tst_ValueRules::encodeDeviceDoubleByIdAndScale_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("divisor");
    QTest::addColumn<int>("expected");

    QTest::newRow("pressure, hundredths, rounded")
        << "ThresholdsPressure1A1" << 2.346 << 100.0 << 235;
    QTest::newRow("pressure, whole bar, rounded") << "ThresholdsPressure2A1" << 12.6 << 1.0 << 13;
    QTest::newRow("pressure, tenths") << "analogPressure0V" << 62.5 << 10.0 << 625;
    QTest::newRow("pressure, thousandths") << "analogPressure10V" << 12.3456 << 1000.0 << 12350;
    QTest::newRow("pressure, negative below one")
        << "ThresholdsPressure2A2" << -0.5 << 100.0 << -50;
    QTest::newRow("temperature, thousandths scale")
        << "ThresholdsTemp1A1" << 25.5 << 1000.0 << 2550;
    QTest::newRow("temperature, negative") << "analogTemp0V" << -40.0 << 100.0 << -4000;
}

void tst_ValueRules::encodeDeviceDoubleByIdAndScale()
{
    QFETCH(QString, id);
    QFETCH(double, value);
    QFETCH(double, divisor);
    QTEST(encodeDeviceDouble(id, value, divisor), "expected");
}

void tst_ValueRules::temperaturesRoundTripUnderEveryScale_data()
{
    QTest::addColumn<double>("divisor");
    QTest::newRow("whole bar") << 1.0;
    QTest::newRow("tenths") << 10.0;
    QTest::newRow("hundredths") << 100.0;
    QTest::newRow("thousandths") << 1000.0;
}

void tst_ValueRules::temperaturesRoundTripUnderEveryScale()
{
    QFETCH(double, divisor);
    const QString id = QStringLiteral("ThresholdsTemp2A1");
    for (const double celsius : {-40.0, -0.25, 0.0, 21.37, 85.5, 120.0}) {
        const int number = encodeDeviceDouble(id, celsius, divisor);
        QCOMPARE(decodeDeviceDouble(id, number, divisor), celsius);
    }
}

void tst_ValueRules::enumerationExceptions_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<int>("deviceNumber");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("written");

    QTest::newRow("unit psi and F") << "TemperatureSettings" << 33 << 5 << 33;
    QTest::newRow("unit bar and F") << "TemperatureSettings" << 32 << 4 << 32;
    QTest::newRow("unit kPa and C") << "TemperatureSettings" << 3 << 3 << 3;
    QTest::newRow("storage lock 2 shows as locked") << "DataStorageLock" << 2 << 1 << 1;
    QTest::newRow("other enumeration unchanged") << "PinFunctionA2" << 33 << 33 << 33;
}

void tst_ValueRules::enumerationExceptions()
{
    QFETCH(QString, id);
    QFETCH(int, deviceNumber);
    QFETCH(int, shown);
    QCOMPARE(decodeEnumerationValue(id, deviceNumber), shown);
    QTEST(encodeEnumerationValue(id, shown), "written");
}

QTEST_GUILESS_MAIN(tst_ValueRules)
#include "tst_valuerules.moc"
