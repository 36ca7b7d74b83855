#pragma once

#include <QStyledItemDelegate>

namespace BravoSensorPlugin {
namespace Core {

// Paints a cell that shows one line of text and nothing else with a single layout of the text,
// pixel for pixel as the style would; the style lays the same text out again and again to measure,
// place and elide it. Any other cell, and any cell under a style that paints items its own way, is
// the style's.
class PlainCellDelegate final : public QStyledItemDelegate
{
public:
    explicit PlainCellDelegate(QObject *parent);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};

} // namespace Core
} // namespace BravoSensorPlugin
