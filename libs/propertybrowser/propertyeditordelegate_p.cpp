#include "propertyeditordelegate_p.h"

#include <QPainter>

namespace QtPropertyBrowserInternal {

namespace {
// Room around the text, so that spin boxes and combo boxes fit the row.
constexpr int rowPadding = 6;
} // namespace

PropertyEditorDelegate::PropertyEditorDelegate(EditorSource source, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_source(std::move(source))
{
}

QWidget *PropertyEditorDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                              const QModelIndex &index) const
{
    return m_source(index, parent);
}

void PropertyEditorDelegate::setEditorData(QWidget *, const QModelIndex &) const {}

void PropertyEditorDelegate::setModelData(QWidget *, QAbstractItemModel *,
                                          const QModelIndex &) const
{
}

void PropertyEditorDelegate::updateEditorGeometry(QWidget *editor,
                                                  const QStyleOptionViewItem &option,
                                                  const QModelIndex &) const
{
    editor->setGeometry(option.rect);
}

// Light grid lines keep long lists readable.
void PropertyEditorDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                   const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    painter->save();
    painter->setPen(option.palette.color(QPalette::Midlight));
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    if (index.column() == 0)
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
    painter->restore();
}

QSize PropertyEditorDelegate::sizeHint(const QStyleOptionViewItem &option,
                                       const QModelIndex &index) const
{
    if (index.data(Qt::SizeHintRole).isValid())
        return QStyledItemDelegate::sizeHint(option, index) + QSize(0, rowPadding);
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QSize measured = m_measured.size(cell, option.widget, [&] {
        return QStyledItemDelegate::sizeHint(option, index);
    });
    return measured + QSize(0, rowPadding);
}

} // namespace QtPropertyBrowserInternal
