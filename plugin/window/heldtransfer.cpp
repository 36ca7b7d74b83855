#include "heldtransfer.h"

namespace BravoSensorPlugin {
namespace Core {

HeldTransfer::HeldTransfer(ExtensionSystem::CommunicationInterface *connection,
                           const DataFrame &frames)
    : QObject(connection)
    , m_frames(frames)
{
    connect(connection, &ExtensionSystem::CommunicationInterface::emitFinished, this,
            &HeldTransfer::onFinished);
    m_id = connection->uiSendDataFrames(&m_frames);
}

void HeldTransfer::release()
{
    m_released = true;
    if (m_finished)
        deleteLater();
}

void HeldTransfer::onFinished(unsigned int id)
{
    if (id != m_id || m_finished)
        return;
    m_finished = true;
    if (m_released)
        deleteLater();
}

} // namespace Core
} // namespace BravoSensorPlugin
