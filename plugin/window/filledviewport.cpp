#include "filledviewport.h"

#include <QAbstractScrollArea>
#include <QEvent>

namespace BravoSensorPlugin {
namespace Core {

FilledViewport::FilledViewport(QAbstractScrollArea *view)
    : QObject(view)
{
    view->viewport()->installEventFilter(this);
    view->viewport()->setAutoFillBackground(true);
}

// The style polishes before it sends either event.
bool FilledViewport::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Polish || event->type() == QEvent::StyleChange)
        static_cast<QWidget *>(watched)->setAutoFillBackground(true);
    return false;
}

} // namespace Core
} // namespace BravoSensorPlugin
