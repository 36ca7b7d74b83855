#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

namespace TGauge {

// The serial ports the host offers to every plugin object: the system's ports
// first, then the names given by the user, each name once.
class PortList final : public QObject
{
    Q_OBJECT
public:
    using Source = std::function<QStringList()>;

    explicit PortList(QStringList namedPorts, Source systemPorts = systemSerialPorts,
                      QObject *parent = nullptr);

    QStringList ports() const;

    static QStringList systemSerialPorts();
    static QStringList merged(const QStringList &systemPorts, const QStringList &namedPorts);

signals:
    void portsChanged(const QStringList &ports);

public slots:
    // Asks the system again; emits portsChanged only when the list differs.
    void refresh();

private:
    QStringList m_namedPorts;
    Source m_systemPorts;
    QStringList m_ports;
};

} // namespace TGauge
