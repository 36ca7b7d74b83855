#pragma once

#include <propertybrowser/qtbrowseritem.h>
#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qttreepropertybrowser.h>

#include <QHeaderView>
#include <QMetaType>
#include <QStringList>
#include <QTreeWidget>

Q_DECLARE_METATYPE(QtProperty *)
Q_DECLARE_METATYPE(QtBrowserItem *)

// Looks into a QtTreePropertyBrowser the way a user sees it: rows of the tree inside.
namespace BrowserTesting {

inline QTreeWidget *treeOf(const QtTreePropertyBrowser &browser)
{
    return browser.findChild<QTreeWidget *>();
}

inline QList<QTreeWidgetItem *> rows(const QtTreePropertyBrowser &browser, const QString &name)
{
    return treeOf(browser)->findItems(name, Qt::MatchExactly | Qt::MatchRecursive, 0);
}

inline QTreeWidgetItem *row(const QtTreePropertyBrowser &browser, const QString &name)
{
    const QList<QTreeWidgetItem *> found = rows(browser, name);
    return found.isEmpty() ? nullptr : found.constFirst();
}

// The centre of a row's cell: column 0 holds the name, column 1 the value.
inline QPoint cell(const QtTreePropertyBrowser &browser, const QString &name, int column)
{
    const QTreeWidget *tree = treeOf(browser);
    const QHeaderView *header = tree->header();
    return {header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
            tree->visualItemRect(row(browser, name)).center().y()};
}

// "name(child,child(grandchild))" for the items below and including the given ones.
inline QString outline(const QList<QtBrowserItem *> &items)
{
    QStringList parts;
    for (const QtBrowserItem *item : items) {
        const QList<QtBrowserItem *> children = item->children();
        parts.append(item->property()->propertyName()
                     + (children.isEmpty()
                            ? QString()
                            : QLatin1Char('(') + outline(children) + QLatin1Char(')')));
    }
    return parts.join(QLatin1Char(','));
}

// The same outline, read from the tree rows.
inline QString outline(const QTreeWidgetItem *parent)
{
    QStringList parts;
    for (int i = 0; i < parent->childCount(); ++i) {
        const QTreeWidgetItem *child = parent->child(i);
        parts.append(child->text(0)
                     + (child->childCount() == 0
                            ? QString()
                            : QLatin1Char('(') + outline(child) + QLatin1Char(')')));
    }
    return parts.join(QLatin1Char(','));
}

} // namespace BrowserTesting
