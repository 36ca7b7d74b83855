#include "portlist.h"

#include <QSerialPortInfo>

#include <utility>

namespace TGauge {

PortList::PortList(QStringList namedPorts, Source systemPorts, QObject *parent)
    : QObject(parent)
    , m_namedPorts(std::move(namedPorts))
    , m_systemPorts(std::move(systemPorts))
    , m_ports(merged(m_systemPorts(), m_namedPorts))
{
}

QStringList PortList::ports() const
{
    return m_ports;
}

QStringList PortList::systemSerialPorts()
{
    QStringList names;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : infos)
        names << info.portName();
    return names;
}

QStringList PortList::merged(const QStringList &systemPorts, const QStringList &namedPorts)
{
    QStringList result;
    for (const QStringList *names : {&systemPorts, &namedPorts}) {
        for (const QString &name : *names) {
            if (!name.isEmpty() && !result.contains(name))
                result << name;
        }
    }
    return result;
}

void PortList::refresh()
{
    QStringList current = merged(m_systemPorts(), m_namedPorts);
    if (current == m_ports)
        return;
    m_ports = std::move(current);
    emit portsChanged(m_ports);
}

} // namespace TGauge
