#pragma once

#include <string>

namespace BravoSensorPlugin {
namespace Core {

// The deepest nesting of elements in an XML text, never less than the depth the XML reader would
// see: markup it might read as text (inside comments, processing instructions, declarations) is
// counted as elements. Lets a reader that recurses per element refuse a text before it runs out
// of stack.
int xmlNestingDepth(const std::string &text);

} // namespace Core
} // namespace BravoSensorPlugin
