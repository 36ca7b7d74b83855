#include "sensorranges.h"

#include "descriptionformat.h"

#include <QString>

#include <boost/property_tree/ptree.hpp>

namespace BravoSensorPlugin {
namespace Core {

namespace {

using boost::property_tree::ptree;

std::string text(const ptree &node, const char *key)
{
    return node.get(key, std::string());
}

// QString's conversions give 0 for text that is not a number, as the description's readers expect.
double number(const ptree &node, const char *key)
{
    return QString::fromStdString(text(node, key)).toDouble();
}

int wholeNumber(const ptree &node, const char *key)
{
    return QString::fromStdString(text(node, key)).toInt(nullptr, 10);
}

} // namespace

std::optional<SensorRange> sensorRange(const ptree &description, const std::string &sensorName)
{
    const auto sensors = description.get_child_optional(DescriptionFormat::sensorListPath);
    if (!sensors)
        return std::nullopt;
    for (const auto &entry : *sensors) {
        const ptree &sensor = entry.second;
        if (text(sensor, "name") == sensorName)
            return SensorRange{number(sensor, "max"), number(sensor, "min"),
                               number(sensor, "decVal")};
    }
    return std::nullopt;
}

std::optional<VariantRange> variantRange(const ptree &variants, const std::string &id3)
{
    for (const auto &entry : variants) {
        const ptree &variant = entry.second;
        if (text(variant, "ID3") == id3) {
            return VariantRange{number(variant, "maxRange"), number(variant, "minRange"),
                                wholeNumber(variant, "bitsNumber"), number(variant, "floatVal")};
        }
    }
    return std::nullopt;
}

QString variantCode(const QString &identificationText)
{
    return identificationText.size() >= 7 ? identificationText.right(3) : QString();
}

} // namespace Core
} // namespace BravoSensorPlugin
