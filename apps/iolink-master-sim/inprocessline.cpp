#include "inprocessline.h"

#include "masterendpoint.h"

#include <cstring>

namespace Kr7dSim {

InProcessLine::InProcessLine(MasterEndpoint *endpoint, QObject *parent)
    : QIODevice(parent)
    , m_endpoint(endpoint)
{
    connect(endpoint, &MasterEndpoint::answerReady, this, &InProcessLine::deliver);
}

qint64 InProcessLine::bytesAvailable() const
{
    return m_incoming.size() + QIODevice::bytesAvailable();
}

qint64 InProcessLine::readData(char *data, qint64 maxSize)
{
    const int count = int(qMin<qint64>(maxSize, m_incoming.size()));
    std::memcpy(data, m_incoming.constData(), size_t(count));
    m_incoming.remove(0, count);
    return count;
}

qint64 InProcessLine::writeData(const char *data, qint64 size)
{
    m_endpoint->receive(QByteArray(data, int(size)));
    return size;
}

void InProcessLine::deliver(const QByteArray &bytes)
{
    if (!isOpen())
        return;
    m_incoming += bytes;
    emit readyRead();
}

} // namespace Kr7dSim
