#pragma once

#include "extensionsystem_global.h"

#include <QString>

#include <optional>

namespace ExtensionSystem {

// A port on a serial device server, named as "tcp://HOST:PORT" (the raw byte
// stream) or "rfc2217://HOST:PORT" (Telnet with COM-port control).
struct NetworkPort
{
    enum class Protocol { Raw, Rfc2217 };

    Protocol protocol = Protocol::Raw;
    QString host;
    quint16 port = 0;
};

// Nothing when the name is no network port or lacks a host or a port number.
EXTENSIONSYSTEM_EXPORT std::optional<NetworkPort> parseNetworkPort(const QString &portName);
// True for names with a network scheme, well-formed or not.
EXTENSIONSYSTEM_EXPORT bool isNetworkPortName(const QString &portName);

} // namespace ExtensionSystem
