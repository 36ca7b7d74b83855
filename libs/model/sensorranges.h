#pragma once

#include <boost/property_tree/ptree_fwd.hpp>

#include <optional>
#include <string>

class QString;

// Pressure ranges and scales from the description file.
namespace BravoSensorPlugin {
namespace Core {

// A sensor entry's `max`, `min` and `decVal`, in bar; texts that are not numbers read as 0.
struct SensorRange
{
    double max = 0.0;
    double min = 0.0;
    double divisor = 0.0;
};

// A device variant's `maxRange`, `minRange`, `bitsNumber` and `floatVal`.
struct VariantRange
{
    double max = 0.0;
    double min = 0.0;
    int bitsNumber = 0;
    double divisor = 0.0;
};

// The first child of document.sensorList whose `name` is `sensorName`, byte for byte.
std::optional<SensorRange> sensorRange(const boost::property_tree::ptree &description,
                                       const std::string &sensorName);
// The first variant (a child of a sensor record's `sensors`) whose `ID3` is `id3` exactly.
std::optional<VariantRange> variantRange(const boost::property_tree::ptree &variants,
                                         const std::string &id3);
// The variant code of a device's identification text: its last 3 characters, when it has 7 or more.
QString variantCode(const QString &identificationText);

} // namespace Core
} // namespace BravoSensorPlugin
