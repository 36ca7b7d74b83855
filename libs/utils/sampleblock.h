#pragma once

#include "extremes.h"
#include "utils_global.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace Utils {

// A closed run of samples (time stamps, values, analog values), compressed
// without loss: every double decodes to the bits it was encoded from.
class UTILS_EXPORT SampleBlock final
{
public:
    // The largest number of samples one block may hold.
    static constexpr int maxSamples = 4096;

    // `count` is 1..maxSamples; the time stamps are sorted.
    static SampleBlock encode(const double *times, const double *values,
                              const double *analogValues, int count);
    // A block from bytes of unknown origin: nullopt unless they decode
    // completely to sorted time stamps. The extremes of its values, numbered
    // from 0, come with it, found while checking.
    static std::optional<SampleBlock> fromBytes(std::vector<std::uint8_t> bytes,
                                                Extremes *extremes = nullptr);

    int size() const;
    double firstTime() const;
    double lastTime() const;
    const std::vector<std::uint8_t> &bytes() const;

    // Writes size() doubles to each array that is not null.
    void decode(double *times, double *values, double *analogValues) const;

private:
    SampleBlock(std::vector<std::uint8_t> bytes, int count, double firstTime, double lastTime);

    std::vector<std::uint8_t> m_bytes;
    int m_count;
    double m_firstTime;
    double m_lastTime;
};

} // namespace Utils
