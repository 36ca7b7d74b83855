#pragma once

#include <QStringList>

class QSettings;

namespace TGauge {

// The network ports the host connected to last, kept in its settings so that
// the port list offers them again; serial ports come from the system anyway.
class RecentPorts
{
public:
    static constexpr int kept = 5;

    explicit RecentPorts(QSettings &settings);

    QStringList ports() const { return m_ports; }
    void connected(const QString &portName);

    // The most recent first, each name once, at most `kept`.
    static QStringList withConnected(QStringList recent, const QString &portName);

private:
    QSettings &m_settings;
    QStringList m_ports;
};

} // namespace TGauge
