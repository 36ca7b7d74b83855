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
    // The widget's own size still holds when it announces its show. The base class would show
    // the sub-window at once, laying the widget out for a size the host is about to change
    // (maximised, activated): the host shows it, once.
    if (m_sizeTaken || watched != widget() || event->type() != QEvent::ShowToParent)
        return QMdiSubWindow::eventFilter(watched, event);
    m_sizeTaken = true;
    const QSize requested = widget()->size();
    QMargins frame = contentsMargins();
    if (layout())
        frame += layout()->contentsMargins();
    resize(requested.grownBy(frame));
    return false;
}

} // namespace TGauge
