#pragma once

#include <QList>
#include <QString>

// Which of a window's parameter values differ from a settings file's.
namespace BravoSensorPlugin {
namespace Core {

struct ParameterEntry;

// How a stored value is read back when a settings file is opened.
enum class StoredValueKind {
    Whole,       // enumeration index or integer
    Truth,       // non-zero is true
    Decimal,     // compared at the property's decimals
    NotRestored, // texts: opening a file leaves them alone, so they never differ
};

// One parameter of the window, its value written as the settings file writes it.
struct StoredParameter
{
    QString id;
    StoredValueKind kind = StoredValueKind::Whole;
    QString value;
    int decimals = 0;
    QString unconfirmed; // why the sensor has not confirmed the value; empty when it has
};

struct ParameterDifference
{
    QString id;
    QString fileValue;   // as the file holds it
    QString windowValue; // as the settings file would write it
    QString unconfirmed; // why the sensor has not confirmed windowValue; empty when it has
};

// In the window's order. Only ids that the file holds are compared, each by its last entry
// (the one opening applies last); ids the window does not know are skipped. A value the sensor
// has not confirmed is listed even when it equals the file's: the sensor may hold another.
QList<ParameterDifference> compareParameters(const QList<StoredParameter> &window,
                                             const QList<ParameterEntry> &file);

// "<id>: file <value>, sensor <value>", or "<id>: file <value>, window <value> (<why>)" for a
// value the sensor has not confirmed.
QString differenceLine(const ParameterDifference &difference);

} // namespace Core
} // namespace BravoSensorPlugin
