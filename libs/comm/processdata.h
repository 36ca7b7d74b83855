#pragma once

class QString;

// The sensor's cyclic process data, as the master answers a 02 70 22 request.
namespace BravoSensorPlugin {
namespace Core {

struct ProcessData
{
    double pressure = 0.0;    // bar
    double temperature = 0.0; // °C
    bool output1 = false;     // A1 switched
    bool output2 = false;     // A2 switched
    bool signalTooLow = false;
};

// Decodes the last 8 hex characters of an answer: pressure (signed 16 bits / divisor), temperature
// (12 bits x 0.1) and the status bits. A shorter text reads as if padded with leading zeros.
// `divisor` must be a usable scale (see usableDivisor).
ProcessData decodeProcessData(const QString &hexText, double divisor);

// The analog output for x on the characteristic from point0 to point10: 0..10 V for analogMode 0,
// otherwise 4..20 mA. Coinciding points give the output's lower end.
double analogOutputValue(double x, double point0, double point10, int analogMode);

} // namespace Core
} // namespace BravoSensorPlugin
