#include "sensorsubwindow.h"

#include <QEvent>
#include <QLayout>

namespace TGauge {

SensorSubWindow::SensorSubWindow(QWidget *parent)
    : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

bool SensorSubWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The widget's own size still holds when it announces its show; the base
    // class lays it out right after.
    if (m_sizeTaken || watched != widget() || event->type() != QEvent::ShowToParent)
        return QMdiSubWindow::eventFilter(watched, event);
    m_sizeTaken = true;
    const QSize requested = widget()->size();
    const bool handled = QMdiSubWindow::eventFilter(watched, event);
    QMargins frame = contentsMargins();
    if (layout())
        frame += layout()->contentsMargins();
    resize(requested.grownBy(frame));
    return handled;
}

} // namespace TGauge
