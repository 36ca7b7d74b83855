#include "qttreepropertybrowser.h"

#include "propertyeditordelegate_p.h"
#include "propertytreewidget_p.h"
#include "qtbrowseritem.h"
#include "qtproperty.h"

#include <QEvent>
#include <QHash>
#include <QHeaderView>
#include <QIcon>
#include <QStyle>
#include <QVBoxLayout>

using QtPropertyBrowserInternal::PropertyEditorDelegate;
using QtPropertyBrowserInternal::PropertyTreeWidget;

class QtTreePropertyBrowserPrivate
{
public:
    explicit QtTreePropertyBrowserPrivate(QtTreePropertyBrowser *browser);

    QtBrowserItem *browserItem(const QTreeWidgetItem *treeItem) const;
    QWidget *createEditor(const QModelIndex &index, QWidget *parent) const;
    // Works on a row outside the tree as well: it then tells the view nothing.
    void fill(QTreeWidgetItem *treeItem, const QtProperty *property) const;
    // Spanning makes the view lay out all rows at once: only when it changes.
    static void span(QTreeWidgetItem *treeItem, const QtProperty *property);

    QtTreePropertyBrowser *m_browser;                      // not owned
    PropertyTreeWidget *m_tree;                            // owned by m_browser
    QHash<QtBrowserItem *, QTreeWidgetItem *> m_treeItems; // owned by m_tree
    QHash<const QTreeWidgetItem *, QtBrowserItem *> m_browserItems;
    QtTreePropertyBrowser::ResizeMode m_resizeMode = QtTreePropertyBrowser::Stretch;
};

QtTreePropertyBrowserPrivate::QtTreePropertyBrowserPrivate(QtTreePropertyBrowser *browser)
    : m_browser(browser)
    , m_tree(new PropertyTreeWidget(browser))
{
}

QtBrowserItem *QtTreePropertyBrowserPrivate::browserItem(const QTreeWidgetItem *treeItem) const
{
    return m_browserItems.value(treeItem);
}

QWidget *QtTreePropertyBrowserPrivate::createEditor(const QModelIndex &index, QWidget *parent) const
{
    const QtBrowserItem *item = browserItem(m_tree->itemFromIndex(index));
    if (!item || index.column() != PropertyTreeWidget::valueColumn)
        return nullptr;
    return m_browser->createEditor(item->property(), parent);
}

void QtTreePropertyBrowserPrivate::fill(QTreeWidgetItem *treeItem, const QtProperty *property) const
{
    const int value = PropertyTreeWidget::valueColumn;
    treeItem->setText(0, property->propertyName());
    treeItem->setText(value, property->valueText());
    treeItem->setIcon(value, property->valueIcon());
    treeItem->setToolTip(0, property->toolTip());
    const QString note = property->valueNote();
    treeItem->setToolTip(value, !note.isEmpty()                 ? note
                                : property->toolTip().isEmpty() ? property->valueText()
                                                                : property->toolTip());
    for (int column : {0, value}) {
        treeItem->setStatusTip(column, property->statusTip());
        treeItem->setWhatsThis(column, property->whatsThis());
    }
    // The tree greys out the children of a disabled item as well.
    treeItem->setDisabled(!property->isEnabled());

    const bool group = !property->hasValue();
    QFont font = m_tree->font();
    font.setBold(group);
    treeItem->setFont(0, font);
    // A noted value stands apart: slanted, and marked beside its name.
    QFont valueFont = m_tree->font();
    valueFont.setItalic(!note.isEmpty());
    treeItem->setFont(value, valueFont);
    treeItem->setIcon(
        0, note.isEmpty() ? QIcon() : m_tree->style()->standardIcon(QStyle::SP_MessageBoxWarning));
    treeItem->setBackground(0, group ? m_tree->palette().brush(QPalette::Button) : QBrush());
}

void QtTreePropertyBrowserPrivate::span(QTreeWidgetItem *treeItem, const QtProperty *property)
{
    const bool group = !property->hasValue();
    if (treeItem->isFirstColumnSpanned() != group)
        treeItem->setFirstColumnSpanned(group);
}

QtTreePropertyBrowser::QtTreePropertyBrowser(QWidget *parent)
    : QtAbstractPropertyBrowser(parent)
    , d(std::make_unique<QtTreePropertyBrowserPrivate>(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(d->m_tree);
    setFocusProxy(d->m_tree);

    QTreeWidget *tree = d->m_tree;
    tree->setColumnCount(2);
    retranslate();
    tree->setAlternatingRowColors(true);
    tree->setTextElideMode(Qt::ElideMiddle);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setRootIsDecorated(true);
    tree->setMouseTracking(true); // status tips follow the mouse
    tree->setItemDelegate(new PropertyEditorDelegate(
        [this](const QModelIndex &index, QWidget *editorParent) {
            return d->createEditor(index, editorParent);
        },
        tree));
    tree->header()->setStretchLastSection(true);
    setResizeMode(d->m_resizeMode);

    connect(tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) { setCurrentItem(d->browserItem(current)); });
    connect(this, &QtAbstractPropertyBrowser::currentItemChanged, this,
            [this](QtBrowserItem *item) {
                QTreeWidgetItem *treeItem = d->m_treeItems.value(item);
                if (d->m_tree->currentItem() != treeItem)
                    d->m_tree->setCurrentItem(treeItem);
            });
    connect(tree, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem *treeItem) { emit expanded(d->browserItem(treeItem)); });
    connect(tree, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem *treeItem) { emit collapsed(d->browserItem(treeItem)); });
}

// The tree outlives this destructor as a child widget; while it tears down its items
// it must not call back into the half-destroyed browser.
QtTreePropertyBrowser::~QtTreePropertyBrowser()
{
    d->m_tree->blockSignals(true);
}

