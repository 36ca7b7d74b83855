#include "settingscheck.h"

#include "parameterids.h"
#include "propertynode.h"
#include "valuerules.h"

#include <QHash>

#include <boost/property_tree/ptree.hpp>

#include <cmath>
#include <utility>

namespace BravoSensorPlugin {
namespace Core {

namespace {

using boost::property_tree::ptree;

// The switching and analog points: shown in the selected units, stored in bar and degrees Celsius.
std::optional<Quantity> shownQuantity(const QString &id)
{
    if (isPressureId(id))
        return Quantity::Pressure;
    if (id.startsWith(QLatin1String("ThresholdsTemp"))
        || id.startsWith(QLatin1String("analogTemp")))
        return Quantity::Temperature;
    return std::nullopt;
}

std::optional<ParameterRule> ruleOf(const PropertyNode &node)
{
    switch (storageOf(node.type)) {
    case ValueStorage::Choice:
        return ParameterRule{node.id, false, 0.0, double(node.items.size() - 1), std::nullopt};
    case ValueStorage::Truth:
        return ParameterRule{node.id, false, 0.0, 1.0, std::nullopt};
    case ValueStorage::Whole:
        return ParameterRule{node.id, false, node.minimum, node.maximum, std::nullopt};
    case ValueStorage::Decimal:
        return ParameterRule{node.id, true, node.minimum, node.maximum, shownQuantity(node.id)};
    case ValueStorage::None:
    case ValueStorage::Button:
    case ValueStorage::Text:
        break;
    }
    return std::nullopt;
}

// As the window builds its tree: a node that does not read ends its branch.
void collectRules(const ptree &node, QList<ParameterRule> &rules)
{
    const std::optional<PropertyNode> description = readPropertyNode(node, "en");
    if (!description)
        return;
    if (const std::optional<ParameterRule> rule = ruleOf(*description))
        rules.append(*rule);
    for (const auto &child : node) {
        if (child.first == "property")
            collectRules(child.second, rules);
    }
}

std::optional<double> numberOfKind(const QString &text, bool decimal)
{
    bool ok = false;
    const double value = decimal ? text.toDouble(&ok) : double(text.toInt(&ok));
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The bounds are rounded to 3 decimals as the window rounds them; the file holds 6.
bool withinRange(double value, double minimum, double maximum)
{
    constexpr double slack = 1e-9;
    return value >= minimum - slack && value <= maximum + slack;
}

SettingsProblem readProblem(SettingsReadError error)
{
    switch (error) {
    case SettingsReadError::None:
        break;
    case SettingsReadError::Missing:
        return SettingsProblem::Missing;
    case SettingsReadError::Unreadable:
        return SettingsProblem::Unreadable;
    case SettingsReadError::NotXml:
        return SettingsProblem::NotXml;
    case SettingsReadError::NoRoot:
        return SettingsProblem::NoRoot;
    }
    return SettingsProblem::None;
}

SettingsCheck missingElement(const char *name)
{
    SettingsCheck check;
    check.problem = SettingsProblem::MissingElement;
    check.where = QString::fromLatin1(name);
    return check;
}

} // namespace

QList<ParameterRule> parameterRules(const ptree &parameterNodes)
{
    QList<ParameterRule> rules;
    for (const auto &node : parameterNodes)
        collectRules(node.second, rules);
    return rules;
}

std::pair<double, double> rangeInUnit(const ParameterRule &rule, int unitIndex)
{
    if (rule.quantity == Quantity::Pressure)
        return {convertPressure(unitIndex, true, rule.minimum),
                convertPressure(unitIndex, true, rule.maximum)};
    if (rule.quantity == Quantity::Temperature && isFahrenheit(unitIndex))
        return {convertTemperature(unitIndex, rule.minimum),
                convertTemperature(unitIndex, rule.maximum)};
    return {rule.minimum, rule.maximum};
}

SettingsCheck checkSettings(SettingsReadResult read, const QString &sensorId,
                            const QList<ParameterRule> &rules, int shownUnitIndex)
{
    SettingsCheck check;
    check.problem = readProblem(read.error);
    if (check.problem != SettingsProblem::None)
        return check;
    SettingsDocument &document = read.document;
    if (document.pluginId != QString::fromLatin1(settingsPluginId)
        || document.sensorId != sensorId) {
        check.problem = SettingsProblem::ForeignFile;
        return check;
    }
    if (!document.hasPluginSettings)
        return missingElement("pluginsettings");
    if (!document.parameterText)
        return missingElement("propertytreedata");
    if (!document.chartData0)
        return missingElement("chartdata");
    if (!document.chartData1)
        return missingElement("chartdata1");

    // The first rule of an id, as the window's lookup finds the first property.
    QHash<QString, const ParameterRule *> ruleOfId;
    for (const ParameterRule &rule : rules) {
        if (!ruleOfId.contains(rule.id))
            ruleOfId.insert(rule.id, &rule);
    }
    struct Entry
    {
        const ParameterRule *rule;
        QString text;
        double value;
    };
    QList<Entry> entries;
    int unitIndex = shownUnitIndex;
    const QList<ParameterEntry> parsed = parseParameterText(*document.parameterText);
    for (const ParameterEntry &entry : parsed) {
        const ParameterRule *rule = ruleOfId.value(entry.id);
        if (!rule)
            continue;
        const std::optional<double> value = numberOfKind(entry.value, rule->decimal);
        if (!value) {
            check.problem = SettingsProblem::NotANumber;
            check.where = entry.id;
            check.value = entry.value;
            return check;
        }
        entries.append({rule, entry.value, *value});
        if (entry.id == QLatin1String(ParameterIds::temperatureSettings)
            && isUnitIndex(int(*value)))
            unitIndex = int(*value);
    }
    // The units are known only once all entries are read: the file's values belong to them.
    for (const Entry &entry : entries) {
        const auto [minimum, maximum] = rangeInUnit(*entry.rule, unitIndex);
        if (!withinRange(entry.value, minimum, maximum)) {
            check.problem = SettingsProblem::OutOfRange;
            check.where = entry.rule->id;
            check.value = entry.text;
            check.minimum = minimum;
            check.maximum = maximum;
            return check;
        }
        check.settings.values.append({entry.rule->id, entry.value, minimum, maximum});
    }
    check.settings.unitIndex = unitIndex;
    // A day of history is some MB of text.
    check.settings.history0 = std::move(*document.chartData0);
    check.settings.history1 = std::move(*document.chartData1);
    return check;
}

} // namespace Core
} // namespace BravoSensorPlugin
