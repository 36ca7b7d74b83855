#pragma once

// The plain blocking pause between the frames of a command sequence.
namespace BravoSensorPlugin {
namespace Core {

// Blocks the calling thread for ms x platformSleepScale() milliseconds; returns at once while
// pauses are interrupted.
void platformSleep(unsigned int ms);

// Set while a sequence that is being abandoned (its window goes away, the application quits)
// unwinds, so that its remaining pauses do not hold up the end.
void setPlatformSleepInterrupted(bool interrupted);
bool platformSleepInterrupted();

// Process-wide, 1.0 by default; tests lower it, 0 (or less) skips every pause.
void setPlatformSleepScale(double scale);
double platformSleepScale();

} // namespace Core
} // namespace BravoSensorPlugin
