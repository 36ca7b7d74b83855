#include "progressbarui.h"

#include "fiberwait.h"

#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QSet>
#include <QVBoxLayout>
#include <QWidget>

namespace Utils {

class ProgressBarUi::Private
{
public:
    QDialog *ensureDialog(QWidget *parent)
    {
        if (!dialog) {
            dialog = new QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint);
            dialog->setObjectName(QStringLiteral("progressBarUiDialog"));
            auto *layout = new QVBoxLayout(dialog);
            auto *label = new QLabel(ProgressBarUi::tr("Please wait..."), dialog);
            auto *bar = new QProgressBar(dialog);
            bar->setRange(0, 0);
            bar->setTextVisible(false);
            layout->addWidget(label);
            layout->addWidget(bar);
            dialog->setFixedSize(220, dialog->sizeHint().height());
        }
        return dialog;
    }

    QWidget *parent = nullptr; // not owned
    QPointer<QDialog> dialog;  // owned; its parent may delete it first
    bool modal = false;
    bool showUi = true;
    FiberWait *loop = nullptr; // not owned: lives on exec's stack
    unsigned int waitingFor = 0;
    QSet<unsigned int> endedEarly; // ids that arrived before exec waited for them
};

ProgressBarUi::ProgressBarUi(QWidget *parent)
    : QObject(parent)
    , d(std::make_unique<Private>())
{
    d->parent = parent;
}

ProgressBarUi::~ProgressBarUi()
{
    if (d->loop)
        d->loop->quit();
    delete d->dialog.data();
}

void ProgressBarUi::setModal(bool modal)
{
    d->modal = modal;
}

void ProgressBarUi::setShowUi(bool show)
{
    d->showUi = show;
}

bool ProgressBarUi::isUiVisible() const
{
    return d->dialog && d->dialog->isVisible();
}

void ProgressBarUi::exec(int id)
{
    const unsigned int wanted = unsigned(id);
    if (d->endedEarly.remove(wanted))
        return;
    if (d->showUi) {
        QDialog *dialog = d->ensureDialog(d->parent);
        dialog->setModal(d->modal);
        dialog->show();
    }
    FiberWait loop;
    FiberWait *const outerLoop = d->loop;
    const unsigned int outerId = d->waitingFor;
    d->loop = &loop;
    d->waitingFor = wanted;
    // The owner may delete this object from inside the loop.
    const QPointer<ProgressBarUi> self(this);
    loop.exec();
    if (!self)
        return;
    d->loop = outerLoop;
    d->waitingFor = outerId;
    if (d->dialog && !outerLoop)
        d->dialog->hide();
}

void ProgressBarUi::exit(unsigned int id)
{
    if (!d->loop)
        d->endedEarly.insert(id);
    else if (id == d->waitingFor)
        d->loop->quit();
}

} // namespace Utils
