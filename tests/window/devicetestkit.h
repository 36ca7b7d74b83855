#pragma once

// What the window's communication tests share: masters to talk to and a hand for modal boxes.
#include <extensionsystem/communicationinterface.h>
#include <extensionsystem/portsettings.h>

#include <simulator/mastersimulator.h>
#include <simulator/simulatedconnection.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

inline QString descriptionPath()
{
    return QStringLiteral(KR7D_APP_DIR "/IoLinkKR7Dfamily.xml");
}

// A simulated master with one sensor of the shipped description; a product id other than the
// sensor's makes the device report a foreign identity.
inline std::unique_ptr<Kr7dSim::SimulatedConnection> simulatedMaster(const QString &sensorName,
                                                                     const QString &productId = QString(),
                                                                     const QString &portName = QString())
{
    Kr7dSim::DeviceSelection selection;
    selection.sensorName = sensorName;
    selection.productId = productId;
    std::unique_ptr<Kr7dSim::MasterSimulator> simulator = Kr7dSim::MasterSimulator::fromFile(descriptionPath(), selection);
    if (!simulator)
        return nullptr;
    ExtensionSystem::PortSettings settings;
    settings.portName = portName;
    auto connection = std::make_unique<Kr7dSim::SimulatedConnection>(std::move(simulator), settings);
    // Lost answers complete after 1 % of their time-out.
    connection->setTimeoutScale(0.01);
    return connection;
}

inline int countOf(const QList<QByteArray> &log, const QByteArray &frame)
{
    return int(std::count(log.cbegin(), log.cend(), frame));
}

// A connection whose answers the test chooses, and which keeps every record it was given.
class ScriptedConnection final : public ExtensionSystem::CommunicationInterface
{
    Q_OBJECT
public:
    // The answer to a query, or nothing for a record that stays unanswered.
    using Responder = std::function<std::optional<QByteArray>(const QByteArray &query)>;

    explicit ScriptedConnection(Responder responder)
        : m_responder(std::move(responder))
    {
    }

    bool bIsOpen() const override { return true; }
    void vSendRawData(std::string) override {}
    QString portName() const override { return QStringLiteral("SCRIPTED"); }
    unsigned int uiSendDataFrames(DataFrame *frames) override
    {
        const unsigned int id = ++m_lastId;
        if (m_holdTransfers)
            return id;
        QTimer::singleShot(0, this, [this, frames, id] {
            for (DataFrameRecord &record : *frames) {
                m_records.push_back(record);
                const std::optional<QByteArray> answer = m_responder(QByteArray::fromStdString(record.query));
                record.answer = answer ? answer->toStdString() : std::string();
                record.status = answer ? 1 : 0;
            }
            if (m_whileInFlight)
                m_whileInFlight();
            emit emitFinished(id);
        });
        return id;
    }
    int iPendingTransfers() const override { return 0; }
    void vClose() override {}
    bool bPortLost() const override { return false; }
    void vSetPortSettings(const ExtensionSystem::PortSettings *) override {}
    ExtensionSystem::PortSettings *poGetPortSettings() override { return &m_settings; }

    // Runs inside the sender's wait, just before each transfer finishes.
    void setWhileInFlight(std::function<void()> check) { m_whileInFlight = std::move(check); }
    // Transfers from now on never finish.
    void holdTransfers() { m_holdTransfers = true; }
    const std::vector<DataFrameRecord> &records() const { return m_records; }

private:
    Responder m_responder;
    std::function<void()> m_whileInFlight;
    bool m_holdTransfers = false;
    unsigned int m_lastId = 0;
    std::vector<DataFrameRecord> m_records;
    ExtensionSystem::PortSettings m_settings;
};

// Echoes every frame but the result fetch, which gets `answer` (no answer when it is empty).
inline ScriptedConnection::Responder fetchAnswers(const QByteArray &answer)
{
    return [answer](const QByteArray &query) -> std::optional<QByteArray> {
        if (query != QByteArray::fromHex("027327"))
            return query;
        if (answer.isEmpty())
            return std::nullopt;
        return answer;
    };
}

// Answers the message boxes and dialogs that code under test opens modally. Every box must be
// expected; one that is not is recorded and closed after a while, so no test hangs on it.
class ModalHand final : public QObject
{
    Q_OBJECT
public:
    using Answer = std::function<void(QDialog *)>;

    ModalHand()
    {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, &ModalHand::look);
        m_timer.start();
    }

    void expect(Answer answer) { m_expected.push_back(std::move(answer)); }
    // Title and text of every message box seen, in order ("title|text").
    const QStringList &boxesSeen() const { return m_boxesSeen; }
    const QStringList &unexpected() const { return m_unexpected; }
    bool allAnswered() const { return m_expected.empty(); }

    static Answer click(QMessageBox::StandardButton button)
    {
        return [button](QDialog *dialog) {
            if (auto *box = qobject_cast<QMessageBox *>(dialog))
                box->button(button)->click();
        };
    }
    // A button of a dialog by its object name.
    static Answer push(const QString &buttonName)
    {
        return [buttonName](QDialog *dialog) {
            if (auto *button = dialog->findChild<QPushButton *>(buttonName))
                button->click();
        };
    }
    static Answer pressEscape()
    {
        return [](QDialog *dialog) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(dialog, &escape);
        };
    }

private:
    // Modal dialogs shown with exec(): message boxes and the direction dialog, not the window's own
    // update dialog, which is only shown.
    static QDialog *openDialog()
    {
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget *window : windows) {
            auto *dialog = qobject_cast<QDialog *>(window);
            if (dialog && dialog->isVisible() && dialog->objectName() != QLatin1String("DataFrameSenderUi")
                && dialog->isModal() && (qobject_cast<QMessageBox *>(dialog)
                                         || dialog->objectName() == QLatin1String("connectionSwitchingDialog")))
                return dialog;
        }
        return nullptr;
    }

    void look()
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
        if (!m_unansweredSince)
            m_unansweredSince = QDeadlineTimer(2000);
        if (m_unansweredSince->hasExpired()) {
            record(dialog);
            m_unexpected << m_boxesSeen.last();
            dialog->reject();
            m_unansweredSince.reset();
        }
    }

    void record(QDialog *dialog)
    {
        const auto *box = qobject_cast<QMessageBox *>(dialog);
        m_boxesSeen << (box ? box->windowTitle() + QLatin1Char('|') + box->text() : dialog->objectName());
    }

    QTimer m_timer;
    std::deque<Answer> m_expected;
    std::optional<QDeadlineTimer> m_unansweredSince;
    QPointer<QDialog> m_lastSeen;
    QStringList m_boxesSeen;
    QStringList m_unexpected;
};
