#pragma once

#include <QObject>

class QAbstractScrollArea;

namespace BravoSensorPlugin {
namespace Core {

// Keeps a view's viewport filling its own background under a style sheet that would leave it
// transparent, each time the style polishes it again. A transparent viewport makes every change
// of a row repaint all the widgets behind it, up to the window.
class FilledViewport final : public QObject
{
public:
    // Lives as long as the view.
    explicit FilledViewport(QAbstractScrollArea *view);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace Core
} // namespace BravoSensorPlugin
