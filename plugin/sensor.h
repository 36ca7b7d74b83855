#pragma once

#include <extensionsystem/sensorbasic.h>

#include <boost/property_tree/ptree.hpp>

#include <sstream>
#include <string>

namespace BravoSensorPlugin {
namespace Core {

// The full record of one sensor: its description subtree and the user's language.
class Sensor : public ExtensionSystem::SensorBasic
{
public:
    Sensor();
    Sensor(const Sensor &other);
    Sensor &operator=(const Sensor &other);
    ~Sensor() override;

    // Fills the record from the XML text of one sensor entry.
    bool fromXMLStream(std::stringstream &in);

    int getCharacterDelay() const; // ms, 0 when the description gives none
    int getLineDelay() const;      // ms, 0 when the description gives none
    std::string getLanguage() const;
    // The device variants; throws boost::property_tree::ptree_bad_path when there are none.
    const boost::property_tree::ptree &getVariantList() const;

    boost::property_tree::ptree tree;
    std::string language;
};

} // namespace Core
} // namespace BravoSensorPlugin
