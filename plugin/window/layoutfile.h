#pragma once

#include <QString>

QT_BEGIN_NAMESPACE
class QMainWindow;
QT_END_NAMESPACE

namespace BravoSensorPlugin {
namespace Core {

// IoLinkKR7Dfamily.ini in the user's configuration folder: an installed host's own
// folder is not writable.
QString layoutFilePath();

// Writes the window's geometry and state under its object name. A file that cannot be
// written is said once per session on the log; the window goes on without it.
void writeLayout(const QMainWindow &window);

} // namespace Core
} // namespace BravoSensorPlugin
