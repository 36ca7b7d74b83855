#pragma once

#include <QtGlobal>

#include <optional>
#include <random>

namespace Kr7dSim {

// What the simulated sensor measures: pressure and temperature drifting
// slowly inside the variant's range, with a little noise. Deterministic for a
// given seed and sequence of sample times.
class ProcessModel
{
public:
    struct Sample
    {
        double pressureBar = 0.0;
        double temperatureCelsius = 0.0;
    };

    ProcessModel(double minBar, double maxBar, quint32 seed);

    Sample sample(qint64 nowMs);

    // Pins both values (no drift, no noise) until released.
    void hold(const Sample &values);
    void release();

private:
    double m_minBar;
    double m_maxBar;
    std::mt19937 m_noise;
    std::optional<Sample> m_held;
};

} // namespace Kr7dSim
