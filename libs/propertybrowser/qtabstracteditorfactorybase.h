#pragma once

#include <QHash>
#include <QObject>

class QWidget;
class QtAbstractPropertyManager;
class QtProperty;

// The type-erased side of an editor factory, as a browser sees it.
class QtAbstractEditorFactoryBase : public QObject
{
    Q_OBJECT

public:
    // An editor for the property, or null when its manager is not served by this factory.
    virtual QWidget *createEditor(QtProperty *property, QWidget *parent) = 0;

protected:
    explicit QtAbstractEditorFactoryBase(QObject *parent = nullptr);

    // Stops serving the manager; called when the last browser pairing it with this factory lets go.
    virtual void breakConnection(QtAbstractPropertyManager *manager) = 0;

protected slots:
    virtual void managerDestroyed(QObject *manager) = 0;

private:
    friend class QtAbstractPropertyBrowserPrivate;

    QHash<QtAbstractPropertyManager *, int>
        m_browserPairings; // per manager: browsers using this pair
};
