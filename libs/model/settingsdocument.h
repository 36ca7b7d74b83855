#pragma once

#include "descriptionformat.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <string>

// The settings file (*.tgs): an XML document with the plug-in and sensor it belongs to, the
// parameter text and the two chart histories. Reading and writing need no window.
namespace BravoSensorPlugin {
namespace Core {

// The "pluginid" of this plug-in's files: the description's document id.
constexpr const char *settingsPluginId = DescriptionFormat::documentId;

// One "id=value" entry of the parameter text.
struct ParameterEntry
{
    QString id;
    QString value;
};

// Splits at ';', drops empty parts; the id is the text before the first '=', the value the rest
// (empty when there is no '=').
QList<ParameterEntry> parseParameterText(const QString &text);
// Every entry as "id=value;".
QString parameterText(const QList<ParameterEntry> &entries);
// An entry's value read as atoi and atof read it, but always in the C locale: leading blanks and a
// sign, then the longest number; 0 when there is none. Integers out of range are clamped.
int parameterInt(const QString &value);
double parameterDouble(const QString &value);

// The content of a settings file. A missing element or attribute is an empty optional.
struct SettingsDocument
{
    std::optional<QString> pluginId;
    std::optional<QString> sensorId;
    bool hasPluginSettings = false;
    std::optional<QString> parameterText;  // "propertytreedata"
    std::optional<std::string> chartData0; // history of plot 0 (pressure)
    std::optional<std::string> chartData1; // history of plot 1 (temperature)
};

enum class SettingsReadError {
    None,
    Missing,    // no such file
    Unreadable, // cannot be opened, or too large
    NotXml,     // not well-formed XML
    NoRoot,     // well-formed, but no element "root"
};

struct SettingsReadResult
{
    SettingsReadError error = SettingsReadError::None;
    SettingsDocument document;
};

// Larger files are refused unread: a day of history takes a few dozen MB.
constexpr qint64 maxSettingsFileBytes = 512LL * 1024 * 1024;

// The document printed as tinyxml2 prints by default (indented, UTF-8 declaration first).
// Elements whose optional is empty are left out.
QByteArray writeSettingsDocument(const SettingsDocument &document);
SettingsReadResult readSettingsDocument(const QByteArray &bytes);
SettingsReadResult readSettingsFile(const QString &fileName);

} // namespace Core
} // namespace BravoSensorPlugin
