#pragma once

#include <QObject>

QT_BEGIN_NAMESPACE
class QMessageBox;
QT_END_NAMESPACE

namespace TGauge {

// Installed on the application in a batch run: no box waits for a person.
// A message box is answered with its default button, else its accepting
// button (the run asked for the action), else its escape button; a file
// dialog is rejected as if cancelled.
class BatchAnswerer final : public QObject
{
    Q_OBJECT
public:
    explicit BatchAnswerer(QObject *parent = nullptr);

signals:
    // "tgauge: <title>: <text> [<answer>]" for every box answered; <text> ends with the box's
    // informative text, if any.
    void answered(const QString &line);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void answer(QMessageBox *box);
};

} // namespace TGauge
