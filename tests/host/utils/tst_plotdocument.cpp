#include <utils/genericchart.h>
#include <utils/plotdocument.h>

#include <qwt_plot.h>

#include <QMainWindow>
#include <QTemporaryDir>
#include <QtTest>

using Utils::PlotDocument;
using Utils::Charts::GenericChart;

class tst_PlotDocument : public QObject
{
    Q_OBJECT

private slots:
    void plotRendersToAPdfFile();
    void unwritablePathFailsAndCreatesNothing();
};

void tst_PlotDocument::plotRendersToAPdfFile()
{
    QMainWindow window;
    GenericChart chart(1, nullptr, &window);
    chart.setPlotTitle(0, QStringLiteral("Pressure (bar)"), QString(), true, true);
    for (int i = 0; i < 100; ++i)
        chart.vAppendData(0, i * 0.1, true, 0.0, false, -1.0, -1.0);
    chart.updateChart(true);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plot.pdf"));
    QVERIFY(PlotDocument(chart.poPlot(0)).exportToPdf(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    QVERIFY(pdf.startsWith("%PDF"));
    QVERIFY(pdf.contains("%%EOF"));
    QVERIFY(pdf.size() > 2000);
}

void tst_PlotDocument::unwritablePathFailsAndCreatesNothing()
{
    QwtPlot plot;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/plot.pdf"));
    QVERIFY(!PlotDocument(&plot).exportToPdf(path));
    QVERIFY(!QFile::exists(path));
}

QTEST_MAIN(tst_PlotDocument)
#include "tst_plotdocument.moc"
