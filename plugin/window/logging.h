#pragma once

#include <QLoggingCategory>

namespace BravoSensorPlugin {
namespace Core {

// The sensor window; informational messages and above by default.
Q_DECLARE_LOGGING_CATEGORY(lcWindow)
// The window's layout file.
Q_DECLARE_LOGGING_CATEGORY(lcLayout)

} // namespace Core
} // namespace BravoSensorPlugin
