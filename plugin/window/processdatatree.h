#pragma once

#include <QElapsedTimer>
#include <QPersistentModelIndex>
#include <QTimer>
#include <QTreeWidget>

#include <vector>

namespace BravoSensorPlugin {
namespace Core {

// The process-data rows. Polls change their values many times a second; a value cell with a
// size of its own cannot change its row's height, so its row is not measured again, and it is
// painted at the pace the plots beside it show their values.
class ProcessDataTree final : public QTreeWidget
{
public:
    explicit ProcessDataTree(QWidget *parent);

protected:
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QVector<int> &roles) override;

private:
    void showValueChanges();

    struct ValueChange
    {
        QPersistentModelIndex topLeft;
        QPersistentModelIndex bottomRight;
        QVector<int> roles;
    };
    std::vector<ValueChange> m_unshown;
    QElapsedTimer m_sinceShown;
    QElapsedTimer m_unshownFor;
    QTimer m_lagTimer;
};

} // namespace Core
} // namespace BravoSensorPlugin
