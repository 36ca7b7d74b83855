#include "propertyvalues.h"

#include <comm/answers.h>
#include <model/valuerules.h>

#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qtpropertymanager.h>

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

} // namespace

PropertyKind propertyKind(const QtProperty *property)
{
    const QtAbstractPropertyManager *manager = property ? property->propertyManager() : nullptr;
    if (qobject_cast<const QtBoolPropertyManager *>(manager))
        return PropertyKind::Bool;
    if (qobject_cast<const QtIntPropertyManager *>(manager))
        return PropertyKind::Int;
    if (qobject_cast<const QtDoublePropertyManager *>(manager))
        return PropertyKind::Double;
    if (qobject_cast<const QtStringPropertyManager *>(manager))
        return PropertyKind::String;
    if (qobject_cast<const QtEnumPropertyManager *>(manager))
        return PropertyKind::Enumeration;
    return PropertyKind::Other;
}

QVariant numericValue(const QtProperty *property)
{
    switch (propertyKind(property)) {
    case PropertyKind::Bool:
        return managerOf<QtBoolPropertyManager>(property)->value(property);
    case PropertyKind::Int:
        return managerOf<QtIntPropertyManager>(property)->value(property);
    case PropertyKind::Double:
        return managerOf<QtDoublePropertyManager>(property)->value(property);
    case PropertyKind::Enumeration:
        return managerOf<QtEnumPropertyManager>(property)->value(property);
    case PropertyKind::String:
    case PropertyKind::Other:
        break;
    }
    return QVariant();
}

int deviceNumber(const QtProperty *property, const QVariant &value, double pressureDivisor,
                 bool editForwarding)
{
    switch (propertyKind(property)) {
    case PropertyKind::Bool:
    case PropertyKind::Int:
    case PropertyKind::Enumeration:
        return encodeEnumerationValue(property->propertyId(), value.toInt());
    case PropertyKind::Double:
        return encodeDeviceDouble(property->propertyId(), value.toDouble(), pressureDivisor);
    case PropertyKind::String:
    case PropertyKind::Other:
        break;
    }
    return editForwarding ? 1 : 0;
}

std::optional<int> applyAnswer(QtProperty *property, const QByteArray &answer,
                               const AnswerDecoding &decoding)
{
    const QString id = property->propertyId();
    switch (propertyKind(property)) {
    case PropertyKind::Bool:
        managerOf<QtBoolPropertyManager>(property)->setValue(property, boolValue(answer), QString(),
                                                             QString());
        break;
    case PropertyKind::Int:
        managerOf<QtIntPropertyManager>(property)->setValue(property, tailValue(answer));
        break;
    case PropertyKind::Double: {
        const double value
            = decodeDeviceDouble(id, signedTailValue(answer), decoding.pressureDivisor);
        if (isPressureId(id))
            setPressure(property, value, decoding.pressureDivisor);
        else
            managerOf<QtDoublePropertyManager>(property)->setValue(property, value);
        break;
    }
    case PropertyKind::String:
        if (decoding.decodeText)
            managerOf<QtStringPropertyManager>(property)->setValue(property, textValue(answer));
        break;
    case PropertyKind::Enumeration: {
        const int index = decodeEnumerationValue(id, tailValue(answer));
        managerOf<QtEnumPropertyManager>(property)->setValue(property, index);
        if (id == QLatin1String("TemperatureSettings"))
            return index;
        break;
    }
    case PropertyKind::Other:
        break;
    }
    return std::nullopt;
}

} // namespace Core
} // namespace BravoSensorPlugin
