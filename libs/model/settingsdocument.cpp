#include "settingsdocument.h"

#include <QFile>
#include <QStringList>

#include <tinyxml2.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace BravoSensorPlugin {
namespace Core {

namespace {

const char rootElement[] = "root";
const char pluginIdAttribute[] = "pluginid";
const char sensorIdAttribute[] = "sensorid";
const char pluginSettingsElement[] = "pluginsettings";
const char parameterElement[] = "propertytreedata";
const char chartElement0[] = "chartdata";
const char chartElement1[] = "chartdata1";
const char dataAttribute[] = "data";

void addDataElement(tinyxml2::XMLDocument &xml, tinyxml2::XMLElement *parent, const char *name,
                    const char *data)
{
    tinyxml2::XMLElement *element = xml.NewElement(name);
    element->SetAttribute(dataAttribute, data);
    parent->InsertEndChild(element);
}

std::optional<QString> textAttribute(const tinyxml2::XMLElement *element, const char *name)
{
    const char *value = element ? element->Attribute(name) : nullptr;
    if (!value)
        return std::nullopt;
    return QString::fromUtf8(value);
}

// A missing "data" attribute reads as an empty history, which the chart refuses.
std::optional<std::string> chartAttribute(const tinyxml2::XMLElement *parent, const char *name)
{
    const tinyxml2::XMLElement *element = parent->FirstChildElement(name);
    if (!element)
        return std::nullopt;
    const char *value = element->Attribute(dataAttribute);
    return std::string(value ? value : "");
}

// The text after leading blanks and one '+' (from_chars takes a '-' only).
std::string numberText(const QString &value)
{
    std::string text = value.trimmed().toStdString();
    if (!text.empty() && text.front() == '+')
        text.erase(0, 1);
    return text;
}

} // namespace

QList<ParameterEntry> parseParameterText(const QString &text)
{
    QList<ParameterEntry> entries;
    const QStringList parts = text.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    entries.reserve(parts.size());
    for (const QString &part : parts) {
        const int equals = part.indexOf(QLatin1Char('='));
        if (equals < 0)
            entries.append({part, QString()});
        else
            entries.append({part.left(equals), part.mid(equals + 1)});
    }
    return entries;
}

QString parameterText(const QList<ParameterEntry> &entries)
{
    QString text;
    for (const ParameterEntry &entry : entries)
        text += entry.id + QLatin1Char('=') + entry.value + QLatin1Char(';');
    return text;
}

int parameterInt(const QString &value)
{
    const std::string text = numberText(value);
    long long number = 0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), number);
    if (parsed.ec == std::errc::result_out_of_range)
        return text.front() == '-' ? std::numeric_limits<int>::min()
                                   : std::numeric_limits<int>::max();
    return int(std::clamp<long long>(number, std::numeric_limits<int>::min(),
                                     std::numeric_limits<int>::max()));
}

double parameterDouble(const QString &value)
{
    const std::string text = numberText(value);
    double number = 0.0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), number);
    if (parsed.ec != std::errc::result_out_of_range)
        return number;
    // Too small gives zero, too large infinity, as strtod does.
    const std::size_t exponent = text.find_first_of("eE");
    const bool tiny
        = exponent != std::string::npos && exponent + 1 < text.size() && text[exponent + 1] == '-';
    const double magnitude = tiny ? 0.0 : HUGE_VAL;
    return text.front() == '-' ? -magnitude : magnitude;
}

QByteArray writeSettingsDocument(const SettingsDocument &document)
{
    tinyxml2::XMLDocument xml;
    xml.InsertFirstChild(xml.NewDeclaration("xml version=\"1.0\" encoding=\"utf-8\""));
    tinyxml2::XMLElement *root = xml.NewElement(rootElement);
    if (document.pluginId)
        root->SetAttribute(pluginIdAttribute, document.pluginId->toUtf8().constData());
    if (document.sensorId)
        root->SetAttribute(sensorIdAttribute, document.sensorId->toUtf8().constData());
    xml.InsertEndChild(root);
    if (document.hasPluginSettings) {
        tinyxml2::XMLElement *settings = xml.NewElement(pluginSettingsElement);
        root->InsertEndChild(settings);
        if (document.parameterText)
            addDataElement(xml, settings, parameterElement,
                           document.parameterText->toUtf8().constData());
        if (document.chartData0)
            addDataElement(xml, settings, chartElement0, document.chartData0->c_str());
        if (document.chartData1)
            addDataElement(xml, settings, chartElement1, document.chartData1->c_str());
    }
    tinyxml2::XMLPrinter printer;
    xml.Print(&printer);
    return QByteArray(printer.CStr(), printer.CStrSize() - 1);
}

SettingsReadResult readSettingsDocument(const QByteArray &bytes)
{
    SettingsReadResult result;
    // tinyxml2 bounds the nesting depth itself, so deeply nested junk ends in an error.
    tinyxml2::XMLDocument xml;
    if (bytes.size() > maxSettingsFileBytes) {
        result.error = SettingsReadError::Unreadable;
        return result;
    }
    if (xml.Parse(bytes.constData(), size_t(bytes.size())) != tinyxml2::XML_SUCCESS) {
        result.error = SettingsReadError::NotXml;
        return result;
    }
    const tinyxml2::XMLElement *root = xml.FirstChildElement(rootElement);
    if (!root) {
        result.error = SettingsReadError::NoRoot;
        return result;
    }
    SettingsDocument &document = result.document;
    document.pluginId = textAttribute(root, pluginIdAttribute);
    document.sensorId = textAttribute(root, sensorIdAttribute);
    const tinyxml2::XMLElement *settings = root->FirstChildElement(pluginSettingsElement);
    document.hasPluginSettings = settings != nullptr;
    if (!settings)
        return result;
    if (const tinyxml2::XMLElement *parameters = settings->FirstChildElement(parameterElement))
        document.parameterText = textAttribute(parameters, dataAttribute).value_or(QString());
    document.chartData0 = chartAttribute(settings, chartElement0);
    document.chartData1 = chartAttribute(settings, chartElement1);
    return result;
}

SettingsReadResult readSettingsFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.exists())
        return {SettingsReadError::Missing, {}};
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxSettingsFileBytes)
        return {SettingsReadError::Unreadable, {}};
    // Devices and pipes report no size: read no more than a file may hold.
    return readSettingsDocument(file.read(maxSettingsFileBytes + 1));
}

} // namespace Core
} // namespace BravoSensorPlugin
