#include "logging.h"

namespace BravoSensorPlugin {
namespace Core {

Q_LOGGING_CATEGORY(lcPlugin, "kr7d.plugin", QtInfoMsg)

} // namespace Core
} // namespace BravoSensorPlugin
