#include "stopsignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace Kr7dSim {

namespace {

struct HandledSignal
{
    int number;
    const char *name;
};

const HandledSignal handledSignals[]
    = {{SIGINT, "SIGINT"}, {SIGTERM, "SIGTERM"}, {SIGHUP, "SIGHUP"}};

int pipeFds[2] = {-1, -1};

extern "C" void onStopSignal(int signalNumber)
{
    // Only async-signal-safe calls here; every handled number fits one byte, and a full
    // pipe already carries the news.
    const auto byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(pipeFds[1], &byte, 1);
}

void setHandler(void (*handler)(int))
{
    struct sigaction action
    {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const HandledSignal &handled : handledSignals)
        ::sigaction(handled.number, &action, nullptr);
}

} // namespace

StopSignals::StopSignals(QObject *parent)
    : QObject(parent)
{
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        unsigned char byte = 0;
        while (::read(pipeFds[0], &byte, 1) > 0)
            emit received(byte);
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

QString StopSignals::name(int signalNumber)
{
    for (const HandledSignal &handled : handledSignals) {
        if (handled.number == signalNumber)
            return QString::fromLatin1(handled.name);
    }
    return QString::number(signalNumber);
}

} // namespace Kr7dSim
