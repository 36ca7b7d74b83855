#include "appfolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace TGauge {

QStringList applicationFolders()
{
    QStringList folders{QCoreApplication::applicationDirPath()};
    const QString installed = QDir::cleanPath(QStringLiteral(KR7D_INSTALL_APP_DIR));
    if (QFileInfo(installed) != QFileInfo(folders.constFirst()))
        folders << installed;
    return folders;
}

QString defaultPluginDirectory()
{
    const QStringList folders = applicationFolders();
    for (const QString &folder : folders) {
        const QString plugins = folder + QStringLiteral("/plugins");
        if (QFileInfo(plugins).isDir())
            return plugins;
    }
    return folders.constFirst() + QStringLiteral("/plugins");
}

} // namespace TGauge
