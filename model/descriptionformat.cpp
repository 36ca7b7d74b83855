#include "descriptionformat.h"

#include <map>

namespace BravoSensorPlugin {
namespace Core {
namespace DescriptionFormat {

std::optional<PropertyNodeType> nodeType(const std::string &typeText)
{
    static const std::map<std::string, PropertyNodeType> types
        = {{"category", PropertyNodeType::Category}, {"enumerator", PropertyNodeType::Enumerator},
           {"int", PropertyNodeType::Int},           {"double", PropertyNodeType::Double},
           {"bool", PropertyNodeType::Bool},         {"action", PropertyNodeType::Action},
           {"string", PropertyNodeType::String}};
    const auto found = types.find(typeText);
    if (found == types.end())
        return std::nullopt;
    return found->second;
}

} // namespace DescriptionFormat
} // namespace Core
} // namespace BravoSensorPlugin
