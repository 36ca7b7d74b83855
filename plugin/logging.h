#pragma once

#include <QLoggingCategory>

namespace BravoSensorPlugin {
namespace Core {

// The plug-in object and its exports; informational messages and above by default.
Q_DECLARE_LOGGING_CATEGORY(lcPlugin)

} // namespace Core
} // namespace BravoSensorPlugin
