#include "commandline.h"

#include "languagechoice.h"
#include "sensorfiles.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace TGauge {

namespace {

using Status = CommandLineParseResult::Status;

struct OptionInfo
{
    const char *name;
    const char *valueName; // null for a switch
    const char *description;
};

const OptionInfo optionInfos[] = {
    {"open-sensor", "name",
     QT_TRANSLATE_NOOP("TGauge::CommandLine", "Opens the catalogue's sensor <name> (repeatable).")},
    {"connect", "port",
     QT_TRANSLATE_NOOP(
         "TGauge::CommandLine",
         "Connects every opened sensor through <port> once the window is up; given once per "
         "--open-sensor, connects each sensor through its own port. <port> is a serial port, "
         "tcp://HOST:PORT or rfc2217://HOST:PORT.")},
    {"port", "name",
     QT_TRANSLATE_NOOP("TGauge::CommandLine", "Adds <name> to the port list (repeatable).")},
    {"language", "code",
     QT_TRANSLATE_NOOP("TGauge::CommandLine", "Starts in the language <code> (en, de).")},
    {"presentation", nullptr,
     QT_TRANSLATE_NOOP("TGauge::CommandLine", "Starts in presentation mode.")},
    {"open-settings", "file",
     QT_TRANSLATE_NOOP("TGauge::CommandLine", "Opens the settings <file> in every opened sensor.")},
    {"screenshot", "file",
     QT_TRANSLATE_NOOP("TGauge::CommandLine", "Saves a picture of the main window to <file>.")},
    {"quit-after", "ms",
     QT_TRANSLATE_NOOP(
         "TGauge::CommandLine",
         "Quits <ms> milliseconds after the window came up, closing any message box (with --batch: "
         "after the sensors were connected and their settings opened).")},
    {"plugin-dir", "dir",
     QT_TRANSLATE_NOOP("TGauge::CommandLine",
                       "Loads the plug-ins from <dir> instead of the plugins folder beside tgauge "
                       "(or else the installation's).")},
    {"simulate", "port",
     QT_TRANSLATE_NOOP(
         "TGauge::CommandLine",
         "Serves <port> with a simulated IO-Link master; its sensor is the first --open-sensor.")},
    {"list-sensors", nullptr,
     QT_TRANSLATE_NOOP("TGauge::CommandLine",
                       "Prints the name of every sensor in the catalogue and quits.")},
    {"batch", nullptr,
     QT_TRANSLATE_NOOP(
         "TGauge::CommandLine",
         "Answers every message box at once (default button, else OK or Yes, else its escape "
         "button), prints it on stderr, never opens a file dialog, stops at the first failure "
         "and quits after the last step (--quit-after defaults to 0).")},
    {"compare-settings", "file",
     QT_TRANSLATE_NOOP(
         "TGauge::CommandLine",
         "Before quitting, compares every opened sensor's parameters with the settings "
         "<file> (a connected sensor is read again first) and prints each difference; "
         "exit status 3 when there are any.")},
    {"save-settings", "file",
     QT_TRANSLATE_NOOP(
         "TGauge::CommandLine",
         "Before quitting, writes the settings file of every opened sensor to <file>.")},
    {"export-csv", "file",
     QT_TRANSLATE_NOOP("TGauge::CommandLine",
                       "Before quitting, writes the chart data of every opened sensor to <file>.")},
    {"delimiter", "text",
     QT_TRANSLATE_NOOP("TGauge::CommandLine",
                       "Separates the columns of --export-csv (default \";\").")},
    {"trace", "file",
     QT_TRANSLATE_NOOP(
         "TGauge::CommandLine",
         "Appends every frame sent to a master and every answer or time-out to <file>.")},
};

CommandLineParseResult failure(const QString &message)
{
    return {Status::Error, {}, message};
}

std::optional<int> milliseconds(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 0)
        return std::nullopt;
    return value;
}

QStringList offeredLanguages()
{
    QStringList codes;
    for (const LanguageChoice &choice : languageChoices)
        codes << QString::fromLatin1(choice.code);
    return codes;
}

} // namespace

QStringList CommandLine::namedPorts() const
{
    QStringList names = ports;
    for (const QString &port : connectPorts + QStringList{simulatePort}) {
        if (!port.isEmpty() && !names.contains(port))
            names << port;
    }
    return names;
}

QString CommandLine::connectPortFor(int sensor) const
{
    return connectPorts.value(connectPorts.size() == 1 ? 0 : sensor);
}

bool CommandLine::portPerSensor() const
{
    QStringList distinct = connectPorts;
    distinct.removeDuplicates();
    return distinct.size() == openSensors.size();
}

