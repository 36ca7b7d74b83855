#include "platformsleep.h"

#include <QThread>

#include <atomic>
#include <cmath>

namespace BravoSensorPlugin {
namespace Core {

namespace {

std::atomic<double> sleepScale{1.0};
std::atomic<bool> sleepInterrupted{false};

} // namespace

void platformSleep(unsigned int ms)
{
    if (sleepInterrupted.load())
        return;
    const double scaled = std::round(ms * sleepScale.load());
    if (scaled >= 1.0)
        QThread::msleep(static_cast<unsigned long>(scaled));
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
