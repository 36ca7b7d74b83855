#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// iolink-master-sim from the application directory on a pseudo-terminal of its own,
// stopped when the object goes.
class SimulatorProcess
{
public:
    ~SimulatorProcess();

    // True once the simulator printed its port.
    bool start(const QStringList &arguments = {});

    QProcess &process() { return m_process; }
    QString portPath() const { return m_portPath; }

private:
    QProcess m_process;
    QString m_portPath;
};
