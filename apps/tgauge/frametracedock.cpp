#include "frametracedock.h"

#include <extensionsystem/frametrace.h>

#include <QAction>
#include <QEvent>
#include <QFileDialog>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QToolBar>
#include <QVBoxLayout>

namespace TGauge {

FrameTraceDock::FrameTraceDock(QWidget *parent)
    : QDockWidget(parent)
    , m_view(new QPlainTextEdit)
{
    setObjectName(QStringLiteral("frameTraceDock"));
    m_view->setReadOnly(true);
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_view->setMaximumBlockCount(maximumLines);
    m_view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto tools = new QToolBar; // owned by the layout's widget below
    m_pauseAction = tools->addAction(QString());
    m_pauseAction->setCheckable(true);
    connect(m_pauseAction, &QAction::toggled, this, &FrameTraceDock::setPaused);
    m_clearAction = tools->addAction(QString(), this, &FrameTraceDock::clear);
    m_saveAction = tools->addAction(QString(), this, &FrameTraceDock::askForFileAndSave);
    retranslate();

    auto content = new QWidget; // owned by the dock once set
    auto layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tools);
    layout->addWidget(m_view);
    setWidget(content);

    // Formatting lines costs only while someone looks at them.
    connect(toggleViewAction(), &QAction::toggled, this, &FrameTraceDock::setFollowing);
}

void FrameTraceDock::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDockWidget::changeEvent(event);
}

void FrameTraceDock::retranslate()
{
    setWindowTitle(tr("Frame trace"));
    m_pauseAction->setText(tr("Pause"));
    m_clearAction->setText(tr("Clear"));
    m_saveAction->setText(tr("Save..."));
}

const TraceLines &FrameTraceDock::lines() const
{
    return m_lines;
}

QAction *FrameTraceDock::pauseAction() const
{
    return m_pauseAction;
}

bool FrameTraceDock::saveTo(const QString &fileName) const
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    const QStringList kept = m_lines.lines();
    for (const QString &line : kept)
        file.write(line.toUtf8() + '\n');
    return file.commit();
}

// Paused, the view stands still while the lines are still kept.
void FrameTraceDock::addLine(const QString &line)
{
    m_lines.append(line);
    if (!m_pauseAction->isChecked())
        m_view->appendPlainText(line);
}

void FrameTraceDock::clear()
{
    m_lines.clear();
    m_view->clear();
}

void FrameTraceDock::setPaused(bool paused)
{
    if (paused)
        return;
    m_view->setPlainText(m_lines.lines().join(QLatin1Char('\n')));
    m_view->moveCursor(QTextCursor::End);
}

void FrameTraceDock::setFollowing(bool following)
{
    const ExtensionSystem::FrameTrace *trace = &ExtensionSystem::FrameTrace::instance();
    if (following)
        connect(trace, &ExtensionSystem::FrameTrace::lineAdded, this, &FrameTraceDock::addLine,
                Qt::UniqueConnection);
    else
        disconnect(trace, &ExtensionSystem::FrameTrace::lineAdded, this, &FrameTraceDock::addLine);
}

void FrameTraceDock::askForFileAndSave()
{
    const QString fileName
        = QFileDialog::getSaveFileName(this, tr("Save frame trace"), QStringLiteral("trace.txt"),
                                       tr("Text files (*.txt);;All files (*)"));
    if (!fileName.isEmpty() && !saveTo(fileName))
        QMessageBox::warning(this, tr("Save frame trace"), tr("Cannot write %1").arg(fileName));
}

} // namespace TGauge
