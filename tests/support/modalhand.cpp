#include "modalhand.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>

namespace {

// Modal dialogs shown with exec(): message boxes and the direction dialog, not the window's own
// update dialog, which is only shown.
QDialog *openDialog()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        auto *dialog = qobject_cast<QDialog *>(window);
        if (dialog && dialog->isVisible()
            && dialog->objectName() != QLatin1String("DataFrameSenderUi") && dialog->isModal()
            && (qobject_cast<QMessageBox *>(dialog)
                || dialog->objectName() == QLatin1String("connectionSwitchingDialog")))
            return dialog;
    }
    return nullptr;
}

} // namespace

ModalHand::ModalHand()
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &ModalHand::look);
    m_timer.start();
}

ModalHand::Answer ModalHand::click(QMessageBox::StandardButton button)
{
    return [button](QDialog *dialog) {
        if (auto *box = qobject_cast<QMessageBox *>(dialog))
            box->button(button)->click();
    };
}

ModalHand::Answer ModalHand::push(const QString &buttonName)
{
    return [buttonName](QDialog *dialog) {
        if (auto *button = dialog->findChild<QPushButton *>(buttonName))
            button->click();
    };
}

ModalHand::Answer ModalHand::pressEscape()
{
    return [](QDialog *dialog) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(dialog, &escape);
    };
}

void ModalHand::look()
{
    QDialog *dialog = openDialog();
    // Answered at the second sight only: a dialog is shown before its exec() starts waiting.
    const bool seenBefore = dialog && dialog == m_lastSeen;
    m_lastSeen = dialog;
    if (!dialog) {
        m_unansweredSince.reset();
        return;
    }
    if (!seenBefore)
        return;
    if (!m_expected.empty()) {
        record(dialog);
        Answer answer = std::move(m_expected.front());
        m_expected.pop_front();
        answer(dialog);
        return;
    }
    if (m_fallback) {
        record(dialog);
        m_fallback(dialog);
        return;
    }
    if (!m_unansweredSince)
        m_unansweredSince = QDeadlineTimer(2000);
    if (m_unansweredSince->hasExpired()) {
        record(dialog);
        m_unexpected << m_boxesSeen.last();
        dialog->reject();
        m_unansweredSince.reset();
    }
}

void ModalHand::record(QDialog *dialog)
{
    const auto *box = qobject_cast<QMessageBox *>(dialog);
    m_boxesSeen << (box ? box->windowTitle() + QLatin1Char('|') + box->text()
                        : dialog->objectName());
}
