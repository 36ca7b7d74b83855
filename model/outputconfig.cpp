#include "outputconfig.h"

#include "valuerules.h"

#include <algorithm>

namespace BravoSensorPlugin {
namespace Core {

namespace {

QString quantityName(Quantity quantity, bool shortName)
{
    if (quantity == Quantity::Pressure)
        return QStringLiteral("Pressure");
    return shortName ? QStringLiteral("Temp") : QStringLiteral("Temperature");
}

QString outputSuffix(int output)
{
    return output == 1 ? QStringLiteral("A1") : QStringLiteral("A2");
}

QString switchingGroup(Quantity quantity, int output)
{
    return QLatin1String("SettingsPoints") + quantityName(quantity, false) + outputSuffix(output);
}

// "ThresholdsPressure1A1" is the lower mark's point, "ThresholdsPressure2A1" the upper one's.
QString switchingPoint(Quantity quantity, int output, unsigned int markIndex)
{
    return QLatin1String("Thresholds") + quantityName(quantity, true)
           + QString::number(markIndex + 1) + outputSuffix(output);
}

MarkSource switchingPoints(Quantity quantity, int output)
{
    return {switchingPoint(quantity, output, 0), switchingPoint(quantity, output, 1)};
}

std::optional<Quantity> switchingQuantity(int pinFunction)
{
    if (pinFunction == 0)
        return Quantity::Temperature;
    if (pinFunction == 1)
        return Quantity::Pressure;
    return std::nullopt;
}

int plotOf(Quantity quantity)
{
    return int(quantity);
}

} // namespace

const QStringList &outputGroupIds()
{
    static const QStringList ids = {QStringLiteral("SettingsPointsPressureA1"),
                                    QStringLiteral("SettingsPointsTemperatureA1"),
                                    QStringLiteral("OnDelay2"),
                                    QStringLiteral("OffDelay2"),
                                    QStringLiteral("NONCA2"),
                                    QStringLiteral("SettingsPointsPressureA2"),
                                    QStringLiteral("SettingsPointsTemperatureA2"),
                                    QStringLiteral("AnalogPointsPressure"),
                                    QStringLiteral("AnalogPointsTemperature"),
                                    QStringLiteral("AnalogMode"),
                                    QStringLiteral("RemoteSwitchingOutput"),
                                    QStringLiteral("remoteAnalogValue")};
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
        config.shownGroups << switchingGroup(*a1, 1);
        config.groupCaptions.append({switchingGroup(*a1, 1), *a1});
        config.marks[plotOf(*a1)] = switchingPoints(*a1, 1);
    }

    switch (selection.pinFunctionA2) {
    case 0:
    case 1: {
        const Quantity quantity = *switchingQuantity(selection.pinFunctionA2);
        config.shownGroups << switchingGroup(quantity, 2) << QStringLiteral("OnDelay2")
                           << QStringLiteral("OffDelay2") << QStringLiteral("NONCA2");
        config.groupCaptions.append({switchingGroup(quantity, 2), quantity});
        config.marks[plotOf(quantity)] = switchingPoints(quantity, 2);
        if (a1 == quantity) {
            config.outputsToolBarVisible = true;
            config.marks[plotOf(quantity)]
                = switchingPoints(quantity, selection.outputIndex == 0 ? 1 : 2);
        }
        break;
    }
    case 2:
    case 3: {
        const Quantity quantity
            = selection.pinFunctionA2 == 2 ? Quantity::Temperature : Quantity::Pressure;
        const QString stem = quantity == Quantity::Pressure ? QStringLiteral("analogPressure")
                                                            : QStringLiteral("analogTemp");
        config.shownGroups << QLatin1String("AnalogPoints") + quantityName(quantity, false)
                           << QStringLiteral("AnalogMode");
        config.analogAxis = quantity;
        config.analogLowId = stem + QLatin1String("0V");
        config.analogHighId = stem + QLatin1String("10V");
        config.output2IsSwitching = false;
        break;
    }
    case 4:
        config.shownGroups << QStringLiteral("RemoteSwitchingOutput");
        config.output2IsSwitching = false;
        break;
    case 5:
        config.shownGroups << QStringLiteral("remoteAnalogValue") << QStringLiteral("AnalogMode");
        config.output2IsSwitching = false;
        break;
    default:
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
        return {switchingPoint(quantity, output == 1 ? 1 : 2, markIndex)};
    QStringList targets;
    for (int candidate : {1, 2}) {
        if (shownGroups.contains(switchingGroup(quantity, candidate)))
            targets << switchingPoint(quantity, candidate, markIndex);
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