QSize QtTreePropertyBrowser::sizeHint() const
{
    // A dock sized by the names alone would hide every value at first sight; one sized by a
    // long text would crowd the window out: beyond that, values are elided in the middle and
    // their tool tips show them whole.
    constexpr int narrowestValue = 140;
    constexpr int widestValue = 320;
    const PropertyTreeWidget *tree = d->m_tree;
    const int valueWidth = qBound(
        narrowestValue, tree->sizeHintForColumn(PropertyTreeWidget::valueColumn), widestValue);
    const int scrollBar = tree->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, tree);
    const int width = tree->sizeHintForColumn(0) + valueWidth + scrollBar + 2 * tree->frameWidth();
    const QSize base = QtAbstractPropertyBrowser::sizeHint();
    return {qMax(base.width(), width), base.height()};
}

int QtTreePropertyBrowser::indentation() const
{
    return d->m_tree->indentation();
}

void QtTreePropertyBrowser::setIndentation(int pixels)
{
    d->m_tree->setIndentation(pixels);
}

bool QtTreePropertyBrowser::rootIsDecorated() const
{
    return d->m_tree->rootIsDecorated();
}

void QtTreePropertyBrowser::setRootIsDecorated(bool show)
{
    d->m_tree->setRootIsDecorated(show);
}

bool QtTreePropertyBrowser::alternatingRowColors() const
{
    return d->m_tree->alternatingRowColors();
}

void QtTreePropertyBrowser::setAlternatingRowColors(bool enable)
{
    d->m_tree->setAlternatingRowColors(enable);
}

bool QtTreePropertyBrowser::isHeaderVisible() const
{
    return !d->m_tree->isHeaderHidden();
}

void QtTreePropertyBrowser::setHeaderVisible(bool visible)
{
    d->m_tree->setHeaderHidden(!visible);
}

QtTreePropertyBrowser::ResizeMode QtTreePropertyBrowser::resizeMode() const
{
    return d->m_resizeMode;
}

void QtTreePropertyBrowser::setResizeMode(ResizeMode mode)
{
    static const QHash<ResizeMode, QHeaderView::ResizeMode> headerModes = {
        {Interactive, QHeaderView::Interactive},
        {Stretch, QHeaderView::Stretch},
        {Fixed, QHeaderView::Fixed},
        {ResizeToContents, QHeaderView::ResizeToContents},
    };
    d->m_resizeMode = mode;
    d->m_tree->header()->setSectionResizeMode(0, headerModes.value(mode));
}

int QtTreePropertyBrowser::splitterPosition() const
{
    return d->m_tree->header()->sectionSize(0);
}

void QtTreePropertyBrowser::setSplitterPosition(int position)
{
    d->m_tree->header()->resizeSection(0, position);
}

bool QtTreePropertyBrowser::isExpanded(QtBrowserItem *item) const
{
    const QTreeWidgetItem *treeItem = d->m_treeItems.value(item);
    return treeItem && treeItem->isExpanded();
}

void QtTreePropertyBrowser::setExpanded(QtBrowserItem *item, bool expanded)
{
    if (QTreeWidgetItem *treeItem = d->m_treeItems.value(item))
        treeItem->setExpanded(expanded);
}

bool QtTreePropertyBrowser::isItemVisible(QtBrowserItem *item) const
{
    const QTreeWidgetItem *treeItem = d->m_treeItems.value(item);
    return treeItem && !treeItem->isHidden();
}

void QtTreePropertyBrowser::setItemVisible(QtBrowserItem *item, bool visible)
{
    if (QTreeWidgetItem *treeItem = d->m_treeItems.value(item))
        treeItem->setHidden(!visible);
}

void QtTreePropertyBrowser::editItem(QtBrowserItem *item)
{
    if (QTreeWidgetItem *treeItem = d->m_treeItems.value(item)) {
        d->m_tree->setCurrentItem(treeItem);
        d->m_tree->editItem(treeItem, PropertyTreeWidget::valueColumn);
    }
}

void QtTreePropertyBrowser::itemInserted(QtBrowserItem *item, QtBrowserItem *afterItem)
{
    // Filled before it joins the tree: each value set on a shown row would measure it again.
    auto *treeItem = new QTreeWidgetItem;
    treeItem->setFlags(treeItem->flags() | Qt::ItemIsEditable);
    d->fill(treeItem, item->property());
    QTreeWidgetItem *preceding = d->m_treeItems.value(afterItem);
    if (QTreeWidgetItem *parent = d->m_treeItems.value(item->parent())) {
        parent->insertChild(parent->indexOfChild(preceding) + 1, treeItem);
    } else {
        d->m_tree->insertTopLevelItem(d->m_tree->indexOfTopLevelItem(preceding) + 1, treeItem);
    }
    d->m_treeItems.insert(item, treeItem);
    d->m_browserItems.insert(treeItem, item);
    treeItem->setExpanded(true);
    d->span(treeItem, item->property());
}

void QtTreePropertyBrowser::itemRemoved(QtBrowserItem *item)
{
    QTreeWidgetItem *treeItem = d->m_treeItems.take(item);
    d->m_browserItems.remove(treeItem);
    delete treeItem;
}

void QtTreePropertyBrowser::itemChanged(QtBrowserItem *item)
{
    QTreeWidgetItem *treeItem = d->m_treeItems.value(item);
    d->fill(treeItem, item->property());
    d->span(treeItem, item->property());
}

void QtTreePropertyBrowser::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QtAbstractPropertyBrowser::changeEvent(event);
}

void QtTreePropertyBrowser::retranslate()
{
    d->m_tree->setHeaderLabels({tr("Property"), tr("Value")});
}
