#include "appfolders.h"
#include "batchanswerer.h"
#include "commandline.h"
#include "languageswitcher.h"
#include "mainwindow.h"
#include "pluginloader.h"
#include "portlist.h"
#include "recentports.h"
#include "simulatedmaster.h"
#include "startuprun.h"

#include <extensionsystem/connectionregistry.h>
#include <simulator/stopsignals.h>

#include <QApplication>
#include <QScopeGuard>
#include <QSettings>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace {

// Without a display the host still runs, e.g. for scripted screenshots.
void chooseHeadlessPlatformWhenNoDisplay()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

void printLine(std::FILE *stream, const QString &line)
{
    std::fputs(qUtf8Printable(line + QLatin1Char('\n')), stream);
    std::fflush(stream);
}

void reportRefusals(const std::vector<TGauge::PluginLoadResult> &results, const QString &directory)
{
    if (results.empty())
        printLine(stderr, QCoreApplication::translate("tgauge", "tgauge: no plug-in library in %1")
                              .arg(directory));
    for (const TGauge::PluginLoadResult &result : results) {
        if (!result.library)
            printLine(stderr, QCoreApplication::translate("tgauge", "tgauge: refused %1: %2")
                                  .arg(result.filePath, result.error));
    }
}

void printCatalogue(const std::vector<TGauge::PluginLoadResult> &results)
{
    QTextStream out(stdout);
    for (const TGauge::PluginLoadResult &result : results) {
        if (!result.library)
            continue;
        for (const auto &sensor : result.library->sensors)
            out << QString::fromStdString(sensor.name()) << '\n';
    }
}

} // namespace

int main(int argc, char *argv[])
{
    chooseHeadlessPlatformWhenNoDisplay();
    QApplication app(argc, argv);
    // From the start on, a signal ends the session on the event loop instead of mid-frame.
    Kr7dSim::StopSignals stopSignals;
    QApplication::setApplicationName(QStringLiteral("tgauge"));
    QApplication::setApplicationVersion(QStringLiteral(KR7D_VERSION));

    // Plug-ins read the language while they load and build their windows; the command
    // line's own messages are in it too.
    TGauge::LanguageSwitcher languages(TGauge::LanguageSwitcher::defaultDirectories(),
                                       TGauge::LanguageSwitcher::qtDirectories());
    const QString language = TGauge::requestedLanguage(QApplication::arguments());
    if (!language.isEmpty())
        languages.switchTo(language);

    using Status = TGauge::CommandLineParseResult::Status;
    const TGauge::CommandLineParseResult parsed
        = TGauge::parseCommandLine(QApplication::arguments(), TGauge::defaultPluginDirectory());
    switch (parsed.status) {
    case Status::Error:
        printLine(stderr, QCoreApplication::translate("tgauge", "tgauge: %1\nTry 'tgauge --help'.")
                              .arg(parsed.message));
        return 2;
    case Status::HelpRequested:
    case Status::VersionRequested:
        std::fputs(qUtf8Printable(parsed.message + QLatin1Char('\n')), stdout);
        return 0;
    case Status::Ok:
        break;
    }
    const TGauge::CommandLine &options = parsed.options;

    TGauge::BatchAnswerer answerer;
    if (options.batch) {
        // Only the dialog's own widgets can be seen, and answered, by the filter.
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        app.installEventFilter(&answerer);
        QObject::connect(&answerer, &TGauge::BatchAnswerer::answered,
                         [](const QString &line) { printLine(stderr, line); });
    }

    if (!options.simulatePort.isEmpty()) {
        TGauge::serveSimulatedMaster(options.simulatePort, options.openSensors.value(0),
                                     QApplication::applicationDirPath()
                                         + QStringLiteral("/IoLinkKR7Dfamily.xml"));
    }

    std::vector<TGauge::PluginLoadResult> results
        = TGauge::PluginLoader(options.pluginDirectory).loadAll();
    reportRefusals(results, options.pluginDirectory);
    QStringList pluginFiles;
    for (const TGauge::PluginLoadResult &result : results) {
        if (result.library)
            pluginFiles << result.filePath;
    }
    languages.addCatalogueDirectories(TGauge::LanguageSwitcher::pluginDirectories(pluginFiles));
    if (options.listSensors) {
        printCatalogue(results);
        return 0;
    }

    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("tgauge"),
                       QStringLiteral("tgauge"));
    TGauge::RecentPorts recentPorts(settings);
    ExtensionSystem::ConnectionRegistry &registry = ExtensionSystem::ConnectionRegistry::instance();
    registry.setConnectedListener(
        [&recentPorts](const QString &portName) { recentPorts.connected(portName); });
    const auto forgetListener = qScopeGuard([&registry] { registry.setConnectedListener({}); });
    TGauge::PortList ports(options.namedPorts() + recentPorts.ports());
    TGauge::MainWindow window(std::move(results), ports, languages);
    window.show();
    TGauge::StartupRun run(options, window);
    QObject::connect(&run, &TGauge::StartupRun::screenshotSaved, [](const QString &fileName) {
        printLine(
            stderr,
            QCoreApplication::translate("tgauge", "tgauge: saved the screenshot %1").arg(fileName));
    });
    QObject::connect(&run, &TGauge::StartupRun::reported,
                     [](const QString &line) { printLine(stdout, line); });
    QObject::connect(&run, &TGauge::StartupRun::failed,
                     [](const QString &line) { printLine(stderr, line); });
    QObject::connect(&run, &TGauge::StartupRun::quitRequested, &app, &QCoreApplication::exit);
    QObject::connect(&stopSignals, &Kr7dSim::StopSignals::received, &run,
                     &TGauge::StartupRun::interrupt);
    run.start();
    const int loopCode = QApplication::exec();
    return std::max(loopCode, run.exitCode());
}
