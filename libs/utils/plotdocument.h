#pragma once

#include "utils_global.h"

#include <QObject>

class QPagedPaintDevice;
class QwtPlot;

namespace Utils {

// Prints a plot, or renders it into a PDF file. The plot owns the document.
class UTILS_EXPORT PlotDocument : public QObject
{
    Q_OBJECT
public:
    explicit PlotDocument(QwtPlot *plot);
    ~PlotDocument() override;

    // Asks for a printer with the print dialog, then prints the plot.
    void vPrintDocument();
    bool exportToPdf(const QString &path) const;

private:
    void render(QPagedPaintDevice &device) const;

    QwtPlot *m_plot; // not owned
};

} // namespace Utils
