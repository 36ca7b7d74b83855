#include "portlink.h"

#include <QFile>
#include <QFileInfo>

namespace Kr7dSim {

PortLink::~PortLink()
{
    if (!m_linkPath.isEmpty())
        QFile::remove(m_linkPath);
}

bool PortLink::create(const QString &target, const QString &linkPath, QString *error)
{
    const QFileInfo existing(linkPath);
    if (existing.isSymLink()) {
        QFile::remove(linkPath);
    } else if (existing.exists()) {
        *error = QStringLiteral("%1 exists and is no symbolic link").arg(linkPath);
        return false;
    }
    if (!QFile::link(target, linkPath)) {
        *error = QStringLiteral("cannot create the link %1").arg(linkPath);
        return false;
    }
    m_linkPath = linkPath;
    return true;
}

} // namespace Kr7dSim
