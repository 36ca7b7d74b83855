#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace Utils {

// A sequence that grows by whole chunks: an append never moves what is
// stored, and the index of chunks stays so short that growing it costs
// nothing. A std::deque instead doubles its index, and a month of history
// made that a fresh allocation of hundreds of kilobytes whose first touch,
// page by page, stalled a poll for milliseconds.
template<typename T>
class ChunkedVector final
{
public:
    // Elements per chunk: a few dozen kilobytes, whose pages are first
    // touched one element at a time as appends reach them.
    static constexpr std::size_t chunkSize = 512;

    void push_back(T value)
    {
        if (m_chunks.empty() || m_chunks.back().size() == chunkSize) {
            m_chunks.emplace_back();
            m_chunks.back().reserve(chunkSize);
        }
        m_chunks.back().push_back(std::move(value));
    }

    // Gives the memory back.
    void clear()
    {
        m_chunks = {};
    }

    std::size_t size() const
    {
        return m_chunks.empty() ? 0 : (m_chunks.size() - 1) * chunkSize + m_chunks.back().size();
    }
    bool empty() const { return m_chunks.empty(); }

    const T &operator[](std::size_t index) const
    {
        return m_chunks[index / chunkSize][index % chunkSize];
    }
    T &operator[](std::size_t index) { return m_chunks[index / chunkSize][index % chunkSize]; }
    const T &front() const { return m_chunks.front().front(); }
    const T &back() const { return m_chunks.back().back(); }

private:
    std::vector<std::vector<T>> m_chunks;
};

// The first index in [first, end) whose element fails `before`, or end; as
// std::partition_point, the elements that pass come first.
template<typename T, typename Predicate>
std::size_t partitionPoint(const ChunkedVector<T> &elements, std::size_t first, std::size_t end,
                           Predicate before)
{
    for (std::size_t count = end - first; count > 0;) {
        const std::size_t half = count / 2;
        if (before(elements[first + half])) {
            first += half + 1;
            count -= half + 1;
        } else {
            count = half;
        }
    }
    return first;
}

} // namespace Utils
