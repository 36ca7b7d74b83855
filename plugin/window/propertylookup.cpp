#include "propertylookup.h"

#include <propertybrowser/qtproperty.h>

#include <QByteArray>

namespace BravoSensorPlugin {
namespace Core {

QtProperty *findProperty(QtProperty *start, const QByteArray &id)
{
    if (!start)
        return nullptr;
    const QList<QtProperty *> children = start->subProperties();
    for (QtProperty *child : children) {
        if (child->propertyId().toLatin1() == id)
            return child;
        if (QtProperty *found = findProperty(child, id))
            return found;
    }
    return nullptr;
}

QList<QtProperty *> allSubProperties(QtProperty *start)
{
    QList<QtProperty *> below;
    if (!start)
        return below;
    const QList<QtProperty *> children = start->subProperties();
    for (QtProperty *child : children) {
        below.append(child);
        below.append(allSubProperties(child));
    }
    return below;
}

} // namespace Core
} // namespace BravoSensorPlugin
