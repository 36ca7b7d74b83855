#include "tiler.h"

#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace TGauge {

namespace {

constexpr int farOut = 1000;

// With its layout off, a placed sub-window leaves its contents as they were; moved out of sight,
// they are not painted either until they are let go and laid out at their new size.
void hold(QMdiSubWindow &subWindow)
{
    QLayout *layout = subWindow.layout();
    QWidget *contents = subWindow.widget();
    if (!layout || !contents)
        return;
    layout->setEnabled(false);
    contents->move(-contents->width() - farOut, -contents->height() - farOut);
}

void letGo(QMdiSubWindow &subWindow)
{
    if (QLayout *layout = subWindow.layout()) {
        layout->setEnabled(true);
        layout->invalidate();
        layout->activate();
    }
}

} // namespace

Tiler::Tiler(QMdiArea &area, QObject *parent)
    : QObject(parent)
    , m_area(area)
{
    // A timer, not a posted call: posted calls all run in one pass with the paints between them.
    m_next.setSingleShot(true);
    m_next.setInterval(0);
    connect(&m_next, &QTimer::timeout, this, &Tiler::layOutNext);
}

// Laid out at once, every sensor window would measure and paint its charts and tree in one piece
// with all the others: many of them hold the host far longer than one does.
void Tiler::tile()
{
    for (QMdiSubWindow *subWindow : m_area.subWindowList(QMdiArea::StackingOrder)) {
        if (!m_waiting.contains(subWindow)) {
            hold(*subWindow);
            m_waiting << subWindow;
        }
    }
    m_area.tileSubWindows();
    m_next.start();
}

bool Tiler::isTiling() const
{
    return !m_waiting.isEmpty();
}

void Tiler::layOutNext()
{
    while (!m_waiting.isEmpty()) {
        const QPointer<QMdiSubWindow> subWindow = m_waiting.takeLast();
        if (subWindow) {
            letGo(*subWindow);
            break;
        }
    }
    if (m_waiting.isEmpty())
        emit tiled();
    else
        m_next.start();
}

} // namespace TGauge
