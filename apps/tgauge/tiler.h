#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

QT_BEGIN_NAMESPACE
class QMdiArea;
class QMdiSubWindow;
QT_END_NAMESPACE

namespace TGauge {

// Tiles an MDI area's sub-windows where QMdiArea::tileSubWindows puts them, but lays out and
// paints their contents one sub-window per turn of the event loop.
class Tiler final : public QObject
{
    Q_OBJECT
public:
    explicit Tiler(QMdiArea &area, QObject *parent = nullptr);

    void tile();
    bool isTiling() const;

signals:
    // Every sub-window shows its contents at its tile's size.
    void tiled();

private:
    void layOutNext();

    QMdiArea &m_area;
    QList<QPointer<QMdiSubWindow>> m_waiting; // placed, their contents not yet laid out
    QTimer m_next;
};

} // namespace TGauge
