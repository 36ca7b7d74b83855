#include "portsettings.h"

#include <array>

namespace ExtensionSystem {

namespace {
constexpr std::array<qint32, 5> baudRates = {9600, 19200, 38400, 57600, 115200};
}

PortSettings::PortSettings() = default;

void PortSettings::vInit()
{
    *this = PortSettings();
}

void PortSettings::vSetBaudrateDefault(int index)
{
    if (const qint32 rate = baudRateForIndex(index))
        baudRate = rate;
}

qint32 PortSettings::baudRateForIndex(int index)
{
    if (index < 0 || index >= int(baudRates.size()))
        return 0;
    return baudRates[std::size_t(index)];
}

} // namespace ExtensionSystem
