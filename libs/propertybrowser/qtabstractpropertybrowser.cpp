#include "qtabstractpropertybrowser.h"

#include "qtabstractpropertymanager.h"
#include "qtbrowseritem.h"
#include "qtproperty.h"

#include <QHash>
#include <QVector>

class QtAbstractPropertyBrowserPrivate
{
public:
    explicit QtAbstractPropertyBrowserPrivate(QtAbstractPropertyBrowser *browser);
    ~QtAbstractPropertyBrowserPrivate();

    QtBrowserItem *childItem(QtBrowserItem *parent, QtProperty *property) const;
    QtBrowserItem *createItem(QtProperty *property, QtBrowserItem *parent,
                              QtBrowserItem *afterItem);
    void removeItem(QtBrowserItem *item);

    void watchManager(QtAbstractPropertyManager *manager);
    void unwatchManager(QtAbstractPropertyManager *manager);
    void propertyInserted(QtProperty *property, QtProperty *parent, QtProperty *after);
    void propertyRemoved(QtProperty *property, QtProperty *parent);
    void propertyChanged(QtProperty *property);

    bool pair(QtAbstractPropertyManager *manager, QtAbstractEditorFactoryBase *factory);
    void unpair(QtAbstractPropertyManager *manager);
    void forgetFactory(QtAbstractEditorFactoryBase *factory);

    struct Watch
    {
        int shownProperties = 0;
        QVector<QMetaObject::Connection> connections;
    };
    struct Pairing
    {
        QtAbstractEditorFactoryBase *factory; // not owned
        QMetaObject::Connection managerGone;
        QMetaObject::Connection factoryGone;
    };

    QtAbstractPropertyBrowser *m_browser;   // not owned
    QList<QtBrowserItem *> m_topLevelItems; // owned, with their children
    QHash<QtProperty *, QList<QtBrowserItem *>> m_propertyItems;
    QHash<QtAbstractPropertyManager *, Watch> m_watches;
    QHash<QtAbstractPropertyManager *, Pairing> m_pairings;
    QtBrowserItem *m_currentItem = nullptr; // not owned
};

QtAbstractPropertyBrowserPrivate::QtAbstractPropertyBrowserPrivate(
    QtAbstractPropertyBrowser *browser)
    : m_browser(browser)
{
}

// The concrete browser is gone by now, so items are dropped without telling it.
QtAbstractPropertyBrowserPrivate::~QtAbstractPropertyBrowserPrivate()
{
    for (const QList<QtBrowserItem *> &items : qAsConst(m_propertyItems)) {
        for (QtBrowserItem *item : items)
            delete item;
    }
    for (const Watch &watch : qAsConst(m_watches)) {
        for (const QMetaObject::Connection &connection : watch.connections)
            QObject::disconnect(connection);
    }
    for (QtAbstractPropertyManager *manager : m_pairings.keys())
        unpair(manager);
}

QtBrowserItem *QtAbstractPropertyBrowserPrivate::childItem(QtBrowserItem *parent,
                                                           QtProperty *property) const
{
    const QList<QtBrowserItem *> &siblings = parent ? parent->m_children : m_topLevelItems;
    for (QtBrowserItem *item : siblings) {
        if (item->property() == property)
            return item;
    }
    return nullptr;
}

QtBrowserItem *QtAbstractPropertyBrowserPrivate::createItem(QtProperty *property,
                                                            QtBrowserItem *parent,
                                                            QtBrowserItem *afterItem)
{
    auto *item = new QtBrowserItem(m_browser, property, parent);
    QList<QtBrowserItem *> &siblings = parent ? parent->m_children : m_topLevelItems;
    siblings.insert(siblings.indexOf(afterItem) + 1, item);
    QList<QtBrowserItem *> &items = m_propertyItems[property];
    if (items.isEmpty())
        watchManager(property->propertyManager());
    items.append(item);
    m_browser->itemInserted(item, afterItem);

    QtBrowserItem *previous = nullptr;
    for (QtProperty *subProperty : property->subProperties())
        previous = createItem(subProperty, item, previous);
    return item;
}

