#pragma once

#include <QLoggingCategory>

namespace ExtensionSystem {

// Connections, their transfers and the registry that hands them out.
Q_DECLARE_LOGGING_CATEGORY(lcConnection)

} // namespace ExtensionSystem
