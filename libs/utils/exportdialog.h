#pragma once

#include "utils_global.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <memory>

namespace Utils {

class ValueOverTime;

// Exports the series as a CSV file: delimiter choice, preview of the first
// samples, target file. Closing with Accepted writes the file.
class UTILS_EXPORT ExportDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int previewSamples = 10;
    static constexpr int progressDelayMs = 500; // exports quicker than this show no progress

    // The lists are not owned and must outlive the dialog.
    ExportDialog(QList<const ValueOverTime *> *series, QList<QString> *names,
                 QWidget *parent = nullptr, Qt::WindowFlags flags = {});
    ~ExportDialog() override;

    void setPrecision(int decimals);
    QString delimiter() const;
    QString filePath() const;
    // The name the file dialog proposes: export-dd-MM-yyyy.csv of today.
    static QString proposedFileName();

public slots:
    void vDelimiterUpdated();
    void vSelectFileDialog();
    void vFinished(int state);

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace Utils
