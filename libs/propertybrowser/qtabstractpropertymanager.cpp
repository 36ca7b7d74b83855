#include "qtabstractpropertymanager.h"

#include "qtproperty.h"

#include <QIcon>

// Registered so that the signals can be queued and spied on by their signature.
QtAbstractPropertyManager::QtAbstractPropertyManager(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<QtProperty *>("QtProperty*");
}

QtAbstractPropertyManager::~QtAbstractPropertyManager()
{
    clear();
}

QSet<QtProperty *> QtAbstractPropertyManager::properties() const
{
    return QSet<QtProperty *>(m_properties.cbegin(), m_properties.cend());
}

void QtAbstractPropertyManager::clear()
{
    // Each deletion takes the property out of m_properties.
    while (!m_properties.isEmpty())
        delete m_properties.constLast();
}

QtProperty *QtAbstractPropertyManager::addProperty(const QString &name)
{
    QtProperty *property = createProperty();
    property->m_name = name;
    m_properties.append(property);
    initializeProperty(property);
    return property;
}

bool QtAbstractPropertyManager::hasValue(const QtProperty *) const
{
    return true;
}

QIcon QtAbstractPropertyManager::valueIcon(const QtProperty *) const
{
    return QIcon();
}

QString QtAbstractPropertyManager::valueText(const QtProperty *) const
{
    return QString();
}

void QtAbstractPropertyManager::uninitializeProperty(QtProperty *) {}

QtProperty *QtAbstractPropertyManager::createProperty()
{
    return new QtProperty(this);
}

void QtAbstractPropertyManager::forgetProperty(QtProperty *property)
{
    emit propertyDestroyed(property);
    uninitializeProperty(property);
    m_properties.removeOne(property);
}
