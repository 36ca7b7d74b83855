#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>

namespace TGauge {

// What the user asked for on the command line.
struct CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(TGauge::CommandLine)

public:
    QStringList openSensors;  // catalogue names, opened in this order
    QStringList connectPorts; // one per opened sensor, in order, or one that all of them share
    QStringList ports;        // added to the system's serial ports
    QString language;         // empty: keep the default
    bool presentation = false;
    QString settingsFile; // opened in every opened sensor
    QString screenshotFile;
    std::optional<int> quitAfterMs;
    QString pluginDirectory;
    QString simulatePort;     // served by the in-process simulated master
    bool listSensors = false; // print the catalogue and leave
    bool batch = false;       // every message box is answered at once, no file dialog opens
    QString saveSettingsFile;
    QString exportCsvFile;
    QString csvDelimiter = QStringLiteral(";");
    QString compareSettingsFile;
    QString traceFile; // every frame to and from a master is appended to it

    // Every port name the command line mentions, in the order the user wants them listed.
    QStringList namedPorts() const;
    // The port through which the sensor opened as the n-th one connects; empty: none.
    QString connectPortFor(int sensor) const;
    // Every sensor has a port that no other one uses: they may connect all at once.
    bool portPerSensor() const;
};

struct CommandLineParseResult
{
    enum class Status { Ok, Error, HelpRequested, VersionRequested };

    Status status = Status::Ok;
    CommandLine options;
    QString message; // the error, the help or the version text
};

CommandLineParseResult parseCommandLine(const QStringList &arguments,
                                        const QString &defaultPluginDirectory);

// The offered language that the arguments ask for, else an empty text; read before the
// command line is parsed, so that its own messages are in that language.
QString requestedLanguage(const QStringList &arguments);

} // namespace TGauge
