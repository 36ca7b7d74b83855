#pragma once

#include <QTreeWidget>

namespace QtPropertyBrowserInternal {

// The tree inside QtTreePropertyBrowser: opens the value editor on a single click
// in the value column and on Enter or F2.
class PropertyTreeWidget final : public QTreeWidget
{
    Q_OBJECT

public:
    static constexpr int valueColumn = 1;

    explicit PropertyTreeWidget(QWidget *parent = nullptr);

    using QTreeWidget::itemFromIndex;
    using QTreeWidget::sizeHintForColumn;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace QtPropertyBrowserInternal
