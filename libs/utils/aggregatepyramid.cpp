#include "aggregatepyramid.h"

#include <array>

namespace Utils {

void AggregatePyramid::append(const Extremes &block)
{
    Extremes carry = block;
    for (size_t level = 0;; ++level) {
        if (level == m_levels.size())
            m_levels.emplace_back();
        ChunkedVector<Extremes> &entries = m_levels[level];
        entries.push_back(carry);
        if (entries.size() % 2 != 0)
            return;
        carry = entries[entries.size() - 2];
        carry.add(entries.back());
    }
}

void AggregatePyramid::clear()
{
    m_levels = {};
}

int AggregatePyramid::blockCount() const
{
    return m_levels.empty() ? 0 : int(m_levels.front().size());
}

// Walks up from both ends; the right-hand entries are joined last, in order,
// so that the first of equal extremes wins as in a scan.
Extremes AggregatePyramid::query(int firstBlock, int endBlock) const
{
    Extremes left;
    std::array<const Extremes *, 64> right{};
    size_t rightCount = 0;
    size_t first = size_t(firstBlock);
    size_t end = size_t(endBlock);
    for (size_t level = 0; first < end; ++level, first /= 2, end /= 2) {
        const ChunkedVector<Extremes> &entries = m_levels[level];
        if (first % 2 != 0)
            left.add(entries[first++]);
        if (end % 2 != 0)
            right[rightCount++] = &entries[--end];
    }
    while (rightCount > 0)
        left.add(*right[--rightCount]);
    return left;
}

std::size_t AggregatePyramid::memoryBytes() const
{
    std::size_t entries = 0;
    for (const ChunkedVector<Extremes> &level : m_levels)
        entries += level.size();
    return entries * sizeof(Extremes);
}

} // namespace Utils
