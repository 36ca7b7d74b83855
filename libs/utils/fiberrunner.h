#pragma once

#include "utils_global.h"

#include <QObject>

#include <functional>
#include <memory>

namespace Utils {

// Runs work on stacks of its own, all on the GUI thread. A piece of work that waits (FiberWait)
// hands the thread back to whoever resumed it, in the end the event loop, and is resumed by the
// event that ends its wait. So two pieces of work that wait never nest on one stack: each goes on
// as soon as its own wait is over.
class UTILS_EXPORT FiberRunner : public QObject
{
    Q_OBJECT
public:
    // The runner of the GUI thread; a child of the application object, created on first use.
    static FiberRunner *instance();
    ~FiberRunner() override;

    // Runs work on a fiber of its own up to its first wait, then returns.
    void start(std::function<void()> work);
    bool inFiber() const;
    // Fibers started and not yet finished.
    int unfinished() const;

private:
    friend class FiberWait;
    struct Ticket
    {
        quint64 fiber = 0;
        quint64 wait = 0;
    };

    FiberRunner();
    // The running fiber gives the thread back until wake() gets the ticket it returned. Empty
    // when the application quits: waits then end at once.
    Ticket prepareWait();
    void suspend();
    // Resumes the fiber from the event loop, never from the caller's stack.
    void wake(Ticket ticket);
    void resumeWaiting(Ticket ticket);
    // The application quits: every waiting fiber is resumed and runs to its end.
    void drain();

    class Private;
    std::unique_ptr<Private> d;
};

} // namespace Utils
