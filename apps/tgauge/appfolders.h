#pragma once

#include <QString>
#include <QStringList>

namespace TGauge {

// The folders that hold what the host ships with it (plug-ins, translations): the one of
// its own binary first, then the one of the installation it was built for, so that a
// tgauge started from elsewhere still finds an installed plug-in.
QStringList applicationFolders();

// plugins/ of the first application folder that has one; the binary's when none has.
QString defaultPluginDirectory();

} // namespace TGauge
