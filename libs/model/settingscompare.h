#pragma once

#include "parameterkind.h"

#include <QList>
#include <QString>

// Which of a window's parameter values differ from a settings file's.
namespace BravoSensorPlugin {
namespace Core {

struct ParameterEntry;

// One parameter of the window, its value written as the settings file writes it.
struct StoredParameter
{
    QString id;
    ParameterKind kind = ParameterKind::Int; // decides how a file's value reads back
    QString value;
    int decimals = 0;    // of a double: values compare at them
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
