#include "sensor.h"

#include <extensionsystem/globals.h>
#include <model/descriptionformat.h>

#include <boost/property_tree/xml_parser.hpp>

namespace BravoSensorPlugin {
namespace Core {

namespace {

int delayAt(const boost::property_tree::ptree &tree, const char *key)
{
    return tree.get_optional<int>(std::string("portsettings.") + key).value_or(0);
}

} // namespace

Sensor::Sensor()
    : language(ExtensionSystem::Globals::getLanguage())
{
}

Sensor::Sensor(const Sensor &other) = default;
Sensor &Sensor::operator=(const Sensor &other) = default;
Sensor::~Sensor() = default;

bool Sensor::fromXMLStream(std::stringstream &in)
{
    // The base reads from the stream's read position, so it gets a copy of its own.
    std::stringstream copy(in.str());
    try {
        boost::property_tree::read_xml(in, tree, DescriptionFormat::skipComments);
    } catch (const boost::property_tree::xml_parser_error &) {
        // The catalogue fields may still be readable from the copy.
    } catch (const std::exception &) {
        return false;
    }
    return SensorBasic::fromXMLStream(copy);
}

int Sensor::getCharacterDelay() const
{
    return delayAt(tree, "characterdelay");
}

int Sensor::getLineDelay() const
{
    return delayAt(tree, "linedelay");
}

std::string Sensor::getLanguage() const
{
    return language;
}

const boost::property_tree::ptree &Sensor::getVariantList() const
{
    return tree.get_child("sensors");
}

} // namespace Core
} // namespace BravoSensorPlugin
