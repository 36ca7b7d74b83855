#pragma once

namespace TGauge {

// A language the host offers: its menu lists these, the command line accepts these.
struct LanguageChoice
{
    const char *code;
    const char *caption; // in its own language, so anyone can find it
};

inline constexpr LanguageChoice languageChoices[] = {{"en", "English"}, {"de", "Deutsch"}};

} // namespace TGauge
