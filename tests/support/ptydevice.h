#pragma once

#include <simulator/frameassembler.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <limits>

class QSocketNotifier;

// Plays the device behind a serial port: the test holds the master side of a
// pseudo-terminal, the code under test opens the slave path like any port.
class PtyDevice final : public QObject
{
    Q_OBJECT
public:
    explicit PtyDevice(QObject *parent = nullptr);
    ~PtyDevice() override;

    bool isValid() const { return m_slave >= 0; }
    QString portName() const { return m_portName; }
    // A descriptor of the slave side, kept open so the master never sees a
    // hang-up between connections; also lets tests read the line settings.
    int slaveDescriptor() const { return m_slave; }

    void write(const QByteArray &bytes);
    // Closes the master: to the connection the port vanishes like an unplugged adapter.
    void unplug();

    // Every byte received so far and how many reads delivered them.
    QByteArray received() const { return m_received; }
    int readCount() const { return m_readCount; }

signals:
    // One whole request (byte 0 = count of the bytes that follow).
    void frameReceived(const QByteArray &frame);

private:
    void onReadable();

    int m_master = -1;
    int m_slave = -1;
    QString m_portName;
    QSocketNotifier *m_notifier = nullptr; // owned (Qt parent)
    QByteArray m_received;
    // Requests come whole from the code under test, so a pause never drops a started one.
    Kr7dSim::FrameAssembler m_assembler{std::numeric_limits<int>::max()};
    QElapsedTimer m_clock;
    int m_readCount = 0;
};
