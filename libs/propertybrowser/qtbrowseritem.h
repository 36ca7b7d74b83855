#pragma once

#include <QList>

class QtAbstractPropertyBrowser;
class QtProperty;

// One place where a browser shows a property. A property shown under two parents
// has two items.
class QtBrowserItem final
{
public:
    QtProperty *property() const;
    QtBrowserItem *parent() const;
    QList<QtBrowserItem *> children() const;
    QtAbstractPropertyBrowser *browser() const;

private:
    friend class QtAbstractPropertyBrowserPrivate;

    QtBrowserItem(QtAbstractPropertyBrowser *browser, QtProperty *property, QtBrowserItem *parent);
    ~QtBrowserItem();

    QtAbstractPropertyBrowser *m_browser; // not owned
    QtProperty *m_property;               // not owned
    QtBrowserItem *m_parent;              // not owned
    QList<QtBrowserItem *> m_children;    // owned by the browser
};
