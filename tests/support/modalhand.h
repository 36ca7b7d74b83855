#pragma once

#include <QDeadlineTimer>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <deque>
#include <functional>
#include <optional>

class QDialog;

// Answers the message boxes and dialogs that code under test opens modally. Every box must be
// expected; one that is not is recorded and closed after a while, so no test hangs on it.
class ModalHand final : public QObject
{
    Q_OBJECT
public:
    using Answer = std::function<void(QDialog *)>;

    ModalHand();

    void expect(Answer answer) { m_expected.push_back(std::move(answer)); }
    // Answers every box that no expectation covers, instead of recording it as unexpected:
    // for tests whose random steps cannot foretell their boxes.
    void setFallback(Answer answer) { m_fallback = std::move(answer); }
    // Title and text of every message box seen, in order ("title|text").
    const QStringList &boxesSeen() const { return m_boxesSeen; }
    const QStringList &unexpected() const { return m_unexpected; }
    bool allAnswered() const { return m_expected.empty(); }

    static Answer click(QMessageBox::StandardButton button);
    // A button of a dialog by its object name.
    static Answer push(const QString &buttonName);
    static Answer pressEscape();

private:
    void look();
    void record(QDialog *dialog);

    QTimer m_timer;
    std::deque<Answer> m_expected;
    Answer m_fallback;
    std::optional<QDeadlineTimer> m_unansweredSince;
    QPointer<QDialog> m_lastSeen;
    QStringList m_boxesSeen;
    QStringList m_unexpected;
};
