#include "parameterids.h"

namespace BravoSensorPlugin {
namespace Core {
std::optional<Quantity> switchingQuantity(int pinFunction)
{
    switch (PinFunction(pinFunction)) {
    case PinFunction::SwitchingTemperature:
        return Quantity::Temperature;
    case PinFunction::SwitchingPressure:
        return Quantity::Pressure;
    case PinFunction::AnalogTemperature:
    case PinFunction::AnalogPressure:
    case PinFunction::RemoteSwitching:
    case PinFunction::RemoteAnalog:
        break;
    }
    return std::nullopt;
}

namespace ParameterIds {

namespace {

// The switching points abbreviate temperature, their groups do not.
QString quantityName(Quantity quantity, bool shortName)
{
    if (quantity == Quantity::Pressure)
        return QStringLiteral("Pressure");
    return shortName ? QStringLiteral("Temp") : QStringLiteral("Temperature");
}

QString outputSuffix(int output)
{
    return QLatin1String("A") + QString::number(output);
}

} // namespace

QString switchingPoint(Quantity quantity, int output, int point)
{
    return QLatin1String("Thresholds") + quantityName(quantity, true) + QString::number(point)
           + outputSuffix(output);
}

QString switchingGroup(Quantity quantity, int output)
{
    return QLatin1String("SettingsPoints") + quantityName(quantity, false) + outputSuffix(output);
}

QString analogPoint(Quantity quantity, bool high)
{
    const QString stem = quantity == Quantity::Pressure ? QStringLiteral("analogPressure")
                                                        : QStringLiteral("analogTemp");
    return stem + (high ? QLatin1String("10V") : QLatin1String("0V"));
}

QString analogGroup(Quantity quantity)
{
    return QLatin1String("AnalogPoints") + quantityName(quantity, false);
}

QString onDelay(int output)
{
    return QLatin1String("OnDelay") + QString::number(output);
}

QString offDelay(int output)
{
    return QLatin1String("OffDelay") + QString::number(output);
}

QString normallyClosed(int output)
{
    return QLatin1String("NONC") + outputSuffix(output);
}

} // namespace ParameterIds
} // namespace Core
} // namespace BravoSensorPlugin
