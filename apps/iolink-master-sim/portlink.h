#pragma once

#include <QString>

namespace Kr7dSim {

// A symbolic link to the served port, with a stable name for clients;
// removed again when the object goes.
class PortLink
{
public:
    PortLink() = default;
    ~PortLink();
    PortLink(const PortLink &) = delete;
    PortLink &operator=(const PortLink &) = delete;

    // Replaces a stale link at linkPath; refuses to replace anything else.
    bool create(const QString &target, const QString &linkPath, QString *error);

private:
    QString m_linkPath;
};

} // namespace Kr7dSim
