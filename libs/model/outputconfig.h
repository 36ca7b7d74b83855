#pragma once

#include "parameterids.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// What the charts, marks and property groups show for a choice of units and output functions.
namespace BravoSensorPlugin {
namespace Core {

// The property values the decision depends on.
struct OutputSelection
{
    // PinFunction codes; A1 is off for anything but a switching one, both for unknown codes.
    int pinFunctionA1 = int(PinFunction::SwitchingPressure);
    int pinFunctionA2 = int(PinFunction::AnalogPressure);
    int analogMode = 0; // 0 voltage 0..10 V, anything else current 4..20 mA
    int unitIndex = 0;
    int outputIndex
        = 0; // the outputs combo: whose points the marks show when both outputs share a quantity
    double pressureRangeMin = -1.0; // bar
    double pressureRangeMax = 10.0;
};

// The scales and captions of one unit index.
struct UnitScales
{
    double pressureMin = 0.0; // the pressure range in the display unit
    double pressureMax = 0.0;
    double temperatureMin = -40.0;
    double temperatureMax = 120.0;
    QString pressureLabel;     // " (bar)" ...
    QString temperatureLabel;  // " (°C)" or " (°F)"
    double timelineFrom = 0.0; // handed to the chart's time axis as they are
    double timelineTo = 0.0;
};

// The two marks of a plot and the properties they show; disabled when the ids are empty.
struct MarkSource
{
    QString lowerId; // the "1" point
    QString upperId; // the "2" point
    bool enabled() const { return !lowerId.isEmpty(); }
};

// A property group captioned "Switching points <quantity> <unit>".
struct GroupCaption
{
    QString groupId;
    Quantity quantity;
};

struct OutputConfig
{
    std::optional<UnitScales> units; // none for an index outside 0..7: scales stay as they are
    QStringList shownGroups;         // of outputGroupIds(); the others are hidden
    QList<GroupCaption> groupCaptions;
    std::array<MarkSource, 2> marks;    // by plot number
    std::optional<Quantity> analogAxis; // the plot whose right axis shows the analog output
    QString analogLowId;                // the 0 V / 4 mA point of that quantity
    QString analogHighId;               // the 10 V / 20 mA point
    bool currentOutput = false;         // 4..20 mA rather than 0..10 V
    double rightAxisMin = 0.0;
    double rightAxisMax = 10.0;
    bool outputsToolBarVisible = false;
    bool output2IsSwitching = true;
};

// Every group or single property whose visibility follows the output functions.
const QStringList &outputGroupIds();

UnitScales unitScales(int unitIndex, double pressureRangeMin, double pressureRangeMax);
OutputConfig outputConfig(const OutputSelection &selection);

// The switching points a dropped mark edits. toolBarVisible: both outputs switch on the same
// quantity and `output` (1 or 2) chooses; otherwise every shown group of the plot's quantity.
QStringList markTargets(int plot, unsigned int markIndex, bool toolBarVisible, int output,
                        const QStringList &shownGroups);

// An analog point that would equal the other end of the characteristic moves one unit away:
// the low point below the high one (to 1 when that is 0), the high one above the low one. It
// never leaves bottom..top: it stops at the range's end, or goes to the other side when the
// other end sits there. Values compare after rounding to 3 decimals.
double separatedAnalogPoint(bool highPoint, double edited, double other, double bottom,
                            double top);

} // namespace Core
} // namespace BravoSensorPlugin
