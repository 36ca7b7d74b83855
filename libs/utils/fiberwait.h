#pragma once

#include "utils_global.h"

class QEventLoop;

namespace Utils {

// The wait of a command sequence for an answer or for time to pass. In a fiber of the
// FiberRunner the fiber yields meanwhile; elsewhere a nested event loop runs. Either way exec()
// also returns when the application quits: the caller must tell that from its own state.
class UTILS_EXPORT FiberWait
{
public:
    FiberWait() = default;
    FiberWait(const FiberWait &) = delete;
    FiberWait &operator=(const FiberWait &) = delete;

    // Returns after quit(); at once when quit() came first.
    void exec();
    void quit();

private:
    QEventLoop *m_loop = nullptr; // not owned: lives on exec's stack
    quint64 m_fiber = 0;          // the fiber waiting, 0 for none
    quint64 m_wait = 0;
    bool m_quit = false;
};

} // namespace Utils
