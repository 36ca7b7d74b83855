#include "batchanswerer.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace TGauge {

namespace {

QAbstractButton *buttonIn(const QMessageBox *box,
                          std::initializer_list<QMessageBox::ButtonRole> roles)
{
    const QList<QAbstractButton *> buttons = box->buttons();
    for (QAbstractButton *button : buttons) {
        if (std::find(roles.begin(), roles.end(), box->buttonRole(button)) != roles.end())
            return button;
    }
    return nullptr;
}

// The box finds its escape button only when a key asks for it; this is the same choice.
QAbstractButton *escapeButton(const QMessageBox *box)
{
    if (QAbstractButton *button = box->escapeButton())
        return button;
    if (QAbstractButton *button = buttonIn(box, {QMessageBox::RejectRole}))
        return button;
    return buttonIn(box, {QMessageBox::NoRole});
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
        button = buttonIn(box, {QMessageBox::AcceptRole, QMessageBox::YesRole});
    if (!button)
        button = escapeButton(box);
    const QString caption = button ? button->text().remove(QLatin1Char('&')) : QString();
    QString text = box->text();
    if (!box->informativeText().isEmpty())
        text += QLatin1Char(' ') + box->informativeText();
    emit answered(QStringLiteral("tgauge: %1: %2 [%3]")
                      .arg(oneLine(box->windowTitle()), oneLine(text), caption));
    if (button)
        button->click();
    else
        box->reject();
}

} // namespace TGauge
