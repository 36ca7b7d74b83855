#pragma once

#include "chunkedvector.h"
#include "extremes.h"
#include "utils_global.h"

#include <cstddef>
#include <vector>

namespace Utils {

// The extremes of every closed block and of every aligned run of 2, 4, 8...
// blocks, so that the extremes of any run of blocks come from at most two
// entries per level instead of a scan.
class UTILS_EXPORT AggregatePyramid final
{
public:
    // The extremes of the next block.
    void append(const Extremes &block);
    void clear();

    int blockCount() const;
    // The extremes of the blocks [firstBlock, endBlock).
    Extremes query(int firstBlock, int endBlock) const;
    std::size_t memoryBytes() const;

private:
    // Level k holds one entry per 2^k blocks; a level grows by chunks, so
    // no append waits for a copy of the whole level.
    std::vector<ChunkedVector<Extremes>> m_levels;
};

} // namespace Utils
