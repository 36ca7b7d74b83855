#pragma once

#include "qtabstracteditorfactory.h"

#include <QWidget>

#include <memory>

class QtAbstractPropertyBrowserPrivate;
class QtAbstractPropertyManager;
class QtBrowserItem;
class QtProperty;

// Keeps a tree of browser items in step with the properties added to it and
// their sub-properties; a concrete browser shows the items and their editors.
class QtAbstractPropertyBrowser : public QWidget
{
    Q_OBJECT

public:
    explicit QtAbstractPropertyBrowser(QWidget *parent = nullptr);
    ~QtAbstractPropertyBrowser() override;

    QList<QtProperty *> properties() const;
    QList<QtBrowserItem *> items(QtProperty *property) const;
    QtBrowserItem *topLevelItem(QtProperty *property) const;
    QList<QtBrowserItem *> topLevelItems() const;
    void clear();

    // Edits the manager's properties with the factory; a manager has at most one factory per
    // browser.
    template <class PropertyManager>
    void setFactoryForManager(PropertyManager *manager,
                              QtAbstractEditorFactory<PropertyManager> *factory)
    {
        if (pairFactory(manager, factory))
            factory->addPropertyManager(manager);
    }
    void unsetFactoryForManager(QtAbstractPropertyManager *manager);

    QtBrowserItem *currentItem() const;
    void setCurrentItem(QtBrowserItem *item);

signals:
    void currentItemChanged(QtBrowserItem *current);

public slots:
    QtBrowserItem *addProperty(QtProperty *property);
    // Null when the property is already a top-level property of this browser.
    QtBrowserItem *insertProperty(QtProperty *property, QtProperty *afterProperty);
    void removeProperty(QtProperty *property);

protected:
    virtual void itemInserted(QtBrowserItem *item, QtBrowserItem *afterItem) = 0;
    virtual void itemRemoved(QtBrowserItem *item) = 0;
    virtual void itemChanged(QtBrowserItem *item) = 0;
    // An editor from the factory paired with the property's manager, or null.
    virtual QWidget *createEditor(QtProperty *property, QWidget *parent);

private:
    friend class QtAbstractPropertyBrowserPrivate;

    bool pairFactory(QtAbstractPropertyManager *manager, QtAbstractEditorFactoryBase *factory);

    std::unique_ptr<QtAbstractPropertyBrowserPrivate> d;
};
