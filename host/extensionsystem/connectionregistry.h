#pragma once

#include "extensionsystem_global.h"

#include <QString>

#include <functional>
#include <memory>

namespace ExtensionSystem {

class CommunicationInterface;
class PluginInterface;
class PortSettings;

// Process-wide owner of the open connections, one per plugin object.
class EXTENSIONSYSTEM_EXPORT ConnectionRegistry
{
public:
    // Returns a connection for the port, or null to let the registry open a
    // serial port. Lets the host put simulators behind chosen port names.
    using Factory = std::function<std::unique_ptr<CommunicationInterface>(const PortSettings &)>;

    static ConnectionRegistry &instance();

    void setFactory(Factory factory);

    CommunicationInterface *connect(const PortSettings &settings, const PluginInterface *owner);
    void release(const PluginInterface *owner);
    CommunicationInterface *connectionOf(const PluginInterface *owner) const;
    bool isPortInUse(const QString &portName) const;
    int openConnectionCount() const;

    ConnectionRegistry(const ConnectionRegistry &) = delete;
    ConnectionRegistry &operator=(const ConnectionRegistry &) = delete;

private:
    ConnectionRegistry();
    ~ConnectionRegistry();

    class Private;
    std::unique_ptr<Private> d;
};

} // namespace ExtensionSystem
