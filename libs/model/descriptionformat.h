#pragma once

// The words of the sensor-description file, shared by the plug-in and the simulated master.
namespace BravoSensorPlugin {
namespace Core {

namespace DescriptionFormat {

constexpr char documentId[] = "IoLinkKR7Dfamily"; // also the file's base name

// Paths below the document element.
constexpr char documentIdPath[] = "document.documentId";
constexpr char sensorListPath[] = "document.sensorList";
constexpr char parameterNodesPath[] = "document.treeGui.default";
constexpr char categoryNodesPath[] = "document.guiCategory.default";

// Keys of a parameter node.
constexpr char typeKey[] = "type";
constexpr char indexKey[] = "index";
constexpr char subIndexKey[] = "subIndex";
constexpr char sizeKey[] = "size";

// boost::property_tree::xml_parser flags, spelt out where the readers use them.
constexpr int skipComments = 2;
constexpr int skipCommentsAndTrim = 6;

} // namespace DescriptionFormat
} // namespace Core
} // namespace BravoSensorPlugin
