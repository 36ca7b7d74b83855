#include "ptyserver.h"

#include <QIODevice>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace Kr7dSim {

namespace {

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

PtyServer::PtyServer(MasterSimulator *simulator, QObject *parent)
    : QObject(parent)
    , m_endpoint(simulator)
{
    connect(&m_endpoint, &MasterEndpoint::answerReady, this, &PtyServer::writeToClient);
    connect(&m_endpoint, &MasterEndpoint::unplugged, this, &PtyServer::unplug);
}

PtyServer::~PtyServer()
{
    close();
}

bool PtyServer::open(QString *error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0) {
        *error = systemError("posix_openpt");
        return false;
    }
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        *error = systemError("grantpt/unlockpt");
        close();
        return false;
    }
    m_portPath = QString::fromLocal8Bit(::ptsname(m_master));
    // Holding the other side open keeps the master readable while no client
    // is connected; raw mode keeps the line discipline from touching bytes.
    m_slave = ::open(::ptsname(m_master), O_RDWR | O_NOCTTY);
    termios mode{};
    if (m_slave < 0 || ::tcgetattr(m_slave, &mode) != 0) {
        *error = systemError("open terminal");
        close();
        return false;
    }
    ::cfmakeraw(&mode);
    ::tcsetattr(m_slave, TCSANOW, &mode);

    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PtyServer::readRequests);
    m_endpoint.start();
    return true;
}

void PtyServer::readRequests()
{
    QByteArray received;
    char buffer[256];
    for (;;) {
        const ssize_t count = ::read(m_master, buffer, sizeof buffer);
        if (count > 0)
            received.append(buffer, int(count));
        else if (count < 0 && errno == EINTR)
            continue;
        else
            break;
    }
    if (received.isEmpty())
        return;
    // A client that starts talking has read what it wanted; answers nobody
    // picked up (an earlier client's) must not reach it.
    ::tcflush(m_slave, TCIFLUSH);
    m_endpoint.receive(received);
}

void PtyServer::writeToClient(const QByteArray &bytes)
{
    qint64 written = 0;
    while (m_master >= 0 && written < bytes.size()) {
        const ssize_t count
            = ::write(m_master, bytes.constData() + written, size_t(bytes.size() - written));
        if (count > 0)
            written += count;
        else if (!(count < 0 && errno == EINTR))
            return; // the terminal's buffer is full: nobody reads, the answer is lost
    }
}

void PtyServer::unplug()
{
    if (m_master < 0)
        return;
    close();
    emit unplugged();
}

void PtyServer::close()
{
    m_endpoint.stop();
    delete m_notifier;
    m_notifier = nullptr;
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = -1;
    m_master = -1;
}

} // namespace Kr7dSim
