#pragma once

#include <QTreeWidget>

namespace BravoSensorPlugin {
namespace Core {

// The process-data rows. Polls change their values many times a second; a value cell with a
// size of its own cannot change its row's height, so its row is not measured again.
class ProcessDataTree final : public QTreeWidget
{
public:
    explicit ProcessDataTree(QWidget *parent);

protected:
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QVector<int> &roles) override;
};

} // namespace Core
} // namespace BravoSensorPlugin
