#include "outputconfig.h"

#include "parameterids.h"
#include "valuerules.h"

#include <algorithm>

namespace BravoSensorPlugin {
namespace Core {

namespace {

namespace Ids = ParameterIds;

MarkSource switchingPoints(Quantity quantity, int output)
{
    return {Ids::switchingPoint(quantity, output, 1), Ids::switchingPoint(quantity, output, 2)};
}

int plotOf(Quantity quantity)
{
    return int(quantity);
}

} // namespace

const QStringList &outputGroupIds()
{
    static const QStringList ids = {Ids::switchingGroup(Quantity::Pressure, 1),
                                    Ids::switchingGroup(Quantity::Temperature, 1),
                                    Ids::onDelay(2),
                                    Ids::offDelay(2),
                                    Ids::normallyClosed(2),
                                    Ids::switchingGroup(Quantity::Pressure, 2),
                                    Ids::switchingGroup(Quantity::Temperature, 2),
                                    Ids::analogGroup(Quantity::Pressure),
                                    Ids::analogGroup(Quantity::Temperature),
                                    QLatin1String(Ids::analogMode),
                                    QLatin1String(Ids::remoteSwitchingOutput),
                                    QLatin1String(Ids::remoteAnalogValue)};
    return ids;
}

UnitScales unitScales(int unitIndex, double pressureRangeMin, double pressureRangeMax)
{
    UnitScales scales;
    const double factor = pressureUnitFactor(unitIndex);
    scales.pressureMin = pressureRangeMin * factor;
    scales.pressureMax = pressureRangeMax * factor;
    scales.temperatureMax = isFahrenheit(unitIndex) ? 257.0 : 120.0;
    scales.pressureLabel = pressureUnitLabel(unitIndex);
    scales.temperatureLabel = temperatureUnitLabel(unitIndex);
    // The time axis gets the pairs the sensor family has always used for each unit.
    switch (unitIndex) {
    case 0:
    case 2:
        scales.timelineFrom = -40.0;
        scales.timelineTo = 120.0;
        break;
    case 3:
    case 7:
        scales.timelineFrom = pressureRangeMin * 100.0;
        scales.timelineTo = pressureRangeMax * 100.0;
        break;
    default:
        scales.timelineFrom = -40.0;
        scales.timelineTo = 257.0;
        break;
    }
    return scales;
}

OutputConfig outputConfig(const OutputSelection &selection)
{
    OutputConfig config;
    if (isUnitIndex(selection.unitIndex))
        config.units = unitScales(selection.unitIndex, selection.pressureRangeMin,
                                  selection.pressureRangeMax);
    config.currentOutput = selection.analogMode != 0;
    config.rightAxisMin = config.currentOutput ? 4.0 : 0.0;
    config.rightAxisMax = config.currentOutput ? 20.0 : 10.0;

    const std::optional<Quantity> a1 = switchingQuantity(selection.pinFunctionA1);
    if (a1) {
        config.shownGroups << Ids::switchingGroup(*a1, 1);
        config.groupCaptions.append({Ids::switchingGroup(*a1, 1), *a1});
        config.marks[plotOf(*a1)] = switchingPoints(*a1, 1);
    }

    switch (PinFunction(selection.pinFunctionA2)) {
    case PinFunction::SwitchingTemperature:
    case PinFunction::SwitchingPressure: {
        const Quantity quantity = *switchingQuantity(selection.pinFunctionA2);
        config.shownGroups << Ids::switchingGroup(quantity, 2) << Ids::onDelay(2)
                           << Ids::offDelay(2) << Ids::normallyClosed(2);
        config.groupCaptions.append({Ids::switchingGroup(quantity, 2), quantity});
        config.marks[plotOf(quantity)] = switchingPoints(quantity, 2);
        if (a1 == quantity) {
            config.outputsToolBarVisible = true;
            config.marks[plotOf(quantity)]
                = switchingPoints(quantity, selection.outputIndex == 0 ? 1 : 2);
        }
        break;
    }
    case PinFunction::AnalogTemperature:
    case PinFunction::AnalogPressure: {
        const Quantity quantity
            = PinFunction(selection.pinFunctionA2) == PinFunction::AnalogTemperature
                  ? Quantity::Temperature
                  : Quantity::Pressure;
        config.shownGroups << Ids::analogGroup(quantity) << QLatin1String(Ids::analogMode);
        config.analogAxis = quantity;
        config.analogLowId = Ids::analogPoint(quantity, false);
        config.analogHighId = Ids::analogPoint(quantity, true);
        config.output2IsSwitching = false;
        break;
    }
    case PinFunction::RemoteSwitching:
        config.shownGroups << QLatin1String(Ids::remoteSwitchingOutput);
        config.output2IsSwitching = false;
        break;
    case PinFunction::RemoteAnalog:
        config.shownGroups << QLatin1String(Ids::remoteAnalogValue)
                           << QLatin1String(Ids::analogMode);
        config.output2IsSwitching = false;
        break;
    }
    return config;
}

QStringList markTargets(int plot, unsigned int markIndex, bool toolBarVisible, int output,
                        const QStringList &shownGroups)
{
    if (plot != plotOf(Quantity::Pressure) && plot != plotOf(Quantity::Temperature))
        return {};
    const auto quantity = Quantity(plot);
    if (toolBarVisible)
        return {Ids::switchingPoint(quantity, output == 1 ? 1 : 2, int(markIndex) + 1)};
    QStringList targets;
    for (int candidate : {1, 2}) {
        if (shownGroups.contains(Ids::switchingGroup(quantity, candidate)))
            targets << Ids::switchingPoint(quantity, candidate, int(markIndex) + 1);
    }
    return targets;
}

double separatedAnalogPoint(bool highPoint, double edited, double other, double bottom,
                            double top)
{
    const double point = roundToThreeDecimals(other);
    if (roundToThreeDecimals(edited) != point)
        return edited;
    if (highPoint)
        return point < top ? std::min(point + 1.0, top) : std::max(point - 1.0, bottom);
    if (point == 0.0)
        return std::min(1.0, top);
    return point > bottom ? std::max(point - 1.0, bottom) : std::min(point + 1.0, top);
}

} // namespace Core
} // namespace BravoSensorPlugin
