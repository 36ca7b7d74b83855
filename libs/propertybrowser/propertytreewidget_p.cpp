#include "propertytreewidget_p.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace QtPropertyBrowserInternal {

PropertyTreeWidget::PropertyTreeWidget(QWidget *parent)
    : QTreeWidget(parent)
{
    setEditTriggers(NoEditTriggers);
}

void PropertyTreeWidget::mousePressEvent(QMouseEvent *event)
{
    QTreeWidget::mousePressEvent(event);
    const QModelIndex index = indexAt(event->pos());
    if (event->button() == Qt::LeftButton && index.column() == valueColumn)
        edit(index);
}

void PropertyTreeWidget::keyPressEvent(QKeyEvent *event)
{
    const bool editKey = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter
                         || event->key() == Qt::Key_F2;
    if (editKey && state() != EditingState && currentItem()) {
        editItem(currentItem(), valueColumn);
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

} // namespace QtPropertyBrowserInternal
