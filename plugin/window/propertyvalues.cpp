#include "propertyvalues.h"

#include <comm/answers.h>
#include <model/parameterids.h>
#include <model/settingscheck.h>
#include <model/valuerules.h>

#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qtpropertymanager.h>
#include <utils/buttonmanager.h>

#include <algorithm>

namespace BravoSensorPlugin {
namespace Core {

namespace {

template <class Manager>
Manager *managerOf(const QtProperty *property)
{
    return static_cast<Manager *>(property->propertyManager());
}

void setPressure(QtProperty *property, double value, double divisor)
{
    auto *doubles = managerOf<QtDoublePropertyManager>(property);
    // Widened first, so that no value the device reports is clamped away, not even one below
    // vacuum.
    doubles->setMinimum(property, std::min(-1.0, value));
    doubles->setMaximum(property, 10000000.0);
    doubles->setValue(property, value);
    doubles->setDecimals(property, pressureDecimals(divisor));
}

bool isManagerOf(ParameterKind kind, const QtAbstractPropertyManager *manager)
{
    switch (kind) {
    case ParameterKind::Category:
        return qobject_cast<const QtGroupPropertyManager *>(manager);
    case ParameterKind::Enumerator:
        return qobject_cast<const QtEnumPropertyManager *>(manager);
    case ParameterKind::Int:
        return qobject_cast<const QtIntPropertyManager *>(manager);
    case ParameterKind::Double:
        return qobject_cast<const QtDoublePropertyManager *>(manager);
    case ParameterKind::Bool:
        return qobject_cast<const QtBoolPropertyManager *>(manager);
    case ParameterKind::Action:
        return qobject_cast<const Utils::ButtonManager *>(manager);
    case ParameterKind::String:
        return qobject_cast<const QtStringPropertyManager *>(manager);
    }
    return false;
}

} // namespace

ParameterKind propertyKind(const QtProperty *property)
{
    const QtAbstractPropertyManager *manager = property ? property->propertyManager() : nullptr;
    for (const ParameterKind kind : allParameterKinds) {
        if (manager && isManagerOf(kind, manager))
            return kind;
    }
    return ParameterKind::Category;
}

QVariant numericValue(const QtProperty *property)
{
    switch (propertyKind(property)) {
    case ParameterKind::Bool:
        return managerOf<QtBoolPropertyManager>(property)->value(property);
    case ParameterKind::Int:
        return managerOf<QtIntPropertyManager>(property)->value(property);
    case ParameterKind::Double:
        return managerOf<QtDoublePropertyManager>(property)->value(property);
    case ParameterKind::Enumerator:
        return managerOf<QtEnumPropertyManager>(property)->value(property);
    case ParameterKind::Category:
    case ParameterKind::Action:
    case ParameterKind::String:
        break;
    }
    return QVariant();
}

int deviceNumber(const QtProperty *property, const QVariant &value, double pressureDivisor,
                 bool editForwarding)
{
    switch (propertyKind(property)) {
    case ParameterKind::Bool:
    case ParameterKind::Int:
    case ParameterKind::Enumerator:
        return encodeEnumerationValue(property->propertyId(), value.toInt());
    case ParameterKind::Double:
        return encodeDeviceDouble(property->propertyId(), value.toDouble(), pressureDivisor);
    case ParameterKind::Category:
    case ParameterKind::Action:
    case ParameterKind::String:
        break;
    }
    return editForwarding ? 1 : 0;
}

std::optional<int> applyAnswer(QtProperty *property, const QByteArray &answer,
                               const AnswerDecoding &decoding)
{
    const QString id = property->propertyId();
    switch (propertyKind(property)) {
    case ParameterKind::Bool:
        managerOf<QtBoolPropertyManager>(property)->setValue(property, boolValue(answer), QString(),
                                                             QString());
        break;
    case ParameterKind::Int:
        managerOf<QtIntPropertyManager>(property)->setValue(property, tailValue(answer));
        break;
    case ParameterKind::Double: {
        const double value
            = decodeDeviceDouble(id, signedTailValue(answer), decoding.pressureDivisor);
        if (isPressureId(id))
            setPressure(property, value, decoding.pressureDivisor);
        else
            managerOf<QtDoublePropertyManager>(property)->setValue(property, value);
        break;
    }
    case ParameterKind::String:
        if (decoding.decodeText)
            managerOf<QtStringPropertyManager>(property)->setValue(property, textValue(answer));
        break;
    case ParameterKind::Enumerator: {
        const int index = decodeEnumerationValue(id, tailValue(answer));
        managerOf<QtEnumPropertyManager>(property)->setValue(property, index);
        if (id == QLatin1String(ParameterIds::temperatureSettings))
            return index;
        break;
    }
    case ParameterKind::Category:
    case ParameterKind::Action:
        break;
    }
    return std::nullopt;
}

std::optional<QString> settingsText(const QtProperty *property, const QStringList &textChoices)
{
    const QVariant value = numericValue(property);
    switch (propertyKind(property)) {
    case ParameterKind::Bool:
        return QString::number(value.toBool() ? 1 : 0);
    case ParameterKind::Int:
    case ParameterKind::Enumerator:
        return QString::number(value.toInt());
    case ParameterKind::Double:
        return QString::number(value.toDouble(), 'f', 6);
    case ParameterKind::String:
        return QString::number(
            textChoices.indexOf(managerOf<QtStringPropertyManager>(property)->value(property)));
    case ParameterKind::Category:
    case ParameterKind::Action:
        break;
    }
    return std::nullopt;
}

void applySettingsValue(QtProperty *property, const CheckedValue &value)
{
    switch (propertyKind(property)) {
    case ParameterKind::Enumerator:
        managerOf<QtEnumPropertyManager>(property)->setValue(property, int(value.value));
        break;
    case ParameterKind::Bool:
        managerOf<QtBoolPropertyManager>(property)->setValue(property, value.value != 0.0);
        break;
    case ParameterKind::Int:
        managerOf<QtIntPropertyManager>(property)->setValue(property, int(value.value));
        break;
    case ParameterKind::Double: {
        // The file's values come with the file's units, and so does their range.
        auto *doubles = managerOf<QtDoublePropertyManager>(property);
        doubles->setRange(property, value.minimum, value.maximum);
        doubles->setValue(property, value.value);
        break;
    }
    case ParameterKind::Category:
    case ParameterKind::Action:
    case ParameterKind::String:
        break;
    }
}

} // namespace Core
} // namespace BravoSensorPlugin
