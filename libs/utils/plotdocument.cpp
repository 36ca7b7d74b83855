#include "plotdocument.h"

#include <qwt_plot.h>
#include <qwt_plot_renderer.h>

#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>

namespace Utils {

PlotDocument::PlotDocument(QwtPlot *plot)
    : QObject(plot)
    , m_plot(plot)
{
}

PlotDocument::~PlotDocument() = default;

void PlotDocument::vPrintDocument()
{
    if (!m_plot)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(m_plot->title().text());
    QPrintDialog dialog(&printer, m_plot);
    if (dialog.exec() == QDialog::Accepted)
        render(printer);
}

bool PlotDocument::exportToPdf(const QString &path) const
{
    if (!m_plot)
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    {
        QPdfWriter writer(&file);
        writer.setPageOrientation(QPageLayout::Landscape);
        writer.setResolution(300);
        writer.setTitle(m_plot->title().text());
        render(writer);
    }
    return file.commit();
}

void PlotDocument::render(QPagedPaintDevice &device) const
{
    QwtPlotRenderer renderer;
    renderer.setDiscardFlag(QwtPlotRenderer::DiscardBackground, false);
    renderer.setDiscardFlag(QwtPlotRenderer::DiscardCanvasBackground, false);
    renderer.setLayoutFlag(QwtPlotRenderer::FrameWithScales, true);
    renderer.renderTo(m_plot, device);
}

} // namespace Utils
