#pragma once

#include <boost/property_tree/ptree_fwd.hpp>

#include <memory>
#include <optional>
#include <ostream>
#include <string>

// Reading the sensor-description file and handing its entries on as XML text.
namespace BravoSensorPlugin {
namespace Core {

// <application directory>/IoLinkKR7Dfamily.xml, in Latin-1 for the XML reader; the environment
// variable KR7D_DESCRIPTION_FILE, when set, names another file (tests, trials of a new
// description).
std::string descriptionFilePath();

// The parsed file, or null when it is missing, unreadable or malformed. Parsed once per path and
// flags: later calls share that tree until the file's modification time or size changes.
std::shared_ptr<const boost::property_tree::ptree> readDescriptionFile(const std::string &path,
                                                                       int flags);
// The same for the file's text. A text nested deeper than any description is refused as malformed.
std::optional<boost::property_tree::ptree> readDescriptionText(const std::string &text, int flags);

// Writes a subtree (its children, not its own tag) as XML text: declaration, line break,
// the elements without indentation.
void writeEntryText(std::ostream &out, const boost::property_tree::ptree &entry);

} // namespace Core
} // namespace BravoSensorPlugin
