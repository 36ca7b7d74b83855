#include "stopsignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace Kr7dSim {

namespace {

int pipeFds[2] = {-1, -1};

extern "C" void onStopSignal(int)
{
    const char byte = 1;
    // Only async-signal-safe calls here; a full pipe already carries the news.
    [[maybe_unused]] const ssize_t written = ::write(pipeFds[1], &byte, 1);
}

void setHandler(void (*handler)(int))
{
    struct sigaction action
    {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

} // namespace

StopSignals::StopSignals(QObject *parent)
    : QObject(parent)
{
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte;
        while (::read(pipeFds[0], &byte, 1) > 0) {
        }
        emit received();
    });
    setHandler(onStopSignal);
}

StopSignals::~StopSignals()
{
    if (!m_notifier)
        return;
    setHandler(SIG_DFL);
    delete m_notifier;
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    pipeFds[0] = pipeFds[1] = -1;
}

} // namespace Kr7dSim
