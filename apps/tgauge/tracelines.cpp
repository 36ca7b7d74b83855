#include "tracelines.h"

#include <algorithm>

namespace TGauge {

TraceLines::TraceLines(int capacity)
    : m_capacity(std::max(1, capacity))
{
}

void TraceLines::append(const QString &line)
{
    if (int(m_ring.size()) < m_capacity) {
        m_ring.push_back(line);
        return;
    }
    m_ring[size_t(m_start)] = line;
    m_start = (m_start + 1) % m_capacity;
}

void TraceLines::clear()
{
    m_ring.clear();
    m_start = 0;
}

int TraceLines::size() const
{
    return int(m_ring.size());
}

QStringList TraceLines::lines() const
{
    QStringList ordered;
    ordered.reserve(size());
    for (int i = 0; i < size(); ++i)
        ordered << m_ring[size_t((m_start + i) % size())];
    return ordered;
}

} // namespace TGauge
