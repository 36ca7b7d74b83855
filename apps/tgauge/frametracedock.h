#pragma once

#include "tracelines.h"

#include <QDockWidget>

QT_BEGIN_NAMESPACE
class QAction;
class QPlainTextEdit;
QT_END_NAMESPACE

namespace TGauge {

// View -> "Frame trace": the frame trace of every connection, live, newest at the bottom.
class FrameTraceDock final : public QDockWidget
{
    Q_OBJECT
public:
    static constexpr int maximumLines = 10000;

    explicit FrameTraceDock(QWidget *parent = nullptr);

    const TraceLines &lines() const;
    QAction *pauseAction() const;
    // Writes the kept lines to the file; false when it cannot be written.
    bool saveTo(const QString &fileName) const;

public slots:
    void addLine(const QString &line);
    void clear();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void setPaused(bool paused);
    void setFollowing(bool following);
    void askForFileAndSave();

    TraceLines m_lines{maximumLines};
    QPlainTextEdit *m_view = nullptr; // owned (Qt parent), likewise the actions
    QAction *m_pauseAction = nullptr;
    QAction *m_clearAction = nullptr;
    QAction *m_saveAction = nullptr;
};

} // namespace TGauge
