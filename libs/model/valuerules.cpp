#include "valuerules.h"

#include "parameterids.h"

#include <QString>

#include <array>
#include <cmath>
#include <optional>

namespace BravoSensorPlugin {
namespace Core {

namespace {

constexpr std::array<double, 4> fromBar = {1.0, barToPsi, 0.1, 100.0};
constexpr std::array<double, 4> toBar = {1.0, psiToBar, 10.0, 0.01};

const QLatin1String temperatureSettingsId(ParameterIds::temperatureSettings);
// The device's unit selection skips 4..31: the °F indexes 4..7 are stored as 32..35.
constexpr int fahrenheitGap = 0x1C;

// The scales with a decimal count of their own; every other scale is "fine" (3 decimals shown).
std::optional<int> plainScaleDecimals(double divisor)
{
    if (divisor == 1.0)
        return 0;
    if (divisor == 10.0)
        return 1;
    if (divisor == 100.0)
        return 2;
    return std::nullopt;
}

// The value written with fixed decimals and read back without its point; 0 when that overflows.
int fixedPointDigits(double value, int decimals)
{
    return QString::number(value, 'f', decimals).remove(QLatin1Char('.')).toInt();
}

} // namespace

bool isUnitIndex(int unitIndex)
{
    return unitIndex >= 0 && unitIndex <= 7;
}

int pressureUnit(int unitIndex)
{
    return unitIndex % 4;
}

bool isFahrenheit(int unitIndex)
{
    return unitIndex > 3;
}

QString pressureUnitLabel(int unitIndex)
{
    if (!isUnitIndex(unitIndex))
        return {};
    static const std::array<QString, 4> labels
        = {QStringLiteral(" (bar)"), QStringLiteral(" (psi)"), QStringLiteral(" (MPa)"),
           QStringLiteral(" (kPa)")};
    return labels[pressureUnit(unitIndex)];
}

QString temperatureUnitLabel(int unitIndex)
{
    if (!isUnitIndex(unitIndex))
        return {};
    return isFahrenheit(unitIndex) ? QStringLiteral(" (\u00B0F)") : QStringLiteral(" (\u00B0C)");
}

double pressureUnitFactor(int unitIndex)
{
    return isUnitIndex(unitIndex) ? fromBar[pressureUnit(unitIndex)] : 0.0;
}

double roundToThreeDecimals(double value)
{
    return QString::number(value, 'f', 3).toDouble();
}

double convertPressure(int unitIndex, bool toUnit, double value)
{
    if (!isUnitIndex(unitIndex))
        return 0.0;
    const auto &factors = toUnit ? fromBar : toBar;
    return roundToThreeDecimals(value * factors[pressureUnit(unitIndex)]);
}

double convertTemperature(int unitIndex, double value)
{
    if (!isUnitIndex(unitIndex))
        return 0.0;
    const double converted
        = isFahrenheit(unitIndex) ? value * 1.8 + 32.0 : (value - 32.0) * 0.5555555555555556;
    return roundToThreeDecimals(converted);
}

int pressureDecimals(double divisor)
{
    return plainScaleDecimals(divisor).value_or(3);
}

double usableDivisor(double candidate, double previous)
{
    // A missing or non-numeric scale in the description reads as 0; dividing by it would turn
    // every pressure into inf or nan, so the scale in force stays.
    return candidate != 0.0 && std::isfinite(candidate) ? candidate : previous;
}

bool isPressureId(const QString &id)
{
    return id.contains(QLatin1String("Pressure"));
}

double decodeDeviceDouble(const QString &id, int deviceNumber, double divisor)
{
    return isPressureId(id) ? deviceNumber / divisor : deviceNumber * 0.01;
}

int encodeDeviceDouble(const QString &id, double value, double divisor)
{
    // Temperatures always travel as 1/100 °C, matching their decoding under every pressure scale;
    // only pressures follow the scale (the fine scales write 2 decimals, then one more digit).
    if (!isPressureId(id))
        return fixedPointDigits(value, 2);
    const std::optional<int> decimals = plainScaleDecimals(divisor);
    return decimals ? fixedPointDigits(value, *decimals) : fixedPointDigits(value, 2) * 10;
}

int decodeEnumerationValue(const QString &id, int deviceNumber)
{
    if (id == temperatureSettingsId && deviceNumber > 0x1F)
        return deviceNumber - fahrenheitGap;
    if (id == QLatin1String("DataStorageLock") && deviceNumber == 2)
        return 1;
    return deviceNumber;
}

int encodeEnumerationValue(const QString &id, int shownValue)
{
    if (id == temperatureSettingsId && shownValue > 3)
        return shownValue + fahrenheitGap;
    return shownValue;
}

} // namespace Core
} // namespace BravoSensorPlugin
