#pragma once

#include "outputconfig.h"
#include "settingsdocument.h"

#include <QList>
#include <QString>

#include <boost/property_tree/ptree_fwd.hpp>

#include <optional>
#include <string>

// Whether a settings file may be opened: all of it checks out, or none of it is taken.
namespace BravoSensorPlugin {
namespace Core {

// What a stored value of one parameter must be.
struct ParameterRule
{
    QString id;
    bool decimal = false; // a double; otherwise a whole number (enumeration index, int, 0 or 1)
    double minimum = 0.0; // in bar or degrees Celsius when the value follows the units
    double maximum = 0.0;
    std::optional<Quantity> quantity; // set when the value is shown in the selected unit
};

// A rule for every value the description's parameter nodes (document.treeGui.default) hold, in
// tree order; texts, buttons and groups have none.
QList<ParameterRule> parameterRules(const boost::property_tree::ptree &parameterNodes);

// The rule's range in the unit of unitIndex (0..7).
std::pair<double, double> rangeInUnit(const ParameterRule &rule, int unitIndex);

enum class SettingsProblem {
    None,
    Missing,        // no such file
    Unreadable,     // cannot be opened, or larger than any settings file
    NotXml,         // not well-formed XML
    NoRoot,         // no element "root"
    ForeignFile,    // the plug-in or sensor id is not this window's
    MissingElement, // "pluginsettings", "propertytreedata", "chartdata" or "chartdata1"
    NotANumber,     // a value that is not a number of its parameter's kind
    OutOfRange,     // a value outside its parameter's range, in the file's unit
    DamagedHistory, // a chart history that does not decode (found by whoever decodes it)
};

// A value that passed its check, and the range it was checked against.
struct CheckedValue
{
    QString id;
    double value = 0.0; // whole numbers are exact
    double minimum = 0.0;
    double maximum = 0.0;
};

struct CheckedSettings
{
    QList<CheckedValue> values; // in file order; a repeated id's last entry comes last
    int unitIndex = 0;          // the file's own units
    std::string history0;       // pressure
    std::string history1;       // temperature
};

struct SettingsCheck
{
    SettingsProblem problem = SettingsProblem::None;
    QString where;        // the parameter id, or the missing element
    QString value;        // the refused value as the file holds it
    double minimum = 0.0; // the range an out-of-range value missed, in the file's unit
    double maximum = 0.0;
    CheckedSettings settings; // whole only without a problem
};

// Checks everything but the decoding of the histories, which move into the result. Entries whose
// id has no rule are skipped. The file's units are its unit-selection entry, else the shown
// ones.
SettingsCheck checkSettings(SettingsReadResult read, const QString &sensorId,
                            const QList<ParameterRule> &rules, int shownUnitIndex);

} // namespace Core
} // namespace BravoSensorPlugin
