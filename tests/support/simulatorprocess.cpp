#include "simulatorprocess.h"

SimulatorProcess::~SimulatorProcess()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000))
        m_process.kill();
    m_process.waitForFinished(5000);
}

bool SimulatorProcess::start(const QStringList &arguments)
{
    m_process.start(QStringLiteral(KR7D_APP_DIR "/iolink-master-sim"), arguments);
    while (!m_process.canReadLine() && m_process.waitForReadyRead(5000)) {
    }
    if (!m_process.canReadLine())
        return false;
    m_portPath = QString::fromLocal8Bit(m_process.readLine().trimmed());
    return true;
}
