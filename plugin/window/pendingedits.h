#pragma once

#include <QList>
#include <QVariant>

class QtProperty;

namespace BravoSensorPlugin {
namespace Core {

// Edits the sensor has not been sent yet, in the order they were first made. A property edited
// again keeps its place and takes the newer value, so each one is written once.
class PendingEdits
{
public:
    struct Edit
    {
        QtProperty *property; // owned by its manager
        QVariant value;
    };

    void record(QtProperty *property, const QVariant &value);
    bool contains(const QtProperty *property) const;
    bool isEmpty() const { return m_edits.isEmpty(); }
    Edit takeFirst() { return m_edits.takeFirst(); }

private:
    QList<Edit> m_edits;
};

} // namespace Core
} // namespace BravoSensorPlugin
