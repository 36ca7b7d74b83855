#include "sensorwindow.h"

#include "editsmuted.h"
#include "logging.h"
#include "propertyvalues.h"
#include "sensorwindowdata.h"
#include "sharedicon.h"
#include "ui_sensorwindow.h"

#include <model/descriptionformat.h>
#include <model/outputconfig.h>
#include <model/parameterids.h>
#include <model/sensorranges.h>
#include <model/valuerules.h>

#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qtpropertymanager.h>
#include <utils/genericchart.h>
#include <utils/thresholdwindowwidget.h>

#include <QComboBox>
#include <QIcon>
#include <QMap>
#include <QToolBar>
#include <QTreeWidgetItem>

#include <boost/property_tree/ptree.hpp>

#include <array>

namespace BravoSensorPlugin {
namespace Core {

namespace {

namespace Ids = ParameterIds;

// A pressure property that follows the sensor's range, and where in the range it starts.
struct PressurePoint
{
    QString id;
    double ofMinimum;
    double ofMaximum;
};

// The switching points come first.
constexpr int switchingPointCount = 4;
const std::array<PressurePoint, 6> &pressurePoints()
{
    static const std::array<PressurePoint, 6> points = {{
        {Ids::switchingPoint(Quantity::Pressure, 1, 1), 0.0, 0.5},
        {Ids::switchingPoint(Quantity::Pressure, 1, 2), 0.0, 0.25},
        {Ids::switchingPoint(Quantity::Pressure, 2, 1), 0.0, 0.5},
        {Ids::switchingPoint(Quantity::Pressure, 2, 2), 0.0, 0.25},
        {Ids::analogPoint(Quantity::Pressure, false), 1.0, 0.0},
        {Ids::analogPoint(Quantity::Pressure, true), 0.0, 1.0},
    }};
    return points;
}

// Switching and analog points of temperature, converted when Celsius and Fahrenheit swap.
const QStringList &temperaturePoints()
{
    static const QStringList points = {Ids::switchingPoint(Quantity::Temperature, 1, 1),
                                       Ids::switchingPoint(Quantity::Temperature, 1, 2),
                                       Ids::switchingPoint(Quantity::Temperature, 2, 1),
                                       Ids::switchingPoint(Quantity::Temperature, 2, 2),
                                       Ids::analogPoint(Quantity::Temperature, false),
                                       Ids::analogPoint(Quantity::Temperature, true)};
    return points;
}

constexpr double widestRange = 10000000.0;
constexpr double temperatureFloor = -40.0;
constexpr double fahrenheitCeiling = 257.0;
constexpr double analogTemperatureTop = 120.0; // °C
constexpr int output2Row = 1;

// The quantity whose unit a point's value is shown in; none for a value without a unit.
std::optional<Quantity> unitDependentQuantity(const QString &id)
{
    for (const PressurePoint &point : pressurePoints()) {
        if (id == point.id)
            return Quantity::Pressure;
    }
    if (temperaturePoints().contains(id))
        return Quantity::Temperature;
    return std::nullopt;
}

// The other end of an analog point's characteristic; empty for a switching point.
QString analogPartner(const QString &id)
{
    for (const Quantity quantity : {Quantity::Pressure, Quantity::Temperature}) {
        const QString low = Ids::analogPoint(quantity, false);
        const QString high = Ids::analogPoint(quantity, true);
        if (id == low || id == high)
            return id == low ? high : low;
    }
    return QString();
}

const QString &idOf(const PressurePoint &point)
{
    return point.id;
}

const QString &idOf(const QString &id)
{
    return id;
}

// Each point takes convert(its value) within minimum..maximum. The range opens wide first, so
// that no value is clamped on its way between two units. A kept point is already in the new unit.
template <class Points, class Convert>
void convertPoints(const SensorWindow &window, const SensorWindowData &data, const Points &points,
                   double minimum, double maximum, Convert convert,
                   const PendingEdits &kept = PendingEdits())
{
    for (const auto &point : points) {
        QtProperty *property = window.findProperty(data.rootProperty, idOf(point).toLatin1());
        if (!property)
            continue;
        const double value = data.doubleManager->value(property);
        data.doubleManager->setRange(property, -widestRange, widestRange);
        data.doubleManager->setValue(property, kept.contains(property) ? value : convert(value));
        data.doubleManager->setRange(property, minimum, maximum);
    }
}

} // namespace

void SensorWindow::slotCurrentOutputChanged(int)
{
    applyUnitsAndOutputs(QString());
}

int SensorWindow::enumPropertyValue(const char *id, int fallback) const
{
    QtProperty *property = findProperty(data->rootProperty, id);
    return property ? data->enumManager->value(property) : fallback;
}

double SensorWindow::doublePropertyValue(const QString &id) const
{
    QtProperty *property = findProperty(data->rootProperty, id.toLatin1());
    return property ? data->doubleManager->value(property) : 0.0;
}

void SensorWindow::applyUnitsAndOutputs(const QString &)
{
    const EditsMuted muted(*this);
    data->unitIndex = enumPropertyValue(Ids::temperatureSettings, data->unitIndex);
    data->analogMode = enumPropertyValue(Ids::analogMode, 0);
    const OutputConfig config = outputConfig(
        {enumPropertyValue(Ids::pinFunctionA1, -1), enumPropertyValue(Ids::pinFunctionA2, -1),
         data->analogMode, data->unitIndex, data->outputsCombo->currentIndex(),
         data->pressureRangeMin, data->pressureRangeMax});
    // Before anything shows a value: the marks take theirs from these properties.
    if (data->deviceValuesPending)
        showDeviceValuesInDisplayUnits();
    data->deviceValuesPending = false;
    Utils::Charts::GenericChart *chart = data->chart;
    if (const std::optional<UnitScales> &units = config.units) {
        chart->setScale(int(Quantity::Pressure), units->pressureMin, units->pressureMax);
        chart->setScale(int(Quantity::Temperature), units->temperatureMin, units->temperatureMax);
        chart->setTimelineScale(units->timelineFrom, units->timelineTo);
        data->pressureUnitLabel = units->pressureLabel;
        data->temperatureUnitLabel = units->temperatureLabel.toLatin1().toStdString();
    }
    ui->outuptsComboToolBar->setVisible(config.outputsToolBarVisible);

    for (Quantity quantity : {Quantity::Temperature, Quantity::Pressure}) {
        const int plot = int(quantity);
        chart->setPlotTitle(plot, quantityCaption(quantity), QString(), false, true);
        chart->setCustomLabelsVisible(plot, false, false);
        chart->setBaselineTo(plot);
        chart->vEnableYRightAxis(plot, false);
        chart->vSetMarkerRightVisible(plot, false);
        chart->setRightMarkerVisible(plot, false);
        Utils::ThresholdWindowWidget *marks = data->thresholdWidgets.at(plot);
        const MarkSource &source = config.marks[std::size_t(plot)];
        marks->enableLowerMark(source.enabled());
        marks->enableUpperMark(source.enabled());
        if (source.enabled()) {
            marks->setLowerMark(doublePropertyValue(source.lowerId));
            marks->setUpperMark(doublePropertyValue(source.upperId));
        }
    }

    data->output2IsSwitching = config.output2IsSwitching;
    if (QTreeWidgetItem *row = data->processDataItems.value(output2Row)) {
        row->setText(1, config.output2IsSwitching ? tr("Off") : QString());
        row->setIcon(1, sharedIcon(config.output2IsSwitching
                                       ? QStringLiteral(":/newPrefix/icons/led_state_1_2.svg")
                                       : QStringLiteral(":/newPrefix/icons/led_state_0.svg")));
    }

    for (const QString &id : outputGroupIds())
        setPropertyVisible(id, config.shownGroups.contains(id)
                                   && !data->hiddenPropertyIds.contains(id));
    for (const GroupCaption &caption : config.groupCaptions) {
        // The unit labels bring their own leading space.
        const QString text = caption.quantity == Quantity::Pressure
                                 ? tr("Switching points Pressure") + data->pressureUnitLabel
                                 : tr("Switching points Temperature")
                                       + QString::fromLatin1(data->temperatureUnitLabel.c_str());
        if (QtProperty *group = findProperty(data->rootProperty, caption.groupId.toLatin1()))
            group->setPropertyName(text);
    }
    if (config.analogAxis)
        showAnalogAxis(config);
}

// The right-hand axis maps the plot's left scale, which runs from one analog point to the other,
// onto the output's volts or milliamperes.
void SensorWindow::showAnalogAxis(const OutputConfig &config)
{
    Utils::Charts::GenericChart *chart = data->chart;
    const int plot = int(*config.analogAxis);
    chart->setPlotTitle(plot, QString(), QString(), false, true);
    chart->vEnableYRightAxis(plot, true);
    chart->setCustomLabelsVisible(plot, true, true);
    chart->setYRightAxisScale(plot, config.rightAxisMin, config.rightAxisMax, 2.0);
    chart->setCustomLabelsText(plot, quantityCaption(*config.analogAxis),
                               config.currentOutput ? tr("Current (mA)") : tr("Voltage (V)"));
    QtProperty *low = findProperty(data->rootProperty, config.analogLowId.toLatin1());
    QtProperty *high = findProperty(data->rootProperty, config.analogHighId.toLatin1());
    if (low)
        low->setPropertyName(config.currentOutput ? tr("4 mA") : tr("0 volt"));
    if (high)
        high->setPropertyName(config.currentOutput ? tr("20 mA") : tr("10 volt"));
    data->analogPoint0 = low ? data->doubleManager->value(low) : 0.0;
    data->analogPoint10 = high ? data->doubleManager->value(high) : 0.0;
    chart->vSetMarkerRightVisible(plot, true);
    chart->setRightMarkerVisible(plot, true);
    chart->vSetYScale(plot, data->analogPoint0, data->analogPoint10);
}

QString SensorWindow::quantityCaption(Quantity quantity) const
{
    if (quantity == Quantity::Pressure)
        return tr("Pressure") + data->pressureUnitLabel;
    return tr("Temperature") + QString::fromLatin1(data->temperatureUnitLabel.c_str());
}

// A read filled the properties in bar and degrees Celsius, except those it left to a pending edit.
void SensorWindow::showDeviceValuesInDisplayUnits()
{
    const int unit = data->unitIndex;
    convertPoints(
        *this, *data, pressurePoints(), convertPressure(unit, true, data->pressureRangeMin),
        convertPressure(unit, true, data->pressureRangeMax),
        [unit](double bar) { return Core::convertPressure(unit, true, bar); }, pendingEdits);
    if (isFahrenheit(unit)) {
        convertPoints(
            *this, *data, temperaturePoints(), temperatureFloor, fahrenheitCeiling,
            [unit](double celsius) { return Core::convertTemperature(unit, celsius); },
            pendingEdits);
    }
}

void SensorWindow::convertUnitDependentValues(int oldUnitIndex)
{
    const EditsMuted muted(*this);
    data->unitIndex = enumPropertyValue(Ids::temperatureSettings, data->unitIndex);
    const int unit = data->unitIndex;
    convertPoints(*this, *data, pressurePoints(),
                  convertPressure(unit, true, data->pressureRangeMin),
                  convertPressure(unit, true, data->pressureRangeMax),
                  [unit, oldUnitIndex](double shown) {
                      return Core::convertPressure(
                          unit, true, Core::convertPressure(oldUnitIndex, false, shown));
                  });
    if (isFahrenheit(oldUnitIndex) != isFahrenheit(unit)) {
        convertPoints(*this, *data, temperaturePoints(), temperatureFloor, fahrenheitCeiling,
                      [unit](double shown) { return Core::convertTemperature(unit, shown); });
    }
}

// The device works in bar and degrees Celsius, whatever group is shown: a hidden analog point
// goes out of a write-all as converted as a shown one. An analog point edited onto the other end
// of its characteristic is moved one unit away; the sensor gets the moved point, so that it and
// the window agree.
QVariant SensorWindow::deviceUnitValue(QtProperty *property, const QVariant &value)
{
    if (propertyStorage(property) != ValueStorage::Decimal)
        return value;
    const QString id = property->propertyId();
    const std::optional<Quantity> quantity = unitDependentQuantity(id);
    if (!quantity)
        return value;
    // The values are in the units the tree shows, which a settings file may just have set.
    const int unit = enumPropertyValue(Ids::temperatureSettings, data->unitIndex);
    const bool pressure = *quantity == Quantity::Pressure;
    const auto toDevice = [&](double x) {
        if (pressure)
            return convertPressure(unit, false, x);
        return isFahrenheit(unit) ? convertTemperature(0, x) : x;
    };
    const double edited = toDevice(value.toDouble());
    const QString partner = analogPartner(id);
    if (partner.isEmpty())
        return edited;
    const bool highPoint = id == Ids::analogPoint(*quantity, true);
    const double point
        = separatedAnalogPoint(highPoint, edited, toDevice(doublePropertyValue(partner)),
                               pressure ? data->pressureRangeMin : temperatureFloor,
                               pressure ? data->pressureRangeMax : analogTemperatureTop);
    if (point != edited) {
        const double shown = pressure
                                 ? convertPressure(unit, true, point)
                                 : (isFahrenheit(unit) ? convertTemperature(unit, point) : point);
        data->doubleManager->setValue(property, shown);
    }
    return point;
}

void SensorWindow::vApplySensorRange()
{
    if (!descriptionTree->get_child_optional(DescriptionFormat::sensorListPath))
        return;
    if (const std::optional<SensorRange> range = sensorRange(*descriptionTree, sensor.name())) {
        data->pressureRangeMax = range->max;
        data->pressureRangeMin = range->min;
        data->pressureDivisor = usableDivisor(range->divisor, data->pressureDivisor);
    }

    const EditsMuted muted(*this);
    const int decimals = pressureDecimals(data->pressureDivisor);
    for (const PressurePoint &point : pressurePoints()) {
        QtProperty *property = findProperty(data->rootProperty, point.id.toLatin1());
        if (!property)
            continue;
        data->doubleManager->setDecimals(property, decimals);
        data->doubleManager->setRange(property, data->pressureRangeMin, data->pressureRangeMax);
        data->doubleManager->setValue(property, point.ofMinimum * data->pressureRangeMin
                                                    + point.ofMaximum * data->pressureRangeMax);
    }
}

void SensorWindow::vApplyVariantRange()
{
    const QString code = variantCode(connectedSensorText);
    if (code.isEmpty())
        return;
    // The sensor record holds the selected sensor's variants; the description only has to list it.
    const auto variants = sensor.tree.get_child_optional("sensors");
    if (variants && sensorRange(*descriptionTree, sensor.name())) {
        if (const std::optional<VariantRange> variant
            = variantRange(*variants, code.toStdString())) {
            data->pressureRangeMax = variant->max;
            data->pressureRangeMin = variant->min;
            data->bitsNumber = variant->bitsNumber;
            data->pressureDivisor = usableDivisor(variant->divisor, data->pressureDivisor);
            qCDebug(lcWindow) << "Sensor variant" << code << "has" << data->bitsNumber << "bits";
        }
    }
    updatePressureDecimals();
}

void SensorWindow::updatePressureDecimals()
{
    const EditsMuted muted(*this);
    const int decimals = pressureDecimals(data->pressureDivisor);
    for (int point = 0; point < switchingPointCount; ++point) {
        if (QtProperty *property
            = findProperty(data->rootProperty, pressurePoints()[point].id.toLatin1()))
            data->doubleManager->setDecimals(property, decimals);
    }
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
