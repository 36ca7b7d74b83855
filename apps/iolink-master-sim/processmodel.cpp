#include "processmodel.h"

#include <QtMath>

namespace Kr7dSim {

namespace {

// Periods long against the 65 ms poll, so charts show smooth curves.
constexpr double pressurePeriodMs = 40000.0;
constexpr double temperaturePeriodMs = 300000.0;
constexpr double roomTemperature = 25.0;
constexpr double temperatureSwing = 15.0;

double wave(qint64 nowMs, double periodMs)
{
    return qSin(2.0 * M_PI * double(nowMs) / periodMs);
}

} // namespace

ProcessModel::ProcessModel(double minBar, double maxBar, quint32 seed)
    : m_minBar(minBar)
    , m_maxBar(maxBar)
    , m_noise(seed)
{
}

ProcessModel::Sample ProcessModel::sample(qint64 nowMs)
{
    if (m_held)
        return *m_held;
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    const double span = m_maxBar - m_minBar;
    const double middle = m_minBar + span / 2.0;
    Sample sample;
    // 90 % of the range, plus at most 0.3 % noise: never leaves the range.
    sample.pressureBar
        = middle + 0.45 * span * wave(nowMs, pressurePeriodMs) + 0.003 * span * unit(m_noise);
    sample.temperatureCelsius = roomTemperature
                                + temperatureSwing * wave(nowMs, temperaturePeriodMs)
                                + 0.1 * unit(m_noise);
    return sample;
}

void ProcessModel::hold(const Sample &values)
{
    m_held = values;
}

void ProcessModel::release()
{
    m_held.reset();
}

} // namespace Kr7dSim
