#pragma once

// How long the pauses between the frames of a command sequence last. The pause itself is a
// wait of the sequence's owner, which keeps its thread's event loop running meanwhile.
namespace BravoSensorPlugin {
namespace Core {

// ms x platformSleepScale(), rounded to whole milliseconds.
unsigned int platformSleepMs(unsigned int ms);

// Set while a sequence that is being abandoned (its window goes away, the application quits)
// unwinds. Each sequence ends its own pauses early when it is stopped: the flag is process-wide,
// and another window's sequence may run meanwhile with its pauses whole.
void setPlatformSleepInterrupted(bool interrupted);
bool platformSleepInterrupted();

// Process-wide, 1.0 by default; tests lower it, 0 (or less) skips every pause.
void setPlatformSleepScale(double scale);
double platformSleepScale();

} // namespace Core
} // namespace BravoSensorPlugin
