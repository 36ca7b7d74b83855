#include "fiberrunner.h"

#include <boost/context/fiber.hpp>
#include <boost/context/protected_fixedsize_stack.hpp>

#if defined(__SANITIZE_ADDRESS__)
#define KR7D_ANNOTATE_FIBERS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KR7D_ANNOTATE_FIBERS 1
#endif
#endif
#ifdef KR7D_ANNOTATE_FIBERS
#include <sanitizer/common_interface_defs.h>
#endif

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QPointer>

#include <algorithm>
#include <map>

Q_LOGGING_CATEGORY(lcFibers, "kr7d.utils.fibers", QtWarningMsg)

namespace Utils {

namespace {

namespace ctx = boost::context;

// Qt paints, lays out and runs dialogs on a sequence's stack.
constexpr std::size_t stackSize = 1024 * 1024;

// A stack's bounds, told to AddressSanitizer around every switch so that it never takes the
// frames of one stack for another's.
struct StackBounds
{
    const void *bottom = nullptr;
    std::size_t size = 0;
};

// Called just before a switch to `to`; `fakeStack` null when the stack left ends for good.
void leaveStack([[maybe_unused]] void **fakeStack, [[maybe_unused]] const StackBounds &to)
{
#ifdef KR7D_ANNOTATE_FIBERS
    __sanitizer_start_switch_fiber(fakeStack, to.bottom, to.size);
#endif
}

// Called first thing after a switch; `from` learns the stack that was left.
void enterStack([[maybe_unused]] void *fakeStack, [[maybe_unused]] StackBounds *from)
{
#ifdef KR7D_ANNOTATE_FIBERS
    __sanitizer_finish_switch_fiber(fakeStack, from ? &from->bottom : nullptr,
                                    from ? &from->size : nullptr);
#endif
}

struct Fiber
{
    ctx::fiber self;   // the fiber's own context while it is not running
    ctx::fiber caller; // who resumed it, while it runs
    StackBounds stack;
    StackBounds callerStack;
    void *fakeStack = nullptr; // the sanitizer's, of the fiber while it does not run
    std::function<void()> work;
    quint64 wait = 0; // the wait it is suspended in, 0 while it runs
    bool finished = false;
};

} // namespace

class FiberRunner::Private
{
public:
    void resume(quint64 id)
    {
        Fiber &fiber = *fibers.at(id);
        const quint64 outer = current;
        current = id;
        fiber.wait = 0;
        void *fakeStack = nullptr;
        leaveStack(&fakeStack, fiber.stack);
        fiber.self = std::move(fiber.self).resume();
        enterStack(fakeStack, nullptr);
        current = outer;
        if (fiber.finished)
            fibers.erase(id);
    }

    std::map<quint64, std::unique_ptr<Fiber>> fibers;
    quint64 current = 0; // the running fiber, 0 on the thread's own stack
    quint64 lastId = 0;
    quint64 lastWait = 0;
    bool quitting = false;
};

FiberRunner::FiberRunner()
    : QObject(QCoreApplication::instance())
    , d(std::make_unique<Private>())
{
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
            &FiberRunner::drain);
}

// Whatever still waits is resumed before the runner goes: its stack unwinds as a stopped
// sequence's does, nothing of it is abandoned.
FiberRunner::~FiberRunner()
{
    drain();
}

FiberRunner *FiberRunner::instance()
{
    static QPointer<FiberRunner> runner;
    if (!runner)
        runner = new FiberRunner;
    return runner;
}

void FiberRunner::start(std::function<void()> work)
{
    const quint64 id = ++d->lastId;
    auto fiber = std::make_unique<Fiber>();
    Fiber *record = fiber.get();
    record->work = std::move(work);
    ctx::protected_fixedsize_stack allocator(stackSize);
    const ctx::stack_context stack = allocator.allocate();
    record->stack = {static_cast<const char *>(stack.sp) - stack.size, stack.size};
    record->self = ctx::fiber(std::allocator_arg, ctx::preallocated(stack.sp, stack.size, stack),
                              allocator, [record](ctx::fiber &&caller) {
                                  enterStack(nullptr, &record->callerStack);
                                  record->caller = std::move(caller);
                                  record->work();
                                  record->work = nullptr;
                                  record->finished = true;
                                  leaveStack(nullptr, record->callerStack);
                                  return std::move(record->caller);
                              });
    d->fibers.emplace(id, std::move(fiber));
    d->resume(id);
}

bool FiberRunner::inFiber() const
{
    return d->current != 0;
}

int FiberRunner::unfinished() const
{
    return int(d->fibers.size());
}

FiberRunner::Ticket FiberRunner::prepareWait()
{
    if (d->quitting || d->current == 0)
        return {};
    Fiber &fiber = *d->fibers.at(d->current);
    fiber.wait = ++d->lastWait;
    return {d->current, fiber.wait};
}

void FiberRunner::suspend()
{
    Fiber &fiber = *d->fibers.at(d->current);
    leaveStack(&fiber.fakeStack, fiber.callerStack);
    fiber.caller = std::move(fiber.caller).resume();
    enterStack(fiber.fakeStack, &fiber.callerStack);
}

void FiberRunner::wake(Ticket ticket)
{
    QMetaObject::invokeMethod(
        this, [this, ticket] { resumeWaiting(ticket); }, Qt::QueuedConnection);
}

// A ticket whose wait is over, or whose fiber has gone, wakes nothing.
void FiberRunner::resumeWaiting(Ticket ticket)
{
    const auto found = d->fibers.find(ticket.fiber);
    if (found == d->fibers.end() || found->second->wait != ticket.wait)
        return;
    d->resume(ticket.fiber);
}

void FiberRunner::drain()
{
    d->quitting = true;
    for (;;) {
        const auto waiting = std::find_if(d->fibers.cbegin(), d->fibers.cend(),
                                          [](const auto &entry) { return entry.second->wait != 0; });
        if (waiting == d->fibers.cend())
            break;
        qCDebug(lcFibers) << "ending fiber" << waiting->first << "at quit";
        d->resume(waiting->first);
    }
}

} // namespace Utils
