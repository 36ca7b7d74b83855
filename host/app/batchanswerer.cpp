#include "batchanswerer.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace TGauge {

namespace {

QAbstractButton *acceptingButton(const QMessageBox *box)
{
    const QList<QAbstractButton *> buttons = box->buttons();
    for (QAbstractButton *button : buttons) {
        const QMessageBox::ButtonRole role = box->buttonRole(button);
        if (role == QMessageBox::AcceptRole || role == QMessageBox::YesRole)
            return button;
    }
    return nullptr;
}

QString oneLine(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace

BatchAnswerer::BatchAnswerer(QObject *parent)
    : QObject(parent)
{
}

// The box completes its buttons in its own show handling and only then enters
// its event loop, so the answer is given from the loop, never from the show.
bool BatchAnswerer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Show)
        return false;
    if (auto box = qobject_cast<QMessageBox *>(watched)) {
        QTimer::singleShot(0, box, [this, box] { answer(box); });
    } else if (auto dialog = qobject_cast<QFileDialog *>(watched)) {
        QTimer::singleShot(0, dialog, &QDialog::reject);
    }
    return false;
}

void BatchAnswerer::answer(QMessageBox *box)
{
    QAbstractButton *button = box->defaultButton();
    if (!button)
        button = acceptingButton(box);
    if (!button)
        button = box->escapeButton();
    const QString caption = button ? button->text().remove(QLatin1Char('&')) : QString();
    emit answered(QStringLiteral("tgauge: %1: %2 [%3]").arg(oneLine(box->windowTitle()), oneLine(box->text()), caption));
    if (button)
        button->click();
    else
        box->reject();
}

} // namespace TGauge
