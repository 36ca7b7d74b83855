#include "ptydevice.h"

#include <QLoggingCategory>
#include <QSocketNotifier>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcPtyDevice, "kr7d.tests.pty")

PtyDevice::PtyDevice(QObject *parent)
    : QObject(parent)
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
        return;
    m_portName = QString::fromLocal8Bit(ptsname(m_master));
    m_slave = ::open(ptsname(m_master), O_RDWR | O_NOCTTY | O_NONBLOCK);
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    m_clock.start();
    connect(m_notifier, &QSocketNotifier::activated, this, &PtyDevice::onReadable);
}

PtyDevice::~PtyDevice()
{
    unplug();
}

void PtyDevice::write(const QByteArray &bytes)
{
    if (m_master >= 0 && ::write(m_master, bytes.constData(), size_t(bytes.size())) != bytes.size())
        qCWarning(lcPtyDevice, "PtyDevice: short write");
}

void PtyDevice::unplug()
{
    delete m_notifier;
    m_notifier = nullptr;
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = -1;
    m_slave = -1;
}

void PtyDevice::onReadable()
{
    char buffer[256];
    const ssize_t count = ::read(m_master, buffer, sizeof buffer);
    if (count <= 0)
        return;
    ++m_readCount;
    const QByteArray bytes(buffer, int(count));
    m_received.append(bytes);
    const QList<QByteArray> frames = m_assembler.feed(bytes, m_clock.elapsed());
    for (const QByteArray &frame : frames)
        emit frameReceived(frame);
}