void QtAbstractPropertyBrowserPrivate::removeItem(QtBrowserItem *item)
{
    const QList<QtBrowserItem *> children = item->m_children;
    for (auto child = children.crbegin(); child != children.crend(); ++child)
        removeItem(*child);

    if (m_currentItem == item)
        m_browser->setCurrentItem(nullptr);
    m_browser->itemRemoved(item);

    QList<QtBrowserItem *> &siblings
        = item->m_parent ? item->m_parent->m_children : m_topLevelItems;
    siblings.removeOne(item);
    QtProperty *property = item->property();
    QList<QtBrowserItem *> &items = m_propertyItems[property];
    items.removeOne(item);
    if (items.isEmpty()) {
        m_propertyItems.remove(property);
        unwatchManager(property->propertyManager());
    }
    delete item;
}

void QtAbstractPropertyBrowserPrivate::watchManager(QtAbstractPropertyManager *manager)
{
    Watch &watch = m_watches[manager];
    if (watch.shownProperties++ > 0)
        return;
    watch.connections = {
        QObject::connect(manager, &QtAbstractPropertyManager::propertyInserted, m_browser,
                         [this](QtProperty *property, QtProperty *parent, QtProperty *after) {
                             propertyInserted(property, parent, after);
                         }),
        QObject::connect(manager, &QtAbstractPropertyManager::propertyRemoved, m_browser,
                         [this](QtProperty *property, QtProperty *parent) {
                             propertyRemoved(property, parent);
                         }),
        QObject::connect(manager, &QtAbstractPropertyManager::propertyChanged, m_browser,
                         [this](QtProperty *property) { propertyChanged(property); }),
        QObject::connect(manager, &QtAbstractPropertyManager::propertyDestroyed, m_browser,
                         &QtAbstractPropertyBrowser::removeProperty),
    };
}

void QtAbstractPropertyBrowserPrivate::unwatchManager(QtAbstractPropertyManager *manager)
{
    auto watch = m_watches.find(manager);
    if (--watch->shownProperties > 0)
        return;
    for (const QMetaObject::Connection &connection : qAsConst(watch->connections))
        QObject::disconnect(connection);
    m_watches.erase(watch);
}

void QtAbstractPropertyBrowserPrivate::propertyInserted(QtProperty *property, QtProperty *parent,
                                                        QtProperty *after)
{
    for (QtBrowserItem *parentItem : m_propertyItems.value(parent))
        createItem(property, parentItem, childItem(parentItem, after));
}

void QtAbstractPropertyBrowserPrivate::propertyRemoved(QtProperty *property, QtProperty *parent)
{
    for (QtBrowserItem *parentItem : m_propertyItems.value(parent)) {
        if (QtBrowserItem *item = childItem(parentItem, property))
            removeItem(item);
    }
}

void QtAbstractPropertyBrowserPrivate::propertyChanged(QtProperty *property)
{
    for (QtBrowserItem *item : m_propertyItems.value(property))
        m_browser->itemChanged(item);
}

bool QtAbstractPropertyBrowserPrivate::pair(QtAbstractPropertyManager *manager,
                                            QtAbstractEditorFactoryBase *factory)
{
    if (!manager || !factory)
        return false;
    const auto existing = m_pairings.constFind(manager);
    if (existing != m_pairings.cend() && existing->factory == factory)
        return false;
    unpair(manager);

    // A manager or factory deleted while paired leaves the pairing; the factory itself
    // forgets a deleted manager.
    Pairing pairing{factory, {}, {}};
    pairing.managerGone
        = QObject::connect(manager, &QObject::destroyed, m_browser, [this, manager] {
              const Pairing gone = m_pairings.take(manager);
              QObject::disconnect(gone.factoryGone);
              gone.factory->m_browserPairings.remove(manager);
          });
    pairing.factoryGone = QObject::connect(factory, &QObject::destroyed, m_browser,
                                           [this, factory] { forgetFactory(factory); });
    m_pairings.insert(manager, pairing);
    ++factory->m_browserPairings[manager];
    return true;
}

