#include "valueovertime.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace Utils {

namespace {

bool sortedTimes(const std::vector<double> &times)
{
    const auto isNan = [](double time) { return std::isnan(time); };
    return std::none_of(times.cbegin(), times.cend(), isNan)
           && std::is_sorted(times.cbegin(), times.cend());
}

} // namespace

void ValueOverTime::append(double timeMs, double value, double analogValue)
{
    // A clock set back must not unsort the time stamps that drawing searches.
    if (!isEmpty()) {
        const double newest = m_times.empty() ? m_blocks.back().lastTime() : m_times.back();
        if (!(timeMs >= newest))
            timeMs = newest;
    }
    if (int(m_times.size()) == blockSize)
        closeOpenBlock();
    if (m_times.capacity() < size_t(blockSize)) {
        m_times.reserve(blockSize);
        m_values.reserve(blockSize);
        m_analogValues.reserve(blockSize);
    }
    m_times.push_back(timeMs);
    m_values.push_back(value);
    m_analogValues.push_back(analogValue);
}

void ValueOverTime::closeOpenBlock()
{
    const int firstIndex = int(m_blocks.size()) * blockSize;
    m_aggregates.append(Extremes::of(m_times.data(), m_values.data(), blockSize, firstIndex));
    m_blocks.push_back(SampleBlock::encode(m_times.data(), m_values.data(), m_analogValues.data(),
                                           blockSize));
    m_times.clear();
    m_values.clear();
    m_analogValues.clear();
}

void ValueOverTime::clear()
{
    *this = ValueOverTime();
    // A month of blocks is a million small allocations; the allocator keeps
    // their pages unless asked, and the user cleared to get them back.
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

int ValueOverTime::size() const
{
    return int(m_blocks.size()) * blockSize + int(m_times.size());
}

bool ValueOverTime::isEmpty() const
{
    return m_blocks.empty() && m_times.empty();
}

Sample ValueOverTime::sample(int index) const
{
    const size_t block = size_t(index / blockSize);
    const size_t offset = size_t(index % blockSize);
    if (block >= m_blocks.size())
        return {m_times[offset], m_values[offset], m_analogValues[offset]};
    std::array<double, blockSize> times;
    std::array<double, blockSize> values;
    std::array<double, blockSize> analogValues;
    m_blocks[block].decode(times.data(), values.data(), analogValues.data());
    return {times[offset], values[offset], analogValues[offset]};
}

int ValueOverTime::indexAtOrAfter(double timeMs) const
{
    const size_t block = partitionPoint(
        m_blocks, 0, m_blocks.size(),
        [timeMs](const SampleBlock &candidate) { return candidate.lastTime() < timeMs; });
    const int firstIndex = int(block) * blockSize;
    if (block == m_blocks.size()) {
        return firstIndex
               + int(std::lower_bound(m_times.cbegin(), m_times.cend(), timeMs) - m_times.cbegin());
    }
    std::array<double, blockSize> times;
    m_blocks[block].decode(times.data(), nullptr, nullptr);
    return firstIndex
           + int(std::lower_bound(times.cbegin(), times.cbegin() + m_blocks[block].size(), timeMs)
                 - times.cbegin());
}

bool ValueOverTime::assign(const std::vector<double> &times, const std::vector<double> &values,
                           const std::vector<double> &analogValues)
{
    if (times.size() != values.size() || times.size() != analogValues.size()
        || !sortedTimes(times))
        return false;
    ValueOverTime history;
    for (size_t i = 0; i < times.size(); ++i)
        history.append(times[i], values[i], analogValues[i]);
    *this = std::move(history);
    return true;
}

bool ValueOverTime::assign(ChunkedVector<SampleBlock> blocks,
                           const std::vector<Extremes> &blockExtremes,
                           const std::vector<double> &times, const std::vector<double> &values,
                           const std::vector<double> &analogValues)
{
    if (blockExtremes.size() != blocks.size() || times.size() != values.size() || times.size() != analogValues.size()
        || times.size() > size_t(blockSize) || !sortedTimes(times))
        return false;
    double newest = -std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < blocks.size(); ++i) {
        if (blocks[i].size() != blockSize || blocks[i].firstTime() < newest)
            return false;
        newest = blocks[i].lastTime();
    }
    if (!times.empty() && times.front() < newest)
        return false;
    ValueOverTime history;
    for (size_t i = 0; i < blocks.size(); ++i) {
        Extremes extremes = blockExtremes[i];
        if (extremes.minIndex >= 0) {
            extremes.minIndex += int(i) * blockSize;
            extremes.maxIndex += int(i) * blockSize;
        }
        history.m_aggregates.append(extremes);
    }
    history.m_blocks = std::move(blocks);
    history.m_times = times;
    history.m_values = values;
    history.m_analogValues = analogValues;
    *this = std::move(history);
    return true;
}

const ChunkedVector<SampleBlock> &ValueOverTime::blocks() const
{
    return m_blocks;
}

const AggregatePyramid &ValueOverTime::aggregates() const
{
    return m_aggregates;
}

const std::vector<double> &ValueOverTime::openTimes() const
{
    return m_times;
}

const std::vector<double> &ValueOverTime::openValues() const
{
    return m_values;
}

const std::vector<double> &ValueOverTime::openAnalogValues() const
{
    return m_analogValues;
}

std::size_t ValueOverTime::memoryBytes() const
{
    std::size_t bytes = m_aggregates.memoryBytes()
                        + 3 * m_times.capacity() * sizeof(double);
    for (size_t i = 0; i < m_blocks.size(); ++i)
        bytes += sizeof(SampleBlock) + m_blocks[i].bytes().capacity();
    return bytes;
}

} // namespace Utils
