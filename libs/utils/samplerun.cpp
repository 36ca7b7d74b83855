#include "samplerun.h"

#include "historycursor.h"

#include <algorithm>

namespace Utils {
namespace Charts {

// A sample never changes once appended: of a run that moved on with the newest samples only
// the new ones are decoded. A run that moved back, or jumped past the kept samples, starts over.
void SampleRun::take(HistoryCursor &history, int begin, int end)
{
    if (begin < m_begin || begin > this->end() || end < this->end()) {
        clear();
        m_begin = begin;
    }
    const long dropped = begin - m_begin;
    m_times.erase(m_times.begin(), m_times.begin() + dropped);
    m_values.erase(m_values.begin(), m_values.begin() + dropped);
    m_begin = begin;
    m_times.reserve(size_t(end - begin));
    m_values.reserve(size_t(end - begin));
    for (int index = this->end(); index < end; ++index) {
        m_times.push_back(history.time(index));
        m_values.push_back(history.value(index));
    }
}

void SampleRun::clear()
{
    m_times.clear();
    m_values.clear();
    m_begin = 0;
}

int SampleRun::begin() const
{
    return m_begin;
}

int SampleRun::end() const
{
    return m_begin + int(m_times.size());
}

double SampleRun::time(int index) const
{
    return m_times[size_t(index - m_begin)];
}

double SampleRun::value(int index) const
{
    return m_values[size_t(index - m_begin)];
}

// A column holds a few samples: galloping from begin finds its end in a few probes, where
// halving would start from the whole run.
int SampleRun::indexAtOrAfter(double timeMs, int begin, int end) const
{
    auto low = m_times.cbegin() + (begin - m_begin);
    const auto last = m_times.cbegin() + (end - m_begin);
    long step = 1;
    while (last - low > step && *(low + step - 1) < timeMs) {
        low += step;
        step *= 2;
    }
    const auto high = last - low > step ? low + step : last;
    return m_begin + int(std::lower_bound(low, high, timeMs) - m_times.cbegin());
}

Extremes SampleRun::extremes(int begin, int end) const
{
    const size_t offset = size_t(begin - m_begin);
    return Extremes::of(m_times.data() + offset, m_values.data() + offset, end - begin, begin);
}

void SampleRun::appendPoints(std::vector<QPointF> &out) const
{
    const size_t at = out.size();
    out.resize(at + m_times.size());
    std::transform(m_times.cbegin(), m_times.cend(), m_values.cbegin(), out.begin() + long(at),
                   [](double time, double value) { return QPointF(time, value); });
}

} // namespace Charts
} // namespace Utils
