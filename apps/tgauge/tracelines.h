#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace TGauge {

// The last `capacity` lines of a trace, oldest first; older lines drop out.
class TraceLines
{
public:
    explicit TraceLines(int capacity);

    void append(const QString &line);
    void clear();
    int size() const;
    QStringList lines() const;

private:
    std::vector<QString> m_ring;
    int m_capacity;
    int m_start = 0; // index of the oldest line once the ring is full
};

} // namespace TGauge
