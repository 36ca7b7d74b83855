#pragma once

#include <utils/fiberrunner.h>

#include <QPointer>

namespace BravoSensorPlugin {
namespace Core {

// A slot that starts a command sequence, wrapped to run on a fiber of its own: its waits yield
// to the event loop instead of nesting on the stack of whatever waits already, so the sequences
// of several windows run side by side. Connect it in place of the slot.
template<typename Window, typename... Args>
auto onOwnFiber(Window *window, void (Window::*slot)(Args...))
{
    return [window = QPointer<Window>(window), slot](Args... args) {
        Utils::FiberRunner::instance()->start([window, slot, args...] {
            if (window)
                (window.data()->*slot)(args...);
        });
    };
}

} // namespace Core
} // namespace BravoSensorPlugin
