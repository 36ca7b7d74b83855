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
};

struct ParameterDifference
{
    QString id;
    QString fileValue;   // as the file holds it
    QString windowValue; // as the settings file would write it
};

// In the window's order. Only ids that the file holds are compared, each by its last entry
// (the one opening applies last); ids the window does not know are skipped.
QList<ParameterDifference> compareParameters(const QList<StoredParameter> &window,
                                             const QList<ParameterEntry> &file);

// "<id>: file <value>, sensor <value>"
QString differenceLine(const ParameterDifference &difference);

} // namespace Core
} // namespace BravoSensorPlugin
