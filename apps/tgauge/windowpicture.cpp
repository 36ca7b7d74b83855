#include "windowpicture.h"

#include <QApplication>
#include <QDialog>
#include <QPainter>

#include <algorithm>

namespace TGauge {

QList<QDialog *> openDialogs()
{
    QList<QDialog *> dialogs;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<QDialog *>(widget); dialog && dialog->isVisible())
            dialogs << dialog;
    }
    // A modal dialog stays above the others, whatever the order they were created in.
    std::stable_partition(dialogs.begin(), dialogs.end(),
                          [](const QDialog *dialog) { return !dialog->isModal(); });
    return dialogs;
}

QPixmap pictureWithDialogs(QWidget &window)
{
    QPixmap picture = window.grab();
    QPainter painter(&picture);
    const QPoint origin = window.mapToGlobal(QPoint(0, 0));
    for (QDialog *dialog : openDialogs())
        painter.drawPixmap(dialog->mapToGlobal(QPoint(0, 0)) - origin, dialog->grab());
    return picture;
}

} // namespace TGauge
