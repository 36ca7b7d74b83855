#pragma once

#include "aggregatepyramid.h"
#include "chunkedvector.h"
#include "sampleblock.h"
#include "utils_global.h"

#include <cstddef>
#include <vector>

namespace Utils {

struct Sample
{
    double time; // milliseconds since 1970
    double value;
    double analogValue; // the analog-output value that came with the value
};

// The history of one plotted quantity, sorted by time: closed blocks of
// blockSize samples, compressed, with the extremes of every run of blocks,
// and the newest samples as they came.
class UTILS_EXPORT ValueOverTime final
{
public:
    static constexpr int blockSize = 256;

    // A time stamp older than the newest one is raised to it, so the
    // time stamps stay sorted.
    void append(double timeMs, double value, double analogValue);
    // Empties the history and gives back its memory.
    void clear();

    int size() const;
    bool isEmpty() const;
    // The newest sample costs nothing; older ones decode their block.
    Sample sample(int index) const;

    // The first index whose time stamp is not before timeMs (size() when none).
    int indexAtOrAfter(double timeMs) const;

    // Takes the three arrays as they are; false (and nothing changed) when
    // their lengths differ or the time stamps are not sorted.
    bool assign(const std::vector<double> &times, const std::vector<double> &values,
                const std::vector<double> &analogValues);
    // Takes closed blocks as they are, with the extremes of each as
    // SampleBlock::fromBytes found them, followed by the newest samples; false
    // (and nothing changed) when a block is not full, an extremes is missing
    // or the time stamps across them are not sorted.
    bool assign(ChunkedVector<SampleBlock> blocks, const std::vector<Extremes> &blockExtremes,
                const std::vector<double> &times,
                const std::vector<double> &values, const std::vector<double> &analogValues);

    // What readers decode: the closed blocks, then the open one.
    const ChunkedVector<SampleBlock> &blocks() const;
    const AggregatePyramid &aggregates() const;
    const std::vector<double> &openTimes() const;
    const std::vector<double> &openValues() const;
    const std::vector<double> &openAnalogValues() const;

    // Bytes held for the samples, their blocks and the pyramid.
    std::size_t memoryBytes() const;

private:
    void closeOpenBlock();

    ChunkedVector<SampleBlock> m_blocks;
    AggregatePyramid m_aggregates;
    std::vector<double> m_times;
    std::vector<double> m_values;
    std::vector<double> m_analogValues;
};

} // namespace Utils
