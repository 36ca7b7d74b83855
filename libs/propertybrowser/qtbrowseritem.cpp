#include "qtbrowseritem.h"

QtBrowserItem::QtBrowserItem(QtAbstractPropertyBrowser *browser, QtProperty *property,
                             QtBrowserItem *parent)
    : m_browser(browser)
    , m_property(property)
    , m_parent(parent)
{
}

QtBrowserItem::~QtBrowserItem() = default;

QtProperty *QtBrowserItem::property() const
{
    return m_property;
}

QtBrowserItem *QtBrowserItem::parent() const
{
    return m_parent;
}

QList<QtBrowserItem *> QtBrowserItem::children() const
{
    return m_children;
}

QtAbstractPropertyBrowser *QtBrowserItem::browser() const
{
    return m_browser;
}
