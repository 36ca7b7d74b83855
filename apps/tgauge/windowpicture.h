#pragma once

#include <QList>
#include <QPixmap>

QT_BEGIN_NAMESPACE
class QDialog;
class QWidget;
QT_END_NAMESPACE

namespace TGauge {

// The visible dialogs of the application, the top-most last.
QList<QDialog *> openDialogs();

// The window as the user sees it: its own picture with every open dialog drawn over it
// where it stands, clipped to the window.
QPixmap pictureWithDialogs(QWidget &window);

} // namespace TGauge
