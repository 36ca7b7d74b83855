#include <window/comparedialog.h>

#include <QLabel>
#include <QTreeWidget>
#include <QtTest>

using BravoSensorPlugin::Core::CompareDialog;
using BravoSensorPlugin::Core::CompareRow;

namespace {

// "group/caption=file|window" for every leaf, depth first.
QStringList leaves(const QTreeWidgetItem *item, const QString &path = QString())
{
    QStringList found;
    for (int i = 0; i < item->childCount(); ++i) {
        const QTreeWidgetItem *child = item->child(i);
        if (child->childCount() == 0)
            found << path + child->text(0) + QLatin1Char('=') + child->text(1) + QLatin1Char('|')
                         + child->text(2);
        else
            found << leaves(child, path + child->text(0) + QLatin1Char('/'));
    }
    return found;
}

} // namespace

class tst_CompareDialog : public QObject
{
    Q_OBJECT

private slots:
    void differencesAreGroupedLikeTheTree();
    void noDifferencesIsSaid();
};

void tst_CompareDialog::differencesAreGroupedLikeTheTree()
{
    const QList<CompareRow> rows{{{"Output A1", "Pressure"}, "Set point", "2.50 bar", "5.00 bar"},
                                 {{"Output A1"}, "Logic", "NC", "NO"},
                                 {{"Output A1", "Pressure"}, "Reset point", "1.00 bar", "2.00 bar"},
                                 {{"Display"}, "Unit", "psi", "bar"}};
    CompareDialog dialog(QStringLiteral("/tmp/line4.tgs"), rows);
    QTreeWidget *tree = dialog.differenceTree();
    QVERIFY(tree);
    QCOMPARE(tree->topLevelItemCount(), 2);
    QCOMPARE(leaves(tree->invisibleRootItem()),
             QStringList({"Output A1/Pressure/Set point=2.50 bar|5.00 bar",
                          "Output A1/Pressure/Reset point=1.00 bar|2.00 bar",
                          "Output A1/Logic=NC|NO", "Display/Unit=psi|bar"}));
}

void tst_CompareDialog::noDifferencesIsSaid()
{
    CompareDialog dialog(QStringLiteral("/tmp/line4.tgs"), {});
    QVERIFY(!dialog.differenceTree());
    QStringList texts;
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        texts << label->text();
    QVERIFY2(texts.contains(QStringLiteral("No differences")),
             qPrintable(texts.join(QLatin1Char(','))));
}

QTEST_MAIN(tst_CompareDialog)
#include "tst_comparedialog.moc"
