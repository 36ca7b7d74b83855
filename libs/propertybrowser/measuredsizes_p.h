#pragma once

#include <QHash>
#include <QSize>
#include <QString>

#include <functional>

class QStyleOptionViewItem;
class QWidget;

namespace QtPropertyBrowserInternal {

// The sizes a view's style measured for cells. Measuring lays a cell's text out anew each time,
// and a tree sized to its contents measures every row at each resize and each change of a row.
class MeasuredSizes final
{
public:
    // The size of a cell whose option initStyleOption filled; measure() gives it when no cell
    // of the same look was measured before.
    QSize size(const QStyleOptionViewItem &cell, const QWidget *view,
               const std::function<QSize()> &measure);

private:
    static constexpr int capacity = 4096; // forgotten all at once beyond this

    QHash<QString, QSize> m_sizes;
};

} // namespace QtPropertyBrowserInternal
