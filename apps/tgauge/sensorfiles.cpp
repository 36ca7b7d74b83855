#include "sensorfiles.h"

#include <QDir>
#include <QFileInfo>

namespace TGauge {

namespace {

const QString sensorPlaceholder = QStringLiteral("{sensor}");
const QString portPlaceholder = QStringLiteral("{port}");

bool isFolder(const QString &pattern)
{
    return pattern.endsWith(QLatin1Char('/')) || QFileInfo(pattern).isDir();
}

} // namespace

bool namesEachSensorApart(const QString &pattern)
{
    return pattern.contains(sensorPlaceholder) || pattern.contains(portPlaceholder)
           || isFolder(pattern);
}

QString sensorFile(const QString &pattern, const QString &sensor, const QString &port,
                   const QString &suffix)
{
    const QString portPart = portFileNamePart(port);
    if (isFolder(pattern)) {
        const QString name = portPart.isEmpty() ? sensor : sensor + QLatin1Char('-') + portPart;
        return QDir(pattern).filePath(name + QLatin1Char('.') + suffix);
    }
    QString file = pattern;
    return file.replace(sensorPlaceholder, sensor).replace(portPlaceholder, portPart);
}

QString portFileNamePart(const QString &port)
{
    QString part = port.section(QLatin1Char('/'), -1);
    return part.replace(QLatin1Char(':'), QLatin1Char('_'));
}

} // namespace TGauge
