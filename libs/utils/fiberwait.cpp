#include "fiberwait.h"

#include "fiberrunner.h"

#include <QEventLoop>

namespace Utils {

void FiberWait::exec()
{
    if (!m_quit) {
        FiberRunner *runner = FiberRunner::instance();
        if (runner->inFiber()) {
            const FiberRunner::Ticket ticket = runner->prepareWait();
            if (ticket.fiber != 0) {
                m_fiber = ticket.fiber;
                m_wait = ticket.wait;
                runner->suspend();
                m_fiber = 0;
            }
        } else {
            QEventLoop loop;
            m_loop = &loop;
            loop.exec();
            m_loop = nullptr;
        }
    }
    m_quit = false;
}

void FiberWait::quit()
{
    if (m_loop)
        m_loop->quit();
    else if (m_fiber != 0)
        FiberRunner::instance()->wake({m_fiber, m_wait});
    else
        m_quit = true;
}

} // namespace Utils
