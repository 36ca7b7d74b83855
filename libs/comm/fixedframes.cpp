#include "fixedframes.h"

#include "frame.h"
#include "protocol.h"

#include <QByteArray>

#include <initializer_list>

namespace BravoSensorPlugin {
namespace Core {

namespace {

QByteArray bytes(std::initializer_list<quint8> values)
{
    QByteArray result;
    for (const quint8 value : values)
        result.append(char(value));
    return result;
}

} // namespace

QByteArray probeFrame()
{
    return buildFrame(Protocol::Probe, bytes({0x01}));
}

QByteArray identitySetupFrame()
{
    return buildFrame(Protocol::ConfigureMaster, bytes({0x09, 0x03}));
}

QByteArray identityStartFrame()
{
    return buildFrame(Protocol::StartPort, bytes({0x03}));
}

QByteArray productIdReadFrame()
{
    return readRequestFrame(Protocol::productIdIndex, 0);
}

QByteArray processDataFrame()
{
    return buildFrame(Protocol::ProcessData);
}

QByteArray resultFetchFrame()
{
    return buildFrame(Protocol::ResultFetch);
}

QByteArray factoryResetFrame()
{
    return writeFrame(Protocol::systemCommandIndex, 0, 6, Protocol::restoreFactorySettings);
}

} // namespace Core
} // namespace BravoSensorPlugin
