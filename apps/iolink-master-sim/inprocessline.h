#pragma once

#include <QIODevice>

namespace Kr7dSim {

class MasterEndpoint;

// The host's end of a line inside the process: what the host writes reaches
// the master's endpoint at once, what the endpoint answers is read back.
class InProcessLine final : public QIODevice
{
    Q_OBJECT
public:
    explicit InProcessLine(MasterEndpoint *endpoint, QObject *parent = nullptr);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    void deliver(const QByteArray &bytes);

    MasterEndpoint *m_endpoint; // not owned
    QByteArray m_incoming;
};

} // namespace Kr7dSim
