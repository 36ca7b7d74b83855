#include "sensorcatalogue.h"

#include <model/descriptionformat.h>

#include <boost/property_tree/ptree.hpp>

#include <memory>
#include <sstream>

namespace BravoSensorPlugin {
namespace Core {

namespace {

// The description's sensor list, when the file is readable and the document is ours; it keeps
// the shared parsed file alive instead of copying the list out of it.
std::shared_ptr<const boost::property_tree::ptree>
readSensorList(const std::string &descriptionPath)
{
    const auto description
        = readDescriptionFile(descriptionPath, DescriptionFormat::skipCommentsAndTrim);
    if (!description)
        return nullptr;
    try {
        if (description->get<std::string>(DescriptionFormat::documentIdPath)
            != DescriptionFormat::documentId)
            return nullptr;
        return {description, &description->get_child(DescriptionFormat::sensorListPath)};
    } catch (const boost::property_tree::ptree_error &) {
        // A document without id or sensor list offers nothing.
        return nullptr;
    }
}

} // namespace

std::list<ExtensionSystem::SensorBasic> buildSensorCatalogue(const std::string &descriptionPath)
{
    std::list<ExtensionSystem::SensorBasic> catalogue;
    const auto sensors = readSensorList(descriptionPath);
    if (!sensors)
        return catalogue;
    // One stream and one record serve the whole walk; the record reads each entry
    // from where the previous one ended.
    ExtensionSystem::SensorBasic record;
    std::stringstream entries;
    for (const auto &entry : *sensors) {
        writeEntryText(entries, entry.second);
        if (record.fromXMLStream(entries))
            catalogue.push_back(record);
    }
    return catalogue;
}

Sensor findSensor(const std::string &name, const std::string &descriptionPath)
{
    Sensor record;
    const auto sensors = readSensorList(descriptionPath);
    if (!sensors)
        return record;
    try {
        for (const auto &entry : *sensors) {
            if (entry.second.get<std::string>("name") != name)
                continue;
            std::stringstream text;
            writeEntryText(text, entry.second);
            record.fromXMLStream(text);
            return record;
        }
    } catch (const boost::property_tree::ptree_error &) {
        // An entry without name ends the search with the record as it stands.
    }
    return record;
}

} // namespace Core
} // namespace BravoSensorPlugin
