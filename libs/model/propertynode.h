#pragma once

#include "parameterkind.h"

#include <QString>
#include <QStringList>

#include <boost/property_tree/ptree_fwd.hpp>

#include <optional>
#include <string>

// One parameter node of the description file, read with every default applied.
namespace BravoSensorPlugin {
namespace Core {

struct PropertyNode
{
    ParameterKind type = ParameterKind::Category;
    QString id;
    QString caption;
    QString address;           // "index;subIndex;size" as written; empty for a category
    bool enabled = true;       // `readonly` is exactly "false" (or absent)
    bool visible = true;       // `visible` is exactly "true" (or absent)
    bool readOnlyText = false; // a "string" whose `readonly` is exactly "true" (or absent)
    double minimum = 0.0;      // whole numbers for "int", decimals for "double"
    double maximum = 0.0;
    int number = 0;    // `defaultvalue` as a whole number: enum index, int, double, bool
    QString text;      // "string": `defaultvalue`; "action": the button text
    QStringList items; // choices of an "enumerator" or an editable "string"
};

// `text.<language>`, or `text.en` when that is empty.
QString nodeCaption(const boost::property_tree::ptree &node, const std::string &language);
// Each child's <language> text, or its `en` text when that is empty.
QStringList itemCaptions(const boost::property_tree::ptree &items, const std::string &language);
// `caption.text.<language>` ("action" when absent), or the same lookup in English when that is
// empty.
QString buttonCaption(const boost::property_tree::ptree &node, const std::string &language);

// Nothing for a node without children, of an unknown type, or lacking a key the type requires.
std::optional<PropertyNode> readPropertyNode(const boost::property_tree::ptree &node,
                                             const std::string &language);

} // namespace Core
} // namespace BravoSensorPlugin
