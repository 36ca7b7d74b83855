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

    // Hears the name of every port that opened, as the plug-in gave it.
    using ConnectedListener = std::function<void(const QString &portName)>;

    static ConnectionRegistry &instance();

    void setFactory(Factory factory);
    void setConnectedListener(ConnectedListener listener);

    CommunicationInterface *connect(const PortSettings &settings, const PluginInterface *owner);
    // Closes the owner's connection and deletes it once control is back in the event loop.
    void release(const PluginInterface *owner);
    // Closes and deletes every connection at once (host shutdown); never call
    // it from inside a connection's signal.
    void releaseAll();
    CommunicationInterface *connectionOf(const PluginInterface *owner) const;
    bool isPortInUse(const QString &portName) const;
    // Why the last attempt to open the port failed; empty once it opened.
    QString failureReason(const QString &portName) const;
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
