#include "parametertable.h"

#include <comm/protocol.h>
#include <model/parameterids.h>
#include <model/valuerules.h>

#include <algorithm>

namespace Kr7dSim {

namespace Protocol = BravoSensorPlugin::Core::Protocol;

namespace {

namespace Ids = BravoSensorPlugin::Core::ParameterIds;
using BravoSensorPlugin::Core::Quantity;
using BravoSensorPlugin::Core::ValueStorage;
using BravoSensorPlugin::Core::storageOf;

bool isPressure(const ParameterInfo &info)
{
    return info.id.contains(QLatin1String("Pressure"));
}

int deviceValueOfChoice(const ParameterInfo &info, int choice)
{
    return BravoSensorPlugin::Core::encodeEnumerationValue(info.id, choice);
}

bool isValidChoice(const ParameterInfo &info, int deviceValue)
{
    for (int choice = 0; choice < info.choiceCount; ++choice) {
        if (deviceValueOfChoice(info, choice) == deviceValue)
            return true;
    }
    return false;
}

int valueByteCount(const ParameterInfo &info)
{
    return info.size == 7 ? 2 : 1;
}

template <typename Parameters, typename Predicate>
auto findIn(Parameters &parameters, Predicate predicate) -> decltype(&parameters[0])
{
    const auto it = std::find_if(parameters.begin(), parameters.end(), predicate);
    return it == parameters.end() ? nullptr : &*it;
}

auto atAddress(int index, int subIndex)
{
    return [=](const ParameterTable::Parameter &p) {
        return p.info.index == index && p.info.subIndex == subIndex;
    };
}

auto withId(const QString &id)
{
    return [&id](const ParameterTable::Parameter &p) { return p.info.id == id; };
}

// Whether the sensor takes a written number for a parameter of its kind.
bool acceptsNumber(const ParameterInfo &info, int number)
{
    switch (storageOf(info.type)) {
    case ValueStorage::Choice:
        return isValidChoice(info, number);
    case ValueStorage::Truth:
        return number == 0 || number == 1;
    case ValueStorage::Whole:
    case ValueStorage::Decimal:
    case ValueStorage::Button:
        return true;
    case ValueStorage::None:
    case ValueStorage::Text:
        break;
    }
    return false;
}

} // namespace

ParameterTable::ParameterTable(const QVector<ParameterInfo> &parameters, const Variant &variant,
                               const QString &productId)
    : m_variant(variant)
    , m_productId(productId)
{
    m_parameters.reserve(parameters.size());
    for (const ParameterInfo &info : parameters)
        m_parameters.append(Parameter{info, 0, QString()});
    restoreDefaults();
}

const ParameterTable::Parameter *ParameterTable::find(int index, int subIndex) const
{
    return findIn(m_parameters, atAddress(index, subIndex));
}

const ParameterTable::Parameter *ParameterTable::find(const QString &id) const
{
    return findIn(m_parameters, withId(id));
}

ParameterTable::Parameter *ParameterTable::findMutable(int index, int subIndex)
{
    return findIn(m_parameters, atAddress(index, subIndex));
}

ParameterTable::Parameter *ParameterTable::findMutable(const QString &id)
{
    return findIn(m_parameters, withId(id));
}

QByteArray ParameterTable::valueBytes(const Parameter &parameter) const
{
    if (holdsText(parameter.info.type))
        return parameter.text.toUtf8();
    QByteArray bytes;
    if (valueByteCount(parameter.info) == 2)
        bytes.append(char((parameter.number >> 8) & 0xFF));
    bytes.append(char(parameter.number & 0xFF));
    return bytes;
}

DeviceStatus ParameterTable::read(int index, int subIndex, QByteArray *value) const
{
    const Parameter *parameter = find(index, subIndex);
    if (!parameter)
        return missingStatus(index);
    *value = valueBytes(*parameter);
    return DeviceStatus::Ok;
}

DeviceStatus ParameterTable::missingStatus(int index) const
{
    const bool indexKnown
        = std::any_of(m_parameters.cbegin(), m_parameters.cend(),
                      [index](const Parameter &p) { return p.info.index == index; });
    return indexKnown ? DeviceStatus::SubIndexNotAvailable : DeviceStatus::IndexNotAvailable;
}

DeviceStatus ParameterTable::write(int index, int subIndex, const QByteArray &value)
{
    Parameter *found = findMutable(index, subIndex);
    if (!found)
        return missingStatus(index);
    Parameter &parameter = *found;
    const ParameterInfo &info = parameter.info;
    if (info.readOnly)
        return DeviceStatus::AccessDenied;
    // A text never fits the one or two value bytes of a write frame.
    if (holdsText(info.type) || value.size() != valueByteCount(info))
        return DeviceStatus::LengthMismatch;

    const int number = value.size() == 2
                           ? int(qint16(quint8(value.at(0)) << 8 | quint8(value.at(1))))
                           : int(quint8(value.at(0)));
    if (!acceptsNumber(info, number))
        return DeviceStatus::ValueOutOfRange;
    parameter.number = number;
    return DeviceStatus::Ok;
}

int ParameterTable::number(const QString &id, int fallback) const
{
    const Parameter *parameter = find(id);
    return parameter && !holdsText(parameter->info.type) ? parameter->number : fallback;
}

QVariant ParameterTable::value(const QString &id) const
{
    const Parameter *parameter = find(id);
    if (!parameter)
        return QVariant();
    if (holdsText(parameter->info.type))
        return parameter->text;
    return parameter->number;
}

bool ParameterTable::setValue(const QString &id, const QVariant &value)
{
    Parameter *parameter = findMutable(id);
    if (!parameter)
        return false;
    if (holdsText(parameter->info.type)) {
        parameter->text = value.toString();
        return true;
    }
    bool isNumber = false;
    const int number = value.toInt(&isNumber);
    if (isNumber)
        parameter->number = number;
    return isNumber;
}

void ParameterTable::restoreDefaults()
{
    for (Parameter &parameter : m_parameters)
        applyDefault(parameter);
}

double ParameterTable::pressureDefault(const ParameterInfo &info, int whole) const
{
    if (info.id == Ids::analogPoint(Quantity::Pressure, false))
        return m_variant.minRange;
    if (info.id == Ids::analogPoint(Quantity::Pressure, true))
        return m_variant.maxRange;
    return whole;
}

void ParameterTable::applyDefault(Parameter &parameter) const
{
    const ParameterInfo &info = parameter.info;
    // Defaults are whole numbers; anything else counts as 0, as in the plug-in.
    const int whole = info.defaultValue.toInt();
    switch (storageOf(info.type)) {
    case ValueStorage::Text:
        parameter.text = info.index == Protocol::productIdIndex && info.subIndex == 0
                             ? m_productId
                             : info.defaultValue;
        return;
    case ValueStorage::Choice:
        parameter.number = deviceValueOfChoice(info, whole);
        return;
    case ValueStorage::Decimal:
        if (isPressure(info))
            parameter.number = qRound(pressureDefault(info, whole) * m_variant.divisor);
        else
            parameter.number = whole * 100;
        return;
    case ValueStorage::Truth:
        parameter.number = whole != 0 ? 1 : 0;
        return;
    case ValueStorage::Whole:
        parameter.number = whole;
        return;
    case ValueStorage::Button:
    case ValueStorage::None: // never a parameter: categories carry no address
        parameter.number = 0;
        return;
    }
}

} // namespace Kr7dSim
