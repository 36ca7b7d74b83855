#pragma once

#include "extensionsystem_global.h"

#include <string>

namespace ExtensionSystem {

// Host-wide settings that plug-ins query.
class EXTENSIONSYSTEM_EXPORT Globals
{
public:
    static std::string getLanguage();  // "en" until the host sets another
    static bool getPresentationMode(); // false until the host sets it

    static void setLanguage(const std::string &code);
    static void setPresentationMode(bool on);
};

} // namespace ExtensionSystem
