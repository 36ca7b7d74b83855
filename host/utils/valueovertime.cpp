#include "valueovertime.h"

#include <algorithm>
#include <cmath>

namespace Utils {

void ValueOverTime::append(double timeMs, double value, double analogValue)
{
    // A clock set back must not unsort the time stamps that drawing searches.
    if (!m_times.empty() && !(timeMs >= m_times.back()))
        timeMs = m_times.back();
    m_times.push_back(timeMs);
    m_values.push_back(value);
    m_analogValues.push_back(analogValue);
}

void ValueOverTime::reserve(std::size_t samples)
{
    m_times.reserve(samples);
    m_values.reserve(samples);
    m_analogValues.reserve(samples);
}

void ValueOverTime::clear()
{
    m_times.clear();
    m_values.clear();
    m_analogValues.clear();
}

int ValueOverTime::size() const
{
    return int(m_times.size());
}

bool ValueOverTime::isEmpty() const
{
    return m_times.empty();
}

const double *ValueOverTime::pxData() const
{
    return m_times.data();
}

const double *ValueOverTime::pyData() const
{
    return m_values.data();
}

const double *ValueOverTime::pAnalogData() const
{
    return m_analogValues.data();
}

int ValueOverTime::indexAtOrAfter(double timeMs) const
{
    return int(std::lower_bound(m_times.cbegin(), m_times.cend(), timeMs) - m_times.cbegin());
}

bool ValueOverTime::assign(std::vector<double> times, std::vector<double> values,
                           std::vector<double> analogValues)
{
    if (times.size() != values.size() || times.size() != analogValues.size())
        return false;
    const auto isNan = [](double time) { return std::isnan(time); };
    if (std::any_of(times.cbegin(), times.cend(), isNan)
        || !std::is_sorted(times.cbegin(), times.cend()))
        return false;
    m_times = std::move(times);
    m_values = std::move(values);
    m_analogValues = std::move(analogValues);
    return true;
}

} // namespace Utils
