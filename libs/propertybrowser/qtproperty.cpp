#include "qtproperty.h"

#include "qtabstractpropertymanager.h"

#include <QIcon>

QtProperty::QtProperty(QtAbstractPropertyManager *manager)
    : m_manager(manager)
{
}

// Parents learn of the removal first, so that browsers drop the items below them
// before the manager announces the destruction.
QtProperty::~QtProperty()
{
    for (QtProperty *parent : QList<QtProperty *>(m_parents))
        parent->removeSubProperty(this);
    m_manager->forgetProperty(this);
    for (QtProperty *child : qAsConst(m_subProperties))
        child->m_parents.removeOne(this);
}

QList<QtProperty *> QtProperty::subProperties() const
{
    return m_subProperties;
}

QtAbstractPropertyManager *QtProperty::propertyManager() const
{
    return m_manager;
}

QString QtProperty::propertyName() const
{
    return m_name;
}

QString QtProperty::propertyId() const
{
    return m_id;
}

QString QtProperty::toolTip() const
{
    return m_toolTip;
}

QString QtProperty::statusTip() const
{
    return m_statusTip;
}

QString QtProperty::whatsThis() const
{
    return m_whatsThis;
}

bool QtProperty::isEnabled() const
{
    return m_enabled;
}

bool QtProperty::isModified() const
{
    return m_modified;
}

bool QtProperty::hasValue() const
{
    return m_manager->hasValue(this);
}

QIcon QtProperty::valueIcon() const
{
    return m_manager->valueIcon(this);
}

QString QtProperty::valueText() const
{
    return m_manager->valueText(this);
}

template <class T>
void QtProperty::assign(T &field, const T &value)
{
    if (field == value)
        return;
    field = value;
    propertyChanged();
}

void QtProperty::setPropertyName(const QString &text)
{
    assign(m_name, text);
}

void QtProperty::setPropertyId(const QString &id)
{
    assign(m_id, id);
}

QString QtProperty::valueNote() const
{
    return m_valueNote;
}

void QtProperty::setValueNote(const QString &note)
{
    assign(m_valueNote, note);
}

void QtProperty::setToolTip(const QString &text)
{
    assign(m_toolTip, text);
}

void QtProperty::setStatusTip(const QString &text)
{
    assign(m_statusTip, text);
}

void QtProperty::setWhatsThis(const QString &text)
{
    assign(m_whatsThis, text);
}

void QtProperty::setEnabled(bool enable)
{
    assign(m_enabled, enable);
}

void QtProperty::setModified(bool modified)
{
    assign(m_modified, modified);
}

void QtProperty::addSubProperty(QtProperty *property)
{
    insertSubProperty(property, m_subProperties.isEmpty() ? nullptr : m_subProperties.constLast());
}

void QtProperty::insertSubProperty(QtProperty *property, QtProperty *afterProperty)
{
    // A property appears once below a parent, and never below itself.
    if (!property || m_subProperties.contains(property) || isDescendantOf(property))
        return;
    const int position = m_subProperties.indexOf(afterProperty) + 1;
    m_subProperties.insert(position, property);
    property->m_parents.append(this);
    emit m_manager->propertyInserted(property, this, position == 0 ? nullptr : afterProperty);
}

void QtProperty::removeSubProperty(QtProperty *property)
{
    if (!m_subProperties.removeOne(property))
        return;
    property->m_parents.removeOne(this);
    emit m_manager->propertyRemoved(property, this);
}

void QtProperty::propertyChanged()
{
    emit m_manager->propertyChanged(this);
}

bool QtProperty::isDescendantOf(const QtProperty *property) const
{
    if (this == property)
        return true;
    for (const QtProperty *parent : m_parents) {
        if (parent->isDescendantOf(property))
            return true;
    }
    return false;
}
