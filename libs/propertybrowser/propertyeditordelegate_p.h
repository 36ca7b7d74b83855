#pragma once

#include "measuredsizes_p.h"

#include <QStyledItemDelegate>

#include <functional>

namespace QtPropertyBrowserInternal {

// Draws the rows of a property tree and asks for the value editors. Editors
// change their property through its manager, so nothing is written to the model.
class PropertyEditorDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // Gives the editor for the value at the index, or null.
    using EditorSource = std::function<QWidget *(const QModelIndex &index, QWidget *parent)>;

    PropertyEditorDelegate(EditorSource source, QObject *parent);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    EditorSource m_source;
    mutable MeasuredSizes m_measured;
};

} // namespace QtPropertyBrowserInternal
