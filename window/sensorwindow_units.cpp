#include "sensorwindow.h"

#include "sensorwindowdata.h"

#include <model/descriptionformat.h>
#include <model/sensorranges.h>
#include <model/valuerules.h>

#include <propertybrowser/qtpropertymanager.h>

#include <QDebug>

#include <boost/property_tree/ptree.hpp>

#include <array>

namespace BravoSensorPlugin {
namespace Core {

namespace {

// A pressure property that follows the sensor's range, and where in the range it starts.
struct PressurePoint
{
    const char *id;
    double ofMinimum;
    double ofMaximum;
};

// The switching points come first.
constexpr int switchingPointCount = 4;
constexpr std::array<PressurePoint, 6> pressurePoints = {{
    {"ThresholdsPressure1A1", 0.0, 0.5},
    {"ThresholdsPressure2A1", 0.0, 0.25},
    {"ThresholdsPressure1A2", 0.0, 0.5},
    {"ThresholdsPressure2A2", 0.0, 0.25},
    {"analogPressure0V", 1.0, 0.0},
    {"analogPressure10V", 0.0, 1.0},
}};

} // namespace

void SensorWindow::slotCurrentOutputChanged(int)
{
}

// Charts, marks and visible groups do not follow the property values yet.
void SensorWindow::applyUnitsAndOutputs(const QString &)
{
}

void SensorWindow::vApplySensorRange()
{
    if (!descriptionTree.get_child_optional(DescriptionFormat::sensorListPath))
        return;
    if (const std::optional<SensorRange> range = sensorRange(descriptionTree, sensor.name())) {
        data->pressureRangeMax = range->max;
        data->pressureRangeMin = range->min;
        data->pressureDivisor = usableDivisor(range->divisor, data->pressureDivisor);
    }

    enableTreeDataHandling(false);
    const int decimals = pressureDecimals(data->pressureDivisor);
    for (const PressurePoint &point : pressurePoints) {
        QtProperty *property = findProperty(data->rootProperty, point.id);
        if (!property)
            continue;
        data->doubleManager->setDecimals(property, decimals);
        data->doubleManager->setRange(property, data->pressureRangeMin, data->pressureRangeMax);
        data->doubleManager->setValue(property, point.ofMinimum * data->pressureRangeMin
                                                    + point.ofMaximum * data->pressureRangeMax);
    }
    enableTreeDataHandling(true);
}

void SensorWindow::vApplyVariantRange()
{
    const QString code = variantCode(connectedSensorText);
    if (code.isEmpty())
        return;
    // The sensor record holds the selected sensor's variants; the description only has to list it.
    const auto variants = sensor.tree.get_child_optional("sensors");
    if (variants && sensorRange(descriptionTree, sensor.name())) {
        if (const std::optional<VariantRange> variant = variantRange(*variants, code.toStdString())) {
            data->pressureRangeMax = variant->max;
            data->pressureRangeMin = variant->min;
            data->bitsNumber = variant->bitsNumber;
            data->pressureDivisor = usableDivisor(variant->divisor, data->pressureDivisor);
            qDebug() << "Sensor variant" << code << "has" << data->bitsNumber << "bits";
        }
    }
    updatePressureDecimals();
}

void SensorWindow::updatePressureDecimals()
{
    enableTreeDataHandling(false);
    const int decimals = pressureDecimals(data->pressureDivisor);
    for (int point = 0; point < switchingPointCount; ++point) {
        if (QtProperty *property = findProperty(data->rootProperty, pressurePoints[point].id))
            data->doubleManager->setDecimals(property, decimals);
    }
    enableTreeDataHandling(true);
}

double SensorWindow::convertPressure(int unitIndex, bool toUnit, double value) const
{
    return Core::convertPressure(unitIndex, toUnit, value);
}

double SensorWindow::convertTemperature(int unitIndex, double value) const
{
    return Core::convertTemperature(unitIndex, value);
}

} // namespace Core
} // namespace BravoSensorPlugin
