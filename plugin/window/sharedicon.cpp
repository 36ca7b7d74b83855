#include "sharedicon.h"

#include <QHash>
#include <QIcon>
#include <QString>

namespace BravoSensorPlugin {
namespace Core {

QIcon sharedIcon(const QString &path)
{
    // Copies share the icon's engine and with it the pixmaps it has rendered.
    static QHash<QString, QIcon> icons;
    const auto known = icons.constFind(path);
    if (known != icons.constEnd())
        return *known;
    return *icons.insert(path, QIcon(path));
}

} // namespace Core
} // namespace BravoSensorPlugin
