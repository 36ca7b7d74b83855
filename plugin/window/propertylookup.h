#pragma once

#include <QList>

class QByteArray;
class QtProperty;

// The two lookups of the property tree; both search below start, never start itself.
namespace BravoSensorPlugin {
namespace Core {

// Depth first, the first property whose id, in Latin-1, equals id; null when none or start is null.
QtProperty *findProperty(QtProperty *start, const QByteArray &id);
// Every property below start, each before its own sub-properties, siblings in order.
QList<QtProperty *> allSubProperties(QtProperty *start);

} // namespace Core
} // namespace BravoSensorPlugin
