#pragma once

#include <model/parameterkind.h>

#include <QVariant>

#include <optional>

class QByteArray;
class QtAbstractPropertyManager;
class QtProperty;

// What the window does with a property by the storage of its kind: what it holds, how an answer
// of the sensor sets it, which number a write sends and how a settings file stores it.
namespace BravoSensorPlugin {
namespace Core {

struct CheckedValue;
struct PropertyNode;

// Marks the manager as the one that holds the properties of the kind.
void setManagerKind(QtAbstractPropertyManager *manager, ParameterKind kind);
// The kind of the manager that owns the property; Category for none or an unmarked manager.
ParameterKind propertyKind(const QtProperty *property);
inline ValueStorage propertyStorage(const QtProperty *property)
{
    return storageOf(propertyKind(property));
}

// A property of the node in the manager of the node's kind, with its value and limits set.
QtProperty *addNodeProperty(QtAbstractPropertyManager *manager, const PropertyNode &node);

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
// property is the unit selection.
std::optional<int> applyAnswer(QtProperty *property, const QByteArray &answer,
                               const AnswerDecoding &decoding);

// The value as a settings file writes it: a text as the position of its choice among
// `textChoices` (-1 for a free text). Nothing for a kind that holds no value.
std::optional<QString> settingsText(const QtProperty *property, const QStringList &textChoices);
// Sets the property to a checked value of a settings file; texts and buttons stay as they are.
void applySettingsValue(QtProperty *property, const CheckedValue &value);

} // namespace Core
} // namespace BravoSensorPlugin
