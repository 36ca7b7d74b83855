#pragma once

#include <extensionsystem/communicationinterface.h>

#include <QObject>

namespace BravoSensorPlugin {
namespace Core {

// A copy of a transfer list in the connection's hands. It lives until the connection has
// finished it or is itself deleted, also when its sender stopped waiting for it: a connection
// never holds a list its sender has freed.
class HeldTransfer final : public QObject
{
    Q_OBJECT
public:
    using DataFrame = ExtensionSystem::CommunicationInterface::DataFrame;

    // Becomes a child of the connection and queues the copy with it.
    HeldTransfer(ExtensionSystem::CommunicationInterface *connection, const DataFrame &frames);

    unsigned int id() const { return m_id; }
    bool isFinished() const { return m_finished; }
    const DataFrame &frames() const { return m_frames; }
    // The sender is done with the list; it goes once the connection is done with it too.
    void release();

private:
    void onFinished(unsigned int id);

    DataFrame m_frames;
    unsigned int m_id = 0;
    bool m_finished = false;
    bool m_released = false;
};

} // namespace Core
} // namespace BravoSensorPlugin
