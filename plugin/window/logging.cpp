#include "logging.h"

namespace BravoSensorPlugin {
namespace Core {

Q_LOGGING_CATEGORY(lcWindow, "kr7d.window", QtInfoMsg)
Q_LOGGING_CATEGORY(lcLayout, "kr7d.window.layout", QtInfoMsg)

} // namespace Core
} // namespace BravoSensorPlugin
