#include "plaincelldelegate.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>

namespace BravoSensorPlugin {
namespace Core {

namespace {

// The style that really paints a view's items, when it paints them the way QCommonStyle does:
// a style sheet hands item cells to the application's style unless it has rules for them, which
// ours do not have.
const QStyle *commonItemPainter(const QWidget *view)
{
    const QStyle *style = view ? view->style() : QApplication::style();
    if (qstrcmp(style->metaObject()->className(), "QStyleSheetStyle") == 0)
        style = QApplication::style();
    const char *name = style->metaObject()->className();
    const bool common = qstrcmp(name, "QFusionStyle") == 0 || qstrcmp(name, "QWindowsStyle") == 0
                        || qstrcmp(name, "QCommonStyle") == 0;
    return common ? style : nullptr;
}

// Only text on the row's own background, left to right from the left edge, on one line, with
// the whole cell for it (as tree views give it).
bool isPlainLine(const QStyleOptionViewItem &cell)
{
    const auto extras = QStyleOptionViewItem::HasDecoration
                        | QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::WrapText;
    const auto marked = QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_Editing;
    const Qt::Alignment horizontal = QStyle::visualAlignment(cell.direction, cell.displayAlignment)
                                     & Qt::AlignHorizontal_Mask & ~Qt::AlignAbsolute;
    return (cell.features & QStyleOptionViewItem::HasDisplay) && !(cell.features & extras)
           && !(cell.state & marked) && cell.showDecorationSelected
           && cell.backgroundBrush.style() == Qt::NoBrush && cell.direction == Qt::LeftToRight
           && horizontal == Qt::AlignLeft && cell.decorationPosition == QStyleOptionViewItem::Left
           && !cell.text.isEmpty() && !cell.text.contains(QChar::LineSeparator);
}

QPalette::ColorGroup colorGroup(const QStyleOptionViewItem &cell)
{
    if (!(cell.state & QStyle::State_Enabled))
        return QPalette::Disabled;
    return cell.state & QStyle::State_Active ? QPalette::Normal : QPalette::Inactive;
}

// Where the style puts the text and whether it has to shorten it, worked out from the one
// layout: the style narrows the cell by a margin on each side and centres the laid out line in
// it. False when the text would be elided.
bool paintLine(QPainter *painter, const QStyleOptionViewItem &cell, int margin)
{
    QTextOption textOption;
    textOption.setWrapMode(QTextOption::ManualWrap);
    textOption.setTextDirection(cell.direction);
    textOption.setAlignment(QStyle::visualAlignment(cell.direction, cell.displayAlignment));
    QTextLayout layout(cell.text, cell.font);
    layout.setTextOption(textOption);
    // Otherwise the end of the layout drops the shaped glyphs and drawing shapes them again.
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(cell.rect.width() - 2 * margin);
    line.setPosition(QPointF(0, 0));
    layout.endLayout();

    const QRect textRect = cell.rect.adjusted(margin, 0, -margin, 0);
    if (line.naturalTextWidth() > textRect.width())
        return false;
    const QRect lineRect = QStyle::alignedRect(Qt::LayoutDirectionAuto, cell.displayAlignment,
                                               layout.boundingRect().size().toSize(), textRect);

    painter->save();
    painter->setClipRect(cell.rect);
    painter->setPen(cell.palette.color(colorGroup(cell), QPalette::Text));
    layout.draw(painter, QPointF(textRect.x(), lineRect.top()));
    painter->restore();
    return true;
}

} // namespace

PlainCellDelegate::PlainCellDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

void PlainCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const
{
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QStyle *style = commonItemPainter(cell.widget);
    if (!style || !isPlainLine(cell)
        || !paintLine(painter, cell,
                      style->pixelMetric(QStyle::PM_FocusFrameHMargin, &cell, cell.widget) + 1))
        QStyledItemDelegate::paint(painter, option, index);
}

} // namespace Core
} // namespace BravoSensorPlugin
