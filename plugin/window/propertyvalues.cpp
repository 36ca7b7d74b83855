#include "propertyvalues.h"

#include "storagemanager.h"

#include <comm/answers.h>
#include <model/parameterids.h>
#include <model/propertynode.h>
#include <model/settingscheck.h>
#include <model/valuerules.h>

#include <algorithm>

namespace BravoSensorPlugin {
namespace Core {

namespace {

constexpr char kindTag[] = "parameterKind";

void setPressure(QtProperty *property, double value, double divisor)
{
    auto *doubles = managerOf<ValueStorage::Decimal>(property);
    // Widened first, so that no value the device reports is clamped away, not even one below
    // vacuum.
    doubles->setMinimum(property, std::min(-1.0, value));
    doubles->setMaximum(property, 10000000.0);
    doubles->setValue(property, value);
    doubles->setDecimals(property, pressureDecimals(divisor));
}

} // namespace

void setManagerKind(QtAbstractPropertyManager *manager, ParameterKind kind)
{
    manager->setProperty(kindTag, int(kind));
}

ParameterKind propertyKind(const QtProperty *property)
{
    const QtAbstractPropertyManager *manager = property ? property->propertyManager() : nullptr;
    const QVariant tag = manager ? manager->property(kindTag) : QVariant();
    return tag.isValid() ? ParameterKind(tag.toInt()) : ParameterKind::Category;
}

QtProperty *addNodeProperty(QtAbstractPropertyManager *manager, const PropertyNode &node)
{
    QtProperty *property = manager->addProperty(node.caption);
    switch (storageOf(node.type)) {
    case ValueStorage::None:
        break;
    case ValueStorage::Choice: {
        auto *choices = managerOf<ValueStorage::Choice>(property);
        choices->setEnumNames(property, node.items);
        choices->setValue(property, node.number);
        break;
    }
    case ValueStorage::Whole: {
        auto *ints = managerOf<ValueStorage::Whole>(property);
        ints->setMinimum(property, int(node.minimum));
        ints->setMaximum(property, int(node.maximum));
        ints->setValue(property, node.number);
        break;
    }
    case ValueStorage::Decimal: {
        auto *doubles = managerOf<ValueStorage::Decimal>(property);
        doubles->setMinimum(property, node.minimum);
        doubles->setMaximum(property, node.maximum);
        doubles->setDecimals(property, 3);
        doubles->setValue(property, node.number);
        break;
    }
    case ValueStorage::Truth:
        managerOf<ValueStorage::Truth>(property)->setValue(property, node.number != 0, QString(),
                                                           QString());
        break;
    case ValueStorage::Button:
        managerOf<ValueStorage::Button>(property)->setValue(property, node.text);
        break;
    case ValueStorage::Text:
        managerOf<ValueStorage::Text>(property)->setValue(property, node.text);
        if (node.readOnlyText)
            property->setStatusTip(QLatin1String(ParameterIds::readOnlyMarker));
        break;
    }
    property->setPropertyId(node.id);
    return property;
}

QVariant numericValue(const QtProperty *property)
{
    switch (propertyStorage(property)) {
    case ValueStorage::Truth:
        return managerOf<ValueStorage::Truth>(property)->value(property);
    case ValueStorage::Whole:
        return managerOf<ValueStorage::Whole>(property)->value(property);
    case ValueStorage::Decimal:
        return managerOf<ValueStorage::Decimal>(property)->value(property);
    case ValueStorage::Choice:
        return managerOf<ValueStorage::Choice>(property)->value(property);
    case ValueStorage::None:
    case ValueStorage::Button:
    case ValueStorage::Text:
        break;
    }
    return QVariant();
}

int deviceNumber(const QtProperty *property, const QVariant &value, double pressureDivisor,
                 bool editForwarding)
{
    switch (propertyStorage(property)) {
    case ValueStorage::Truth:
    case ValueStorage::Whole:
    case ValueStorage::Choice:
        return encodeEnumerationValue(property->propertyId(), value.toInt());
    case ValueStorage::Decimal:
        return encodeDeviceDouble(property->propertyId(), value.toDouble(), pressureDivisor);
    case ValueStorage::None:
    case ValueStorage::Button:
    case ValueStorage::Text:
        break;
    }
    return editForwarding ? 1 : 0;
}

std::optional<int> applyAnswer(QtProperty *property, const QByteArray &answer,
                               const AnswerDecoding &decoding)
{
    const QString id = property->propertyId();
    switch (propertyStorage(property)) {
    case ValueStorage::Truth:
        managerOf<ValueStorage::Truth>(property)->setValue(property, boolValue(answer), QString(),
                                                           QString());
        break;
    case ValueStorage::Whole:
        managerOf<ValueStorage::Whole>(property)->setValue(property, tailValue(answer));
        break;
    case ValueStorage::Decimal: {
        const double value
            = decodeDeviceDouble(id, signedTailValue(answer), decoding.pressureDivisor);
        if (isPressureId(id))
            setPressure(property, value, decoding.pressureDivisor);
        else
            managerOf<ValueStorage::Decimal>(property)->setValue(property, value);
        break;
    }
    case ValueStorage::Text:
        if (decoding.decodeText)
            managerOf<ValueStorage::Text>(property)->setValue(property, textValue(answer));
        break;
    case ValueStorage::Choice: {
        const int index = decodeEnumerationValue(id, tailValue(answer));
        managerOf<ValueStorage::Choice>(property)->setValue(property, index);
        if (id == QLatin1String(ParameterIds::temperatureSettings))
            return index;
        break;
    }
    case ValueStorage::None:
    case ValueStorage::Button:
        break;
    }
    return std::nullopt;
}

std::optional<QString> settingsText(const QtProperty *property, const QStringList &textChoices)
{
    const QVariant value = numericValue(property);
    switch (propertyStorage(property)) {
    case ValueStorage::Truth:
        return QString::number(value.toBool() ? 1 : 0);
    case ValueStorage::Whole:
    case ValueStorage::Choice:
        return QString::number(value.toInt());
    case ValueStorage::Decimal:
        return QString::number(value.toDouble(), 'f', 6);
    case ValueStorage::Text:
        return QString::number(
            textChoices.indexOf(managerOf<ValueStorage::Text>(property)->value(property)));
    case ValueStorage::None:
    case ValueStorage::Button:
        break;
    }
    return std::nullopt;
}

void applySettingsValue(QtProperty *property, const CheckedValue &value)
{
    switch (propertyStorage(property)) {
    case ValueStorage::Choice:
        managerOf<ValueStorage::Choice>(property)->setValue(property, int(value.value));
        break;
    case ValueStorage::Truth:
        managerOf<ValueStorage::Truth>(property)->setValue(property, value.value != 0.0);
        break;
    case ValueStorage::Whole:
        managerOf<ValueStorage::Whole>(property)->setValue(property, int(value.value));
        break;
    case ValueStorage::Decimal: {
        // The file's values come with the file's units, and so does their range.
        auto *doubles = managerOf<ValueStorage::Decimal>(property);
        doubles->setRange(property, value.minimum, value.maximum);
        doubles->setValue(property, value.value);
        break;
    }
    case ValueStorage::None:
    case ValueStorage::Button:
    case ValueStorage::Text:
        break;
    }
}

} // namespace Core
} // namespace BravoSensorPlugin
