#pragma once

class QString;

// Rules between the sensor's whole numbers (bar, degrees Celsius) and the values the user sees.
namespace BravoSensorPlugin {
namespace Core {

// psi -> bar; bar -> psi uses the sensor's own 14.504, so the two are not exact inverses.
constexpr double psiToBar = 0.06894649751792609;
constexpr double barToPsi = 14.504;

// Unit index 0..7 = pressure unit (0 bar, 1 psi, 2 MPa, 3 kPa) + 4 x temperature unit (0 °C, 1 °F).
bool isUnitIndex(int unitIndex);
int pressureUnit(int unitIndex);
bool isFahrenheit(int unitIndex);
// " (bar)", " (psi)", " (MPa)", " (kPa)" / " (°C)", " (°F)"; empty outside 0..7.
QString pressureUnitLabel(int unitIndex);
QString temperatureUnitLabel(int unitIndex);
// Factor from bar into the index's pressure unit; 0 outside 0..7.
double pressureUnitFactor(int unitIndex);

// Rounds by formatting with 3 fixed decimals and reading the text back.
double roundToThreeDecimals(double value);
// toUnit: bar -> the index's unit, otherwise back into bar. 0 outside 0..7.
double convertPressure(int unitIndex, bool toUnit, double value);
// Into the index's temperature unit from the other one. 0 outside 0..7.
double convertTemperature(int unitIndex, double value);

// Decimals shown for a pressure scale: 1 -> 0, 10 -> 1, 100 -> 2, anything else 3.
int pressureDecimals(double divisor);
// The scale to use when the description offers `candidate`: keeps `previous` for 0 or non-finite.
double usableDivisor(double candidate, double previous);

// Pressure parameters are the ids containing "Pressure" (case-sensitive).
bool isPressureId(const QString &id);
// Device number -> displayed double (bar or °C).
double decodeDeviceDouble(const QString &id, int deviceNumber, double divisor);
// Displayed double (already in bar or °C) -> device number.
int encodeDeviceDouble(const QString &id, double value, double divisor);

// Enumeration and whole-number parameters: device number <-> shown index.
int decodeEnumerationValue(const QString &id, int deviceNumber);
int encodeEnumerationValue(const QString &id, int shownValue);

} // namespace Core
} // namespace BravoSensorPlugin
