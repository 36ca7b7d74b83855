#pragma once

#include "devicedescription.h"
#include "faultsettings.h"
#include "networkserver.h"

#include <QCommandLineParser>

#include <optional>

namespace Kr7dSim {

struct ListenAddress
{
    NetworkServer::Protocol protocol;
    quint16 port; // 0: a free one
};

struct SimOptions
{
    QString descriptionPath;
    DeviceSelection selection;
    QString linkPath; // symbolic link to the port, removed on exit
    QString logPath;  // every frame in and out as hex
    FaultSettings faults;
    QList<ListenAddress> listen;
    bool pty = true;
    bool helpRequested = false;
    bool versionRequested = false;
};

// The command line of iolink-master-sim.
class SimCommandLine
{
public:
    SimCommandLine();

    // arguments start with the program name. Nothing when they are unusable;
    // errorText() then says why.
    std::optional<SimOptions> parse(const QStringList &arguments,
                                    const QString &defaultDescription);
    QString errorText() const { return m_error; }
    // Needs a QCoreApplication.
    QString helpText() const { return m_parser.helpText(); }

private:
    std::optional<qint64> count(const QCommandLineOption &option, qint64 absent);
    std::optional<ListenAddress> listenAddress(const QString &text);

    QCommandLineParser m_parser;
    QCommandLineOption m_description;
    QCommandLineOption m_sensor;
    QCommandLineOption m_variant;
    QCommandLineOption m_productId;
    QCommandLineOption m_link;
    QCommandLineOption m_log;
    QCommandLineOption m_latency;
    QCommandLineOption m_dropEvery;
    QCommandLineOption m_corruptEvery;
    QCommandLineOption m_unplugAfter;
    QCommandLineOption m_listen;
    QCommandLineOption m_pty;
    QString m_error;
};

} // namespace Kr7dSim
