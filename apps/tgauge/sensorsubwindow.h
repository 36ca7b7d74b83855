#pragma once

#include <QMdiSubWindow>

namespace TGauge {

// An MDI sub-window that takes the size its widget asks for when the widget is
// first shown; the plain QMdiSubWindow would squeeze it into its own size hint.
class SensorSubWindow final : public QMdiSubWindow
{
    Q_OBJECT
public:
    explicit SensorSubWindow(QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_sizeTaken = false;
};

} // namespace TGauge
