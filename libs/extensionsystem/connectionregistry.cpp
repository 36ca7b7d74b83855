#include "connectionregistry.h"

#include "communicationinterface.h"
#include "logging.h"
#include "networkconnection.h"
#include "networkport.h"
#include "portsettings.h"
#include "serialconnection.h"

#include <QCoreApplication>

#include <algorithm>
#include <map>
#include <set>

namespace ExtensionSystem {

namespace {

struct Entry
{
    QString portName;
    std::unique_ptr<CommunicationInterface> connection;
};

// The application's destructor still has an event dispatcher when it runs
// post routines; afterwards, closing serial ports would warn or leak.
void releaseAllAtExit()
{
    ConnectionRegistry::instance().releaseAll();
}
} // namespace

class ConnectionRegistry::Private
{
public:
    Factory factory;
    ConnectedListener connectedListener;
    std::map<const PluginInterface *, Entry> entries;
    std::map<QString, QString> failures; // port name -> why its last connect failed
    std::set<QString> opening;           // network ports whose connect still waits

    std::unique_ptr<CommunicationInterface> open(const PortSettings &settings)
    {
        if (!isNetworkPortName(settings.portName)) {
            auto serial = std::make_unique<SerialConnection>(settings);
            if (serial->open())
                return serial;
            refuse(settings.portName, serial->errorString());
            return nullptr;
        }
        const std::optional<NetworkPort> address = parseNetworkPort(settings.portName);
        if (!address) {
            refuse(settings.portName, QStringLiteral("not HOST:PORT"));
            return nullptr;
        }
        auto network = std::make_unique<NetworkConnection>(*address, settings);
        // The wait runs the event loop: meanwhile the port counts as taken.
        opening.insert(settings.portName);
        const bool opened = network->open();
        opening.erase(settings.portName);
        if (opened)
            return network;
        refuse(settings.portName, network->errorString());
        return nullptr;
    }

    CommunicationInterface *refuse(const QString &portName, const QString &reason)
    {
        qCWarning(lcConnection).noquote()
            << QStringLiteral("Cannot open port %1: %2").arg(portName, reason);
        failures[portName] = reason;
        return nullptr;
    }
};

ConnectionRegistry::ConnectionRegistry()
    : d(std::make_unique<Private>())
{
    qAddPostRoutine(releaseAllAtExit);
}

ConnectionRegistry::~ConnectionRegistry()
{
    releaseAll();
}

ConnectionRegistry &ConnectionRegistry::instance()
{
    static ConnectionRegistry registry;
    return registry;
}

void ConnectionRegistry::setFactory(Factory factory)
{
    d->factory = std::move(factory);
}

void ConnectionRegistry::setConnectedListener(ConnectedListener listener)
{
    d->connectedListener = std::move(listener);
}

CommunicationInterface *ConnectionRegistry::connect(const PortSettings &settings,
                                                    const PluginInterface *owner)
{
    release(owner);
    if (!owner || settings.portName.isEmpty())
        return nullptr;
    if (isPortInUse(settings.portName))
        return d->refuse(
            settings.portName,
            QCoreApplication::translate("ExtensionSystem::ConnectionRegistry", "already in use"));

    std::unique_ptr<CommunicationInterface> connection;
    if (d->factory)
        connection = d->factory(settings);
    if (!connection)
        connection = d->open(settings);
    if (!connection)
        return nullptr;
    d->failures.erase(settings.portName);
    CommunicationInterface *handedOut = connection.get();
    d->entries[owner] = Entry{settings.portName, std::move(connection)};
    if (d->connectedListener)
        d->connectedListener(settings.portName);
    return handedOut;
}

void ConnectionRegistry::release(const PluginInterface *owner)
{
    const auto it = d->entries.find(owner);
    if (it == d->entries.end())
        return;
    std::unique_ptr<CommunicationInterface> connection = std::move(it->second.connection);
    d->entries.erase(it);
    // Closing frees the port at once and lets waiting callers see their lists
    // finish; the object itself may be in the middle of emitting a signal.
    connection->vClose();
    connection.release()->deleteLater();
}

void ConnectionRegistry::releaseAll()
{
    for (auto &item : d->entries)
        item.second.connection->vClose();
    d->entries.clear();
}

CommunicationInterface *ConnectionRegistry::connectionOf(const PluginInterface *owner) const
{
    const auto it = d->entries.find(owner);
    return it == d->entries.end() ? nullptr : it->second.connection.get();
}

bool ConnectionRegistry::isPortInUse(const QString &portName) const
{
    return d->opening.count(portName) > 0
           || std::any_of(d->entries.cbegin(), d->entries.cend(),
                          [&portName](const auto &item) { return item.second.portName == portName; });
}

QString ConnectionRegistry::failureReason(const QString &portName) const
{
    const auto it = d->failures.find(portName);
    return it == d->failures.end() ? QString() : it->second;
}

int ConnectionRegistry::openConnectionCount() const
{
    return int(d->entries.size());
}

} // namespace ExtensionSystem
