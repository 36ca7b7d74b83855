// Any bytes as a compressed block of samples: whatever is taken must decode, and encoding what
// it decoded must give back the same bits.
#include <utils/sampleblock.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::optional<Utils::SampleBlock> block
        = Utils::SampleBlock::fromBytes(std::vector<std::uint8_t>(data, data + size));
    if (!block)
        return 0;
    const size_t count = size_t(block->size());
    std::vector<double> columns(3 * count);
    block->decode(columns.data(), columns.data() + count, columns.data() + 2 * count);
    const Utils::SampleBlock again = Utils::SampleBlock::encode(
        columns.data(), columns.data() + count, columns.data() + 2 * count, int(count));
    std::vector<double> decoded(3 * count);
    again.decode(decoded.data(), decoded.data() + count, decoded.data() + 2 * count);
    if (std::memcmp(columns.data(), decoded.data(), columns.size() * sizeof(double)) != 0)
        std::abort();
    return 0;
}
