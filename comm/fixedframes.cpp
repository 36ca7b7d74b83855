#include "fixedframes.h"

#include "frame.h"

#include <QByteArray>

#include <initializer_list>

namespace BravoSensorPlugin {
namespace Core {

namespace {

constexpr quint8 systemCommandIndex = 0x02;
constexpr quint8 restoreFactorySettings = 0x82;

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
    return buildFrame(0x12, bytes({0x01}));
}

QByteArray identitySetupFrame()
{
    return buildFrame(0x11, bytes({0x09, 0x03}));
}

QByteArray identityStartFrame()
{
    return buildFrame(0x21, bytes({0x03}));
}

QByteArray productIdReadFrame()
{
    return readRequestFrame(productIdIndex, 0);
}

QByteArray processDataFrame()
{
    return buildFrame(0x22);
}

QByteArray resultFetchFrame()
{
    return buildFrame(0x27);
}

QByteArray factoryResetFrame()
{
    return writeFrame(systemCommandIndex, 0, 6, restoreFactorySettings);
}

} // namespace Core
} // namespace BravoSensorPlugin
