#pragma once

class QIcon;
class QString;

namespace BravoSensorPlugin {
namespace Core {

// The icon of a file, loaded once per process and shared by every window that shows it, so
// that an SVG is parsed and rendered once, not per window. GUI thread only.
QIcon sharedIcon(const QString &path);

} // namespace Core
} // namespace BravoSensorPlugin
