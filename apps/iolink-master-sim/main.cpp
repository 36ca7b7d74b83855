// iolink-master-sim: a simulated IO-Link master with one KR7D sensor, served
// on a pseudo-terminal and/or loopback TCP. The first line on stdout is the port to open,
// one line per front end.

#include "mastersimulator.h"
#include "networkserver.h"
#include "portlink.h"
#include "ptyserver.h"
#include "simcommandline.h"
#include "stopsignals.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "iolink-master-sim: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(KR7D_VERSION));
    using namespace Kr7dSim;
    // Installed first, so that a stop request at any moment still removes the link.
    StopSignals stopSignals;
    QObject::connect(&stopSignals, &StopSignals::received, &app, &QCoreApplication::quit);

    SimCommandLine commandLine;
    const QString defaultDescription
        = QCoreApplication::applicationDirPath() + QLatin1String("/IoLinkKR7Dfamily.xml");
    const std::optional<SimOptions> options
        = commandLine.parse(app.arguments(), defaultDescription);
    if (!options) {
        // Like tgauge: 2 for a wrong command line, 1 for what fails once it runs.
        fail(commandLine.errorText() + QStringLiteral("\nTry 'iolink-master-sim --help'."));
        return 2;
    }
    if (options->helpRequested) {
        std::fputs(qPrintable(commandLine.helpText()), stdout);
        return 0;
    }
    if (options->versionRequested) {
        std::printf("iolink-master-sim %s\n", KR7D_VERSION);
        return 0;
    }

    QString error;
    const std::unique_ptr<MasterSimulator> simulator
        = MasterSimulator::fromFile(options->descriptionPath, options->selection, &error);
    if (!simulator)
        return fail(error);
    simulator->setFaults(options->faults);

    QFile log(options->logPath);
    if (!options->logPath.isEmpty()
        && !log.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        return fail(QStringLiteral("cannot write %1: %2").arg(options->logPath, log.errorString()));
    }

    // Every front end serves the same master; the first line printed is the port to open.
    QStringList ports;
    PtyServer pty(simulator.get());
    PortLink link;
    if (options->pty) {
        if (log.isOpen())
            pty.setLog(&log);
        if (!pty.open(&error))
            return fail(error);
        if (!options->linkPath.isEmpty() && !link.create(pty.portPath(), options->linkPath, &error))
            return fail(error);
        QObject::connect(&pty, &PtyServer::unplugged, &app, &QCoreApplication::quit);
        ports.append(pty.portPath());
    }
    std::vector<std::unique_ptr<NetworkServer>> servers;
    for (const ListenAddress &address : options->listen) {
        auto server = std::make_unique<NetworkServer>(simulator.get(), address.protocol);
        if (log.isOpen())
            server->setLog(&log);
        if (!server->listen(address.port, &error))
            return fail(error);
        QObject::connect(server.get(), &NetworkServer::unplugged, &app, &QCoreApplication::quit);
        ports.append(server->address());
        servers.push_back(std::move(server));
    }
    for (const QString &port : qAsConst(ports))
        std::printf("%s\n", qPrintable(port));
    std::fflush(stdout);
    const DeviceIdentity &device = simulator->device();
    std::fprintf(stderr, "iolink-master-sim: %s, variant %s, product id %s\n",
                 qPrintable(device.sensor.name), qPrintable(device.variant.id3),
                 qPrintable(device.productId));

    return app.exec();
}
