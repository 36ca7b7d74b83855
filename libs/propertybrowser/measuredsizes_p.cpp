#include "measuredsizes_p.h"

#include <QStyleOptionViewItem>
#include <QWidget>

namespace QtPropertyBrowserInternal {

namespace {

// Everything of a cell that its measured size depends on.
QString lookOf(const QStyleOptionViewItem &cell, const QWidget *view)
{
    const QChar separator(0x1f);
    const bool wraps = cell.features.testFlag(QStyleOptionViewItem::WrapText);
    const QStyle *style = view ? view->style() : nullptr;
    return cell.text + separator + cell.font.key() + separator
           + QString::number(int(cell.features)) + separator
           + QString::number(int(cell.state)) + separator
           + QString::number(int(cell.checkState)) + separator
           + QString::number(int(cell.decorationPosition)) + separator
           + QString::number(cell.decorationSize.width()) + QLatin1Char('x')
           + QString::number(cell.decorationSize.height()) + separator
           + QString::number(int(cell.direction)) + separator
           + QString::number(wraps ? cell.rect.width() : -1) + separator
           + QString::number(quintptr(style), 16);
}

} // namespace

QSize MeasuredSizes::size(const QStyleOptionViewItem &cell, const QWidget *view,
                          const std::function<QSize()> &measure)
{
    const QString look = lookOf(cell, view);
    const auto known = m_sizes.constFind(look);
    if (known != m_sizes.cend())
        return *known;
    if (m_sizes.size() >= capacity)
        m_sizes.clear();
    const QSize measured = measure();
    m_sizes.insert(look, measured);
    return measured;
}

} // namespace QtPropertyBrowserInternal
