#pragma once

#include <QVariant>

#include <optional>

class QByteArray;
class QtProperty;

// Device values of properties in both directions, chosen by the manager that owns the property.
namespace BravoSensorPlugin {
namespace Core {

enum class PropertyKind { Bool, Int, Double, String, Enumeration, Other };

PropertyKind propertyKind(const QtProperty *property);

// The value of a bool, int, double or enumeration property; an invalid variant for the others.
QVariant numericValue(const QtProperty *property);

// The whole number the device stores for a value of the property (doubles already in bar or °C).
// Text and button properties send 1 while edits are forwarded, 0 otherwise.
int deviceNumber(const QtProperty *property, const QVariant &value, double pressureDivisor,
                 bool editForwarding);

struct AnswerDecoding
{
    double pressureDivisor = 1000.0;
    bool decodeText = false; // text properties are left alone otherwise
};

// Sets the property from the answer of a result fetch. Returns the selected index when the
// property is "TemperatureSettings".
std::optional<int> applyAnswer(QtProperty *property, const QByteArray &answer,
                               const AnswerDecoding &decoding);

} // namespace Core
} // namespace BravoSensorPlugin
