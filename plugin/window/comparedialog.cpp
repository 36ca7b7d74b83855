#include "comparedialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace BravoSensorPlugin {
namespace Core {

namespace {

enum Column { CaptionColumn, FileColumn, WindowColumn };

// Drawn as the property tree draws a value the sensor has not confirmed.
void markUnconfirmed(QTreeWidgetItem *item, const QString &reason)
{
    QFont font = item->font(WindowColumn);
    font.setItalic(true);
    item->setFont(WindowColumn, font);
    item->setToolTip(WindowColumn, reason);
}

void fillTree(QTreeWidget *tree, const QList<CompareRow> &rows)
{
    QHash<QString, QTreeWidgetItem *> groupItems; // by the joined path, owned by the tree
    for (const CompareRow &row : rows) {
        QTreeWidgetItem *parent = tree->invisibleRootItem();
        QString path;
        for (const QString &group : row.groups) {
            path += group + QLatin1Char('\n');
            QTreeWidgetItem *&item = groupItems[path];
            if (!item) {
                item = new QTreeWidgetItem(parent, {group});
                item->setFirstColumnSpanned(true);
            }
            parent = item;
        }
        auto *item = new QTreeWidgetItem(parent, {row.caption, row.fileValue, row.windowValue});
        if (!row.unconfirmed.isEmpty())
            markUnconfirmed(item, row.unconfirmed);
    }
    tree->expandAll();
    for (int column : {CaptionColumn, FileColumn, WindowColumn})
        tree->resizeColumnToContents(column);
}

} // namespace

CompareDialog::CompareDialog(const QString &fileName, const QList<CompareRow> &rows,
                             QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Compare with settings file"));
    auto layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QFileInfo(fileName).fileName(), this));
    if (rows.isEmpty()) {
        layout->addWidget(new QLabel(tr("No differences"), this));
    } else {
        m_tree = new QTreeWidget(this);
        m_tree->setHeaderLabels({tr("Parameter"), tr("File"), tr("Window")});
        fillTree(m_tree, rows);
        layout->addWidget(m_tree);
        resize(560, 420);
    }
    auto buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QTreeWidget *CompareDialog::differenceTree() const
{
    return m_tree;
}

} // namespace Core
} // namespace BravoSensorPlugin
