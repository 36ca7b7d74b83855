#include "descriptionfile.h"

#include <model/descriptionformat.h>
#include <model/xmlnesting.h>

#include <QCoreApplication>

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <tuple>
#include <utility>

namespace BravoSensorPlugin {
namespace Core {

namespace {

// Far above the few levels of any description file.
constexpr int maximumDescriptionDepth = 256;

// What tells an unchanged file from a rewritten one without reading it.
struct FileStamp
{
    std::filesystem::file_time_type modified;
    std::uintmax_t size = 0;

    bool operator==(const FileStamp &other) const
    {
        return std::tie(modified, size) == std::tie(other.modified, other.size);
    }
};

std::optional<FileStamp> fileStamp(const std::string &path)
{
    std::error_code error;
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error)
        return std::nullopt;
    const auto size = std::filesystem::file_size(path, error);
    if (error)
        return std::nullopt;
    return FileStamp{modified, size};
}

std::shared_ptr<const boost::property_tree::ptree> parseDescriptionFile(const std::string &path,
                                                                        int flags)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return nullptr;
    std::ostringstream text;
    text << file.rdbuf();
    auto description = readDescriptionText(text.str(), flags);
    if (!description)
        return nullptr;
    return std::make_shared<const boost::property_tree::ptree>(std::move(*description));
}

struct ParsedFile
{
    FileStamp stamp;
    std::shared_ptr<const boost::property_tree::ptree> tree;
};

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

std::shared_ptr<const boost::property_tree::ptree> readDescriptionFile(const std::string &path,
                                                                       int flags)
{
    // Every window and the catalogue read the same file; parsing it costs more than building
    // the window's property tree from it.
    static std::mutex mutex;
    static std::map<std::pair<std::string, int>, ParsedFile> parsed;
    // Stamped before reading: a file rewritten meanwhile is read once more on the next call.
    const std::optional<FileStamp> stamp = fileStamp(path);
    if (!stamp)
        return nullptr;
    const std::lock_guard<std::mutex> lock(mutex);
    const auto key = std::make_pair(path, flags);
    const auto known = parsed.find(key);
    if (known != parsed.end() && known->second.stamp == *stamp)
        return known->second.tree;
    auto tree = parseDescriptionFile(path, flags);
    if (tree)
        parsed[key] = ParsedFile{*stamp, tree};
    else
        parsed.erase(key);
    return tree;
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
