#pragma once

#include <QString>

#include <optional>

// The words of the sensor description that code names: parameter ids, pin-function codes and
// the measured quantities. Shared by the plug-in and the simulated master.
namespace BravoSensorPlugin {
namespace Core {

// The measured quantities; also the chart's plot numbers.
enum class Quantity { Pressure = 0, Temperature = 1 };

// The codes of a pin-function parameter; output A1 offers the two switching ones only.
enum class PinFunction {
    SwitchingTemperature = 0,
    SwitchingPressure = 1,
    AnalogTemperature = 2,
    AnalogPressure = 3,
    RemoteSwitching = 4,
    RemoteAnalog = 5,
};

// The quantity an output switches on for a pin-function code; nothing for any other function.
std::optional<Quantity> switchingQuantity(int pinFunction);

namespace ParameterIds {

constexpr char temperatureSettings[] = "TemperatureSettings"; // the unit selection
constexpr char pinFunctionA1[] = "PinFunctionA1";
constexpr char pinFunctionA2[] = "PinFunctionA2";
constexpr char analogMode[] = "AnalogMode";
constexpr char remoteSwitchingOutput[] = "RemoteSwitchingOutput";
constexpr char remoteAnalogValue[] = "remoteAnalogValue";

// Status tip of a text property that no pass ever enables.
constexpr char readOnlyMarker[] = "readOnly";

// "ThresholdsPressure1A1": point 1 is the lower mark's, point 2 the upper one's; output 1 or 2.
QString switchingPoint(Quantity quantity, int output, int point);
// "SettingsPointsTemperatureA2": the group of an output's switching points.
QString switchingGroup(Quantity quantity, int output);
// "analogPressure0V" or, for the high end, "analogPressure10V".
QString analogPoint(Quantity quantity, bool high);
// "AnalogPointsPressure": the group of a quantity's analog points.
QString analogGroup(Quantity quantity);
// "OnDelay2", "OffDelay2", "NONCA2" of output 1 or 2.
QString onDelay(int output);
QString offDelay(int output);
QString normallyClosed(int output);

} // namespace ParameterIds
} // namespace Core
} // namespace BravoSensorPlugin
