#pragma once

#include "extensionsystem_global.h"

#include <QObject>

#include <list>
#include <string>

namespace ExtensionSystem {

class PortSettings;

// One open connection to a serial device, shared by request/answer transfers.
class EXTENSIONSYSTEM_EXPORT CommunicationInterface : public QObject
{
    Q_OBJECT
public:
    // One request and, once the transfer is done, its answer.
    struct DataFrameRecord
    {
        std::string query;
        std::string answerPattern; // regular expression over the answer's lower-case hex text; ""
                                   // or ".*" takes any
        std::string answer;
        int status = 0; // 1 = answered within timeoutMs and matching answerPattern
        double timeoutMs = 1000.0;
        qint64 tag = 0; // free for the caller; never touched by the connection
    };
    using DataFrame = std::list<DataFrameRecord>;

    explicit CommunicationInterface(QObject *parent = nullptr);
    ~CommunicationInterface() override;

    // The order of these virtual operations is part of the host's binary contract.
    virtual bool bIsOpen() const = 0;
    virtual void vSendRawData(std::string data) = 0;
    virtual QString portName() const = 0;
    // Queues the list; returns its id (never 0) at once. emitFinished(id) follows
    // once every record has its answer or timed out, never before this returns.
    // The caller keeps the list alive until then.
    virtual unsigned int uiSendDataFrames(DataFrame *frames) = 0;
    virtual int iPendingTransfers() const = 0;
    virtual void vClose() = 0;
    virtual bool bPortLost() const = 0;
    virtual void vSetPortSettings(const PortSettings *settings) = 0;
    // The open port's current settings; the caller copies them.
    virtual PortSettings *poGetPortSettings() = 0;

signals:
    void emitFinished(unsigned int id);
};

} // namespace ExtensionSystem

Q_DECLARE_METATYPE(ExtensionSystem::CommunicationInterface::DataFrame)
