#include "processdatatree.h"

#include "plaincelldelegate.h"

namespace BravoSensorPlugin {
namespace Core {

namespace {

// A row is as high as its tallest cell, and a cell with a size hint is as high as the hint says,
// whatever it shows; a change of the hint itself (or of roles not named) may change the height.
bool keepsRowHeights(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QVector<int> &roles)
{
    if (roles.isEmpty() || roles.contains(Qt::SizeHintRole)
        || topLeft.column() != bottomRight.column() || topLeft.parent() != bottomRight.parent())
        return false;
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
        if (!topLeft.siblingAtRow(row).data(Qt::SizeHintRole).isValid())
            return false;
    }
    return true;
}

} // namespace

ProcessDataTree::ProcessDataTree(QWidget *parent)
    : QTreeWidget(parent)
{
    // Polls repaint the value cells many times a second.
    setItemDelegate(new PlainCellDelegate(this));
}

// The tree view measures every cell of a changed row to find its height again.
void ProcessDataTree::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                                  const QVector<int> &roles)
{
    if (keepsRowHeights(topLeft, bottomRight, roles))
        QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
    else
        QTreeWidget::dataChanged(topLeft, bottomRight, roles);
}

} // namespace Core
} // namespace BravoSensorPlugin
