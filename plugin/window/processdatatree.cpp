#include "processdatatree.h"

#include "plaincelldelegate.h"

#include <utils/replotpace.h>

#include <algorithm>

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
    m_lagTimer.setSingleShot(true);
    m_lagTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_lagTimer, &QTimer::timeout, this, &ProcessDataTree::showValueChanges);
}

// The tree view measures every cell of a changed row to find its height again. A value shown
// more often than a reader can follow costs a repaint each time: the poll that finds the last
// showing a pace ago shows it, along with the plots' own replot; the timer is left for when no
// poll follows.
void ProcessDataTree::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                                  const QVector<int> &roles)
{
    if (!keepsRowHeights(topLeft, bottomRight, roles)) {
        QTreeWidget::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    const bool known = std::any_of(m_unshown.begin(), m_unshown.end(), [&](const auto &change) {
        return change.topLeft == topLeft && change.bottomRight == bottomRight
               && change.roles == roles;
    });
    if (!known)
        m_unshown.push_back({topLeft, bottomRight, roles});
    if (!m_unshownFor.isValid())
        m_unshownFor.start();
    if (!m_sinceShown.isValid() || m_sinceShown.elapsed() >= Utils::Charts::replotPaceMs) {
        showValueChanges();
    } else if (!m_lagTimer.isActive()) {
        m_lagTimer.start(int(std::max<qint64>(
            0, Utils::Charts::longestValueLagMs - m_unshownFor.elapsed())));
    }
}

void ProcessDataTree::showValueChanges()
{
    m_lagTimer.stop();
    m_unshownFor.invalidate();
    m_sinceShown.start();
    const std::vector<ValueChange> changes = std::move(m_unshown);
    m_unshown.clear();
    for (const ValueChange &change : changes) {
        if (change.topLeft.isValid() && change.bottomRight.isValid())
            QAbstractItemView::dataChanged(change.topLeft, change.bottomRight, change.roles);
    }
}

} // namespace Core
} // namespace BravoSensorPlugin
