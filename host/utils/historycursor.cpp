#include "historycursor.h"

#include <algorithm>

namespace Utils {

namespace {

constexpr int blockSize = ValueOverTime::blockSize;

} // namespace

HistoryCursor::HistoryCursor(const ValueOverTime &history)
    : m_history(history)
{
}

HistoryCursor::Decoded *HistoryCursor::load(int index)
{
    const int block = index / blockSize;
    if (block >= int(m_history.blocks().size()))
        return nullptr;
    if (m_decoded[size_t(m_newest)].block != block) {
        m_newest = 1 - m_newest;
        Decoded &slot = m_decoded[size_t(m_newest)];
        if (slot.block != block) {
            m_history.blocks()[size_t(block)].decode(slot.times.data(), slot.values.data(),
                                                     nullptr);
            slot.block = block;
            slot.hasAnalogValues = false;
        }
    }
    return &m_decoded[size_t(m_newest)];
}

const double *HistoryCursor::times(int index)
{
    const Decoded *decoded = load(index);
    return decoded ? decoded->times.data() : m_history.openTimes().data();
}

const double *HistoryCursor::values(int index)
{
    const Decoded *decoded = load(index);
    return decoded ? decoded->values.data() : m_history.openValues().data();
}

double HistoryCursor::time(int index)
{
    return times(index)[index % blockSize];
}

double HistoryCursor::value(int index)
{
    return values(index)[index % blockSize];
}

double HistoryCursor::analogValue(int index)
{
    Decoded *decoded = load(index);
    if (!decoded)
        return m_history.openAnalogValues()[size_t(index % blockSize)];
    if (!decoded->hasAnalogValues) {
        m_history.blocks()[size_t(decoded->block)].decode(nullptr, nullptr,
                                                          decoded->analogValues.data());
        decoded->hasAnalogValues = true;
    }
    return decoded->analogValues[size_t(index % blockSize)];
}

int HistoryCursor::indexAtOrAfter(double timeMs, int begin, int end)
{
    if (begin >= end)
        return end;
    const std::deque<SampleBlock> &blocks = m_history.blocks();
    const int lastBlock = (end - 1) / blockSize;
    const int firstBlock = begin / blockSize;
    const int closedEnd = std::max(firstBlock, std::min(lastBlock + 1, int(blocks.size())));
    const auto before = [timeMs](const SampleBlock &candidate) {
        return candidate.lastTime() < timeMs;
    };
    // Galloping from the start: the next column's end is usually a few blocks on, and the
    // blocks near it are the ones that stay in the cache.
    int low = firstBlock;
    int step = 1;
    while (low + step < closedEnd && before(blocks[size_t(low + step)])) {
        low += step;
        step *= 2;
    }
    const int high = std::min(low + step + 1, closedEnd);
    const int block = int(std::partition_point(blocks.cbegin() + low, blocks.cbegin() + high, before)
                          - blocks.cbegin());
    if (block > lastBlock)
        return end;
    const int blockStart = block * blockSize;
    const int from = std::max(begin, blockStart);
    const int to = std::min(end, blockStart + blockSize);
    const double *base = times(blockStart) - blockStart;
    return int(std::lower_bound(base + from, base + to, timeMs) - base);
}

Extremes HistoryCursor::extremes(int begin, int end)
{
    Extremes result;
    const auto scan = [this, &result](int from, int to) {
        while (from < to) {
            const int blockStart = from / blockSize * blockSize;
            const int stop = std::min(to, blockStart + blockSize);
            const int offset = from - blockStart;
            result.add(Extremes::of(times(from) + offset, values(from) + offset, stop - from, from));
            from = stop;
        }
    };
    const int firstWhole = (begin + blockSize - 1) / blockSize;
    const int endWhole
        = std::min(end / blockSize, m_history.aggregates().blockCount());
    if (firstWhole >= endWhole) {
        scan(begin, end);
        return result;
    }
    scan(begin, firstWhole * blockSize);
    result.add(m_history.aggregates().query(firstWhole, endWhole));
    scan(endWhole * blockSize, end);
    return result;
}

} // namespace Utils
