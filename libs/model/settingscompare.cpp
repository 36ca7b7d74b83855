#include "settingscompare.h"

#include "settingsdocument.h"

#include <QHash>

#include <cmath>

namespace BravoSensorPlugin {
namespace Core {

namespace {

// Read the way opening the file reads them, so "1" and "01", or 2.5 and 2.50000, agree. Texts
// and buttons never differ: opening a file leaves them alone.
bool sameValue(const StoredParameter &parameter, const QString &fileValue)
{
    switch (storageOf(parameter.kind)) {
    case ValueStorage::Choice:
    case ValueStorage::Whole:
        return parameterInt(parameter.value) == parameterInt(fileValue);
    case ValueStorage::Truth:
        return (parameterInt(parameter.value) != 0) == (parameterInt(fileValue) != 0);
    case ValueStorage::Decimal: {
        const double scale = std::pow(10.0, parameter.decimals);
        return std::llround(parameterDouble(parameter.value) * scale)
               == std::llround(parameterDouble(fileValue) * scale);
    }
    case ValueStorage::None:
    case ValueStorage::Button:
    case ValueStorage::Text:
        break;
    }
    return true;
}

} // namespace

QList<ParameterDifference> compareParameters(const QList<StoredParameter> &window,
                                             const QList<ParameterEntry> &file)
{
    QHash<QString, QString> fileValues;
    for (const ParameterEntry &entry : file)
        fileValues.insert(entry.id, entry.value);

    QList<ParameterDifference> differences;
    for (const StoredParameter &parameter : window) {
        const auto fileValue = fileValues.constFind(parameter.id);
        if (fileValue == fileValues.cend())
            continue;
        if (!parameter.unconfirmed.isEmpty() || !sameValue(parameter, *fileValue))
            differences.append({parameter.id, *fileValue, parameter.value, parameter.unconfirmed});
    }
    return differences;
}

QString differenceLine(const ParameterDifference &difference)
{
    if (difference.unconfirmed.isEmpty()) {
        return QStringLiteral("%1: file %2, sensor %3")
            .arg(difference.id, difference.fileValue, difference.windowValue);
    }
    return QStringLiteral("%1: file %2, window %3 (%4)")
        .arg(difference.id, difference.fileValue, difference.windowValue, difference.unconfirmed);
}

} // namespace Core
} // namespace BravoSensorPlugin
