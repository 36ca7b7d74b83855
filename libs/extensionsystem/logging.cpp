#include "logging.h"

namespace ExtensionSystem {

Q_LOGGING_CATEGORY(lcConnection, "extensionsystem.connection")

} // namespace ExtensionSystem
