#include "pathchecks.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace TGauge {

QString inputFileProblem(const QString &fileName)
{
    const QFileInfo file(fileName);
    if (!file.exists())
        return QCoreApplication::translate("TGauge::PathChecks", "it does not exist");
    if (file.isDir())
        return QCoreApplication::translate("TGauge::PathChecks", "it is a folder");
    if (!file.isReadable())
        return QCoreApplication::translate("TGauge::PathChecks", "it is not readable");
    return {};
}

// Files are replaced through a temporary file beside them, so the folder must take new files.
QString outputFileProblem(const QString &fileName)
{
    const QFileInfo file(fileName);
    const QFileInfo folder(file.absolutePath());
    if (!folder.exists())
        return QCoreApplication::translate("TGauge::PathChecks", "the folder %1 does not exist")
            .arg(folder.filePath());
    if (!folder.isDir())
        return QCoreApplication::translate("TGauge::PathChecks", "%1 is not a folder")
            .arg(folder.filePath());
    if (!folder.isWritable())
        return QCoreApplication::translate("TGauge::PathChecks", "the folder %1 is not writable")
            .arg(folder.filePath());
    if (file.isDir())
        return QCoreApplication::translate("TGauge::PathChecks", "it is a folder");
    if (file.exists() && !file.isWritable())
        return QCoreApplication::translate("TGauge::PathChecks", "it is not writable");
    return {};
}

} // namespace TGauge