void QtAbstractPropertyBrowserPrivate::unpair(QtAbstractPropertyManager *manager)
{
    const auto found = m_pairings.constFind(manager);
    if (found == m_pairings.cend())
        return;
    const Pairing pairing = *found;
    m_pairings.erase(found);
    QObject::disconnect(pairing.managerGone);
    QObject::disconnect(pairing.factoryGone);
    QtAbstractEditorFactoryBase *factory = pairing.factory;
    if (--factory->m_browserPairings[manager] > 0)
        return;
    factory->m_browserPairings.remove(manager);
    factory->breakConnection(manager);
}

void QtAbstractPropertyBrowserPrivate::forgetFactory(QtAbstractEditorFactoryBase *factory)
{
    for (auto pairing = m_pairings.begin(); pairing != m_pairings.end();) {
        if (pairing->factory == factory) {
            QObject::disconnect(pairing->managerGone);
            pairing = m_pairings.erase(pairing);
        } else {
            ++pairing;
        }
    }
}

// Registered so that currentItemChanged can be queued and spied on by its signature.
QtAbstractPropertyBrowser::QtAbstractPropertyBrowser(QWidget *parent)
    : QWidget(parent)
    , d(std::make_unique<QtAbstractPropertyBrowserPrivate>(this))
{
    qRegisterMetaType<QtBrowserItem *>("QtBrowserItem*");
}

QtAbstractPropertyBrowser::~QtAbstractPropertyBrowser() = default;

QList<QtProperty *> QtAbstractPropertyBrowser::properties() const
{
    QList<QtProperty *> result;
    for (const QtBrowserItem *item : qAsConst(d->m_topLevelItems))
        result.append(item->property());
    return result;
}

QList<QtBrowserItem *> QtAbstractPropertyBrowser::items(QtProperty *property) const
{
    return d->m_propertyItems.value(property);
}

QtBrowserItem *QtAbstractPropertyBrowser::topLevelItem(QtProperty *property) const
{
    return d->childItem(nullptr, property);
}

QList<QtBrowserItem *> QtAbstractPropertyBrowser::topLevelItems() const
{
    return d->m_topLevelItems;
}

void QtAbstractPropertyBrowser::clear()
{
    while (!d->m_topLevelItems.isEmpty())
        d->removeItem(d->m_topLevelItems.constLast());
}

void QtAbstractPropertyBrowser::unsetFactoryForManager(QtAbstractPropertyManager *manager)
{
    d->unpair(manager);
}

QtBrowserItem *QtAbstractPropertyBrowser::currentItem() const
{
    return d->m_currentItem;
}

void QtAbstractPropertyBrowser::setCurrentItem(QtBrowserItem *item)
{
    if (item == d->m_currentItem)
        return;
    d->m_currentItem = item;
    emit currentItemChanged(item);
}

QtBrowserItem *QtAbstractPropertyBrowser::addProperty(QtProperty *property)
{
    const QtBrowserItem *last
        = d->m_topLevelItems.isEmpty() ? nullptr : d->m_topLevelItems.constLast();
    return insertProperty(property, last ? last->property() : nullptr);
}

QtBrowserItem *QtAbstractPropertyBrowser::insertProperty(QtProperty *property,
                                                         QtProperty *afterProperty)
{
    if (!property || topLevelItem(property))
        return nullptr;
    return d->createItem(property, nullptr, topLevelItem(afterProperty));
}

void QtAbstractPropertyBrowser::removeProperty(QtProperty *property)
{
    if (QtBrowserItem *item = topLevelItem(property))
        d->removeItem(item);
}

QWidget *QtAbstractPropertyBrowser::createEditor(QtProperty *property, QWidget *parent)
{
    const auto pairing = d->m_pairings.constFind(property->propertyManager());
    return pairing == d->m_pairings.cend() ? nullptr
                                           : pairing->factory->createEditor(property, parent);
}

bool QtAbstractPropertyBrowser::pairFactory(QtAbstractPropertyManager *manager,
                                            QtAbstractEditorFactoryBase *factory)
{
    return d->pair(manager, factory);
}
