#include "globals.h"

namespace ExtensionSystem {

namespace {
// The host sets these once at start-up and on the user's request, always on the GUI thread.
std::string &language()
{
    static std::string code = "en";
    return code;
}

bool &presentationMode()
{
    static bool on = false;
    return on;
}
} // namespace

std::string Globals::getLanguage()
{
    return language();
}

bool Globals::getPresentationMode()
{
    return presentationMode();
}

void Globals::setLanguage(const std::string &code)
{
    language() = code;
}

void Globals::setPresentationMode(bool on)
{
    presentationMode() = on;
}

} // namespace ExtensionSystem
