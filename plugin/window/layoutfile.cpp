#include "layoutfile.h"

#include "logging.h"

#include <QMainWindow>
#include <QSettings>
#include <QStandardPaths>

namespace BravoSensorPlugin {
namespace Core {

QString layoutFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
           + QLatin1String("/IoLinkKR7Dfamily.ini");
}

void writeLayout(const QMainWindow &window)
{
    QSettings layout(layoutFilePath(), QSettings::IniFormat);
    layout.setValue(window.objectName() + QLatin1String("/geometry"), window.saveGeometry());
    layout.setValue(window.objectName() + QLatin1String("/state"), window.saveState(0));
    layout.sync();
    static bool told = false;
    if (layout.status() != QSettings::NoError && !told) {
        told = true;
        qCWarning(lcLayout).noquote()
            << QStringLiteral("Cannot write the window layout to %1").arg(layout.fileName());
    }
}

} // namespace Core
} // namespace BravoSensorPlugin
