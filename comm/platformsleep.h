#pragma once

// The plain blocking pause between the frames of a command sequence.
namespace BravoSensorPlugin {
namespace Core {

// Blocks the calling thread for ms x platformSleepScale() milliseconds.
void platformSleep(unsigned int ms);

// Process-wide, 1.0 by default; tests lower it, 0 (or less) skips every pause.
void setPlatformSleepScale(double scale);
double platformSleepScale();

} // namespace Core
} // namespace BravoSensorPlugin