QString requestedLanguage(const QStringList &arguments)
{
    const QString option = QStringLiteral("--language");
    QString code;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == option)
            code = arguments.value(++i);
        else if (argument.startsWith(option + QLatin1Char('=')))
            code = argument.mid(option.size() + 1);
    }
    return offeredLanguages().contains(code) ? code : QString();
}

CommandLineParseResult parseCommandLine(const QStringList &arguments,
                                        const QString &defaultPluginDirectory)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(CommandLine::tr(
        "tGauge: configures sensors through the plug-ins in its plug-in folder.\n"
        "A run opens the sensors, connects them, opens the settings, runs for --quit-after ms,\n"
        "then compares, saves, exports and takes the screenshot, and quits.\n"
        "Exit status: 0 all done, 1 a sensor, port or file failed, 2 a wrong command line,\n"
        "3 --compare-settings found differences."));
    for (const OptionInfo &info : optionInfos) {
        QCommandLineOption option(QString::fromLatin1(info.name),
                                  CommandLine::tr(info.description));
        if (info.valueName)
            option.setValueName(QString::fromLatin1(info.valueName));
        parser.addOption(option);
    }
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();

    if (!parser.parse(arguments))
        return failure(parser.errorText());
    if (parser.isSet(help))
        return {Status::HelpRequested, {}, parser.helpText()};
    if (parser.isSet(version)) {
        return {Status::VersionRequested,
                {},
                QCoreApplication::applicationName() + QLatin1Char(' ')
                    + QCoreApplication::applicationVersion()};
    }
    if (!parser.positionalArguments().isEmpty()) {
        return failure(CommandLine::tr("Unexpected argument: %1")
                           .arg(parser.positionalArguments().constFirst()));
    }
    for (const OptionInfo &info : optionInfos) {
        const QString name = QString::fromLatin1(info.name);
        if (info.valueName && parser.values(name).contains(QString()))
            return failure(CommandLine::tr("--%1 needs a value").arg(name));
    }

    CommandLine options;
    options.openSensors = parser.values(QStringLiteral("open-sensor"));
    options.connectPorts = parser.values(QStringLiteral("connect"));
    options.ports = parser.values(QStringLiteral("port"));
    options.language = parser.value(QStringLiteral("language"));
    options.presentation = parser.isSet(QStringLiteral("presentation"));
    options.settingsFile = parser.value(QStringLiteral("open-settings"));
    options.screenshotFile = parser.value(QStringLiteral("screenshot"));
    options.pluginDirectory = parser.isSet(QStringLiteral("plugin-dir"))
                                  ? parser.value(QStringLiteral("plugin-dir"))
                                  : defaultPluginDirectory;
    options.simulatePort = parser.value(QStringLiteral("simulate"));
    options.listSensors = parser.isSet(QStringLiteral("list-sensors"));
    options.batch = parser.isSet(QStringLiteral("batch"));
    options.compareSettingsFile = parser.value(QStringLiteral("compare-settings"));
    options.saveSettingsFile = parser.value(QStringLiteral("save-settings"));
    options.exportCsvFile = parser.value(QStringLiteral("export-csv"));
    if (parser.isSet(QStringLiteral("delimiter")))
        options.csvDelimiter = parser.value(QStringLiteral("delimiter"));
    options.traceFile = parser.value(QStringLiteral("trace"));

    const int portCount = options.connectPorts.size();
    if (portCount > 1 && portCount != options.openSensors.size()) {
        return failure(CommandLine::tr("--connect given %1 times for %2 sensors: give it once, or "
                                       "once per --open-sensor")
                           .arg(portCount)
                           .arg(options.openSensors.size()));
    }
    if (options.openSensors.size() > 1) {
        for (const QString &file : {options.saveSettingsFile, options.exportCsvFile}) {
            if (!file.isEmpty() && !namesEachSensorApart(file))
                return failure(CommandLine::tr("%1 would be written by every sensor: name it with "
                                               "{sensor} or {port}, or give a folder")
                                   .arg(file));
        }
    }
    if (parser.isSet(QStringLiteral("language"))
        && !offeredLanguages().contains(options.language)) {
        return failure(CommandLine::tr("No language %1; the languages are: %2")
                           .arg(options.language, offeredLanguages().join(QStringLiteral(", "))));
    }
    if (parser.isSet(QStringLiteral("quit-after"))) {
        const QString text = parser.value(QStringLiteral("quit-after"));
        options.quitAfterMs = milliseconds(text);
        if (!options.quitAfterMs)
            return failure(
                CommandLine::tr("--quit-after needs a number of milliseconds, not: %1").arg(text));
    }
    return {Status::Ok, options, QString()};
}

} // namespace TGauge
