// Any bytes as the description file that the property build reads: parsed, then every parameter
// node below the tree's root read as the builder reads it.
#include <model/descriptionformat.h>
#include <model/propertynode.h>
#include <plugin/descriptionfile.h>

#include <boost/property_tree/ptree.hpp>

#include <cstdint>
#include <string>

namespace {

void readNodes(const boost::property_tree::ptree &node)
{
    BravoSensorPlugin::Core::readPropertyNode(node, "de");
    for (const auto &child : node) {
        if (child.first == "property")
            readNodes(child.second);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    const auto description = BravoSensorPlugin::Core::readDescriptionText(
        text, BravoSensorPlugin::Core::DescriptionFormat::skipComments);
    if (!description)
        return 0;
    if (const auto nodes = description->get_child_optional("document.treeGui.default")) {
        for (const auto &node : *nodes)
            readNodes(node.second);
    }
    return 0;
}
