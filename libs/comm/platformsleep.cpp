#include "platformsleep.h"

#include <atomic>
#include <cmath>

namespace BravoSensorPlugin {
namespace Core {

namespace {

std::atomic<double> sleepScale{1.0};
std::atomic<bool> sleepInterrupted{false};

} // namespace

unsigned int platformSleepMs(unsigned int ms)
{
    return static_cast<unsigned int>(std::lround(ms * sleepScale.load()));
}

void setPlatformSleepScale(double scale)
{
    sleepScale.store(scale > 0.0 ? scale : 0.0);
}

void setPlatformSleepInterrupted(bool interrupted)
{
    sleepInterrupted.store(interrupted);
}

bool platformSleepInterrupted()
{
    return sleepInterrupted.load();
}

double platformSleepScale()
{
    return sleepScale.load();
}

} // namespace Core
} // namespace BravoSensorPlugin
