#include "historycursor.h"

#include <algorithm>

namespace Utils {

namespace {

constexpr int blockSize = ValueOverTime::blockSize;

// Where timeMs would fall in [first, end) if the blocks came at a steady pace, as polls do.
int guessBlock(const ChunkedVector<SampleBlock> &blocks, double timeMs, int first, int end)
{
    const double start = blocks[size_t(first)].firstTime();
    const double share = (timeMs - start) / (blocks[size_t(end - 1)].lastTime() - start);
    if (!(share > 0.0))
        return first;
    if (!(share < 1.0))
        return end - 1;
    return first + int(share * (end - first));
}

// The first block in [first, end) whose last time stamp is not before timeMs (end when
// none): galloping from the guess, so that a steady history costs a probe or two, each a
// block that may be far from the last one read, and an unsteady one no more than a search.
int firstBlockNotBefore(const ChunkedVector<SampleBlock> &blocks, double timeMs, int first, int end)
{
    if (first >= end)
        return end;
    const auto lastBefore = [timeMs](const SampleBlock &block) { return block.lastTime() < timeMs; };
    const auto before = [&](int block) { return lastBefore(blocks[size_t(block)]); };
    int known = guessBlock(blocks, timeMs, first, end);
    int step = 1;
    int low = 0;
    int high = 0;
    if (before(known)) {
        while (known + step < end && before(known + step)) {
            known += step;
            step *= 2;
        }
        low = known + 1;
        high = std::min(known + step, end);
    } else {
        while (known - step >= first && !before(known - step)) {
            known -= step;
            step *= 2;
        }
        low = std::max(known - step + 1, first);
        high = known;
    }
    return int(partitionPoint(blocks, size_t(low), size_t(high), lastBefore));
}

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
    const ChunkedVector<SampleBlock> &blocks = m_history.blocks();
    const int lastBlock = (end - 1) / blockSize;
    const int firstBlock = begin / blockSize;
    const int closedEnd = std::max(firstBlock, std::min(lastBlock + 1, int(blocks.size())));
    const int block = firstBlockNotBefore(blocks, timeMs, firstBlock, closedEnd);
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
