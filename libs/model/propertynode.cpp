#include "propertynode.h"

#include "descriptionformat.h"

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <initializer_list>

namespace BravoSensorPlugin {
namespace Core {

namespace {

using boost::property_tree::ptree;

QString textAt(const ptree &node, const std::string &path,
               const std::string &absent = std::string())
{
    return QString::fromStdString(node.get<std::string>(path, absent));
}

// Truth values are exact texts: " true", "TRUE" or "yes" are none of them.
bool isExactly(const ptree &node, const char *key, const char *absent, const char *wanted)
{
    return node.get<std::string>(key, absent) == wanted;
}

bool hasKeys(const ptree &node, std::initializer_list<const char *> keys)
{
    for (const char *key : keys) {
        if (!node.get_child_optional(key))
            return false;
    }
    return true;
}

// Reads the choices into the node; false when the node has no `items`.
bool readItems(const ptree &node, const std::string &language, PropertyNode &property)
{
    const auto items = node.get_child_optional("items");
    if (!items)
        return false;
    property.items = itemCaptions(*items, language);
    return true;
}

} // namespace

QString nodeCaption(const ptree &node, const std::string &language)
{
    const QString caption = textAt(node, "text." + language);
    return caption.isEmpty() ? textAt(node, "text.en") : caption;
}

QStringList itemCaptions(const ptree &items, const std::string &language)
{
    QStringList captions;
    for (const auto &item : items) {
        // Attributes are not part of the description.
        if (item.first == boost::property_tree::xml_parser::xmlattr<std::string>())
            continue;
        const QString caption = textAt(item.second, language);
        captions.append(caption.isEmpty() ? textAt(item.second, "en") : caption);
    }
    return captions;
}

QString buttonCaption(const ptree &node, const std::string &language)
{
    static const std::string absent = "action";
    const QString caption = textAt(node, "caption.text." + language, absent);
    return caption.isEmpty() ? textAt(node, "caption.text.en", absent) : caption;
}

std::optional<PropertyNode> readPropertyNode(const ptree &node, const std::string &language)
{
    if (node.empty())
        return std::nullopt;
    const std::optional<ParameterKind> type
        = parameterKind(node.get<std::string>(DescriptionFormat::typeKey, std::string()));
    if (!type)
        return std::nullopt;

    PropertyNode property;
    property.type = *type;
    property.id = textAt(node, "id");
    property.caption = nodeCaption(node, language);
    property.enabled = isExactly(node, "readonly", "false", "false");
    property.visible = isExactly(node, "visible", "true", "true");
    if (storageOf(property.type) != ValueStorage::None) {
        if (!hasKeys(node, {DescriptionFormat::indexKey, DescriptionFormat::subIndexKey,
                            DescriptionFormat::sizeKey}))
            return std::nullopt;
        property.address = textAt(node, DescriptionFormat::indexKey) + QLatin1Char(';')
                           + textAt(node, DescriptionFormat::subIndexKey) + QLatin1Char(';')
                           + textAt(node, DescriptionFormat::sizeKey);
    }
    // Whole numbers throughout: a "double" default of 2.5 does not read and gives 0.
    property.number = node.get<int>("defaultvalue", 0);

    switch (storageOf(property.type)) {
    case ValueStorage::None:
    case ValueStorage::Truth:
        break;
    case ValueStorage::Choice:
        if (!readItems(node, language, property))
            return std::nullopt;
        break;
    case ValueStorage::Whole:
        property.minimum = node.get<int>("min", 0);
        property.maximum = node.get<int>("max", 0);
        break;
    case ValueStorage::Decimal:
        property.minimum = node.get<double>("min", 0.0);
        property.maximum = node.get<double>("max", 0.0);
        break;
    case ValueStorage::Button:
        property.text = buttonCaption(node, language);
        break;
    case ValueStorage::Text:
        if (!hasKeys(node, {"defaultvalue"}))
            return std::nullopt;
        property.text = textAt(node, "defaultvalue");
        property.readOnlyText = isExactly(node, "readonly", "true", "true");
        if (!property.readOnlyText && !readItems(node, language, property))
            return std::nullopt;
        break;
    }
    return property;
}

} // namespace Core
} // namespace BravoSensorPlugin
