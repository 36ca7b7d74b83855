#include "descriptionfile.h"

#include <model/descriptionformat.h>
#include <model/xmlnesting.h>

#include <QCoreApplication>

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <exception>
#include <fstream>
#include <sstream>

namespace BravoSensorPlugin {
namespace Core {

namespace {

// Far above the few levels of any description file.
constexpr int maximumDescriptionDepth = 256;

} // namespace

std::string descriptionFilePath()
{
    const QByteArray chosen = qgetenv("KR7D_DESCRIPTION_FILE");
    if (!chosen.isEmpty())
        return chosen.toStdString();
    const QString path = QCoreApplication::applicationDirPath() + QLatin1Char('/')
                         + QLatin1String(DescriptionFormat::documentId) + QLatin1String(".xml");
    return path.toLatin1().toStdString();
}

std::optional<boost::property_tree::ptree> readDescriptionFile(const std::string &path, int flags)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return readDescriptionText(text.str(), flags);
}

std::optional<boost::property_tree::ptree> readDescriptionText(const std::string &text, int flags)
{
    // The XML reader recurses per element: a text nested deep enough would overflow the stack.
    if (xmlNestingDepth(text) > maximumDescriptionDepth)
        return std::nullopt;
    boost::property_tree::ptree description;
    try {
        std::istringstream in(text);
        boost::property_tree::read_xml(in, description, flags);
    } catch (const std::exception &) {
        // A missing or broken description simply describes no sensors.
        return std::nullopt;
    }
    return description;
}

void writeEntryText(std::ostream &out, const boost::property_tree::ptree &entry)
{
    boost::property_tree::write_xml(
        out, entry, boost::property_tree::xml_writer_make_settings<std::string>(' ', 0, "utf-8"));
}

} // namespace Core
} // namespace BravoSensorPlugin
