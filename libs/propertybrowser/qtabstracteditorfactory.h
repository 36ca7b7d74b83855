#pragma once

#include "qtabstracteditorfactorybase.h"
#include "qtproperty.h"

#include <QSet>

// Creates editors for the properties of managers of one type. A derived factory
// connects to each manager's signals to keep its editors in step with the values.
template <class PropertyManager>
class QtAbstractEditorFactory : public QtAbstractEditorFactoryBase
{
public:
    explicit QtAbstractEditorFactory(QObject *parent = nullptr)
        : QtAbstractEditorFactoryBase(parent)
    {
    }

    QWidget *createEditor(QtProperty *property, QWidget *parent) override
    {
        PropertyManager *manager = propertyManager(property);
        return manager ? createEditor(manager, property, parent) : nullptr;
    }

    void addPropertyManager(PropertyManager *manager)
    {
        if (!manager || m_managers.contains(manager))
            return;
        m_managers.insert(manager);
        connectPropertyManager(manager);
        connect(manager, &QObject::destroyed, this, &QtAbstractEditorFactory::managerDestroyed);
    }

    void removePropertyManager(PropertyManager *manager)
    {
        if (!m_managers.remove(manager))
            return;
        disconnect(manager, &QObject::destroyed, this, &QtAbstractEditorFactory::managerDestroyed);
        disconnectPropertyManager(manager);
    }

    QSet<PropertyManager *> propertyManagers() const { return m_managers; }

    PropertyManager *propertyManager(QtProperty *property) const
    {
        if (!property)
            return nullptr;
        for (PropertyManager *manager : m_managers) {
            if (manager == property->propertyManager())
                return manager;
        }
        return nullptr;
    }

protected:
    virtual void connectPropertyManager(PropertyManager *manager) = 0;
    virtual QWidget *createEditor(PropertyManager *manager, QtProperty *property, QWidget *parent)
        = 0;
    virtual void disconnectPropertyManager(PropertyManager *manager) = 0;

    // The manager is half destroyed here: only its address is compared.
    void managerDestroyed(QObject *manager) override
    {
        for (PropertyManager *known : m_managers) {
            if (known == manager) {
                m_managers.remove(known);
                return;
            }
        }
    }

private:
    void breakConnection(QtAbstractPropertyManager *manager) override
    {
        for (PropertyManager *known : m_managers) {
            if (known == manager) {
                removePropertyManager(known);
                return;
            }
        }
    }

    QSet<PropertyManager *> m_managers; // not owned
};
