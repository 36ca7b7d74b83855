#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class QTreeWidget;

namespace BravoSensorPlugin {
namespace Core {

// One parameter whose value differs, ready to show.
struct CompareRow
{
    QStringList groups; // captions of the groups above it, outermost first
    QString caption;
    QString fileValue;
    QString windowValue;
    QString unconfirmed; // why the sensor has not confirmed windowValue; empty when it has
};

// The differences between the window and a settings file, grouped like the property tree.
class CompareDialog final : public QDialog
{
    Q_OBJECT
public:
    CompareDialog(const QString &fileName, const QList<CompareRow> &rows,
                  QWidget *parent = nullptr);

    // Null when there are no differences; the dialog then says so.
    QTreeWidget *differenceTree() const;

private:
    QTreeWidget *m_tree = nullptr; // owned (Qt parent)
};

} // namespace Core
} // namespace BravoSensorPlugin
