#pragma once

#include <QEvent>
#include <QHash>
#include <QObject>

// Counts the paint events each widget it watches gets.
class PaintCounter : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++counts[watched];
        return false;
    }
    QHash<QObject *, int> counts;
};
