#include "recentports.h"

#include <extensionsystem/networkport.h>

#include <QSettings>

namespace TGauge {

namespace {

const QString key = QStringLiteral("recentNetworkPorts");

} // namespace

RecentPorts::RecentPorts(QSettings &settings)
    : m_settings(settings)
{
    const QStringList stored = settings.value(key).toStringList();
    for (auto it = stored.crbegin(); it != stored.crend(); ++it)
        m_ports = withConnected(m_ports, *it);
}

void RecentPorts::connected(const QString &portName)
{
    const QStringList ports = withConnected(m_ports, portName);
    if (ports == m_ports)
        return;
    m_ports = ports;
    m_settings.setValue(key, m_ports);
    m_settings.sync();
}

QStringList RecentPorts::withConnected(QStringList recent, const QString &portName)
{
    if (!ExtensionSystem::parseNetworkPort(portName))
        return recent;
    recent.removeAll(portName);
    recent.prepend(portName);
    return recent.mid(0, kept);
}

} // namespace TGauge
