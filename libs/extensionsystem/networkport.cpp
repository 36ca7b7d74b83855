#include "networkport.h"

#include <QUrl>

namespace ExtensionSystem {

namespace {

const QString rawScheme = QStringLiteral("tcp");
const QString rfc2217Scheme = QStringLiteral("rfc2217");

} // namespace

std::optional<NetworkPort> parseNetworkPort(const QString &portName)
{
    const QUrl url(portName, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || url.port() <= 0 || !url.userInfo().isEmpty()
        || !(url.path().isEmpty() || url.path() == QLatin1String("/")) || url.hasQuery()
        || url.hasFragment())
        return std::nullopt;
    NetworkPort port;
    if (url.scheme() == rfc2217Scheme)
        port.protocol = NetworkPort::Protocol::Rfc2217;
    else if (url.scheme() != rawScheme)
        return std::nullopt;
    port.host = url.host();
    port.port = quint16(url.port());
    return port;
}

bool isNetworkPortName(const QString &portName)
{
    return portName.startsWith(rawScheme + QLatin1String("://"))
           || portName.startsWith(rfc2217Scheme + QLatin1String("://"));
}

} // namespace ExtensionSystem
