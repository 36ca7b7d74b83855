// Any text as a chart history: read with both separators; whatever reads must come back the same
// after writing it again.
#include <utils/historytext.h>
#include <utils/valueovertime.h>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    for (const char separator : {';', ','}) {
        Utils::ValueOverTime history;
        if (!Utils::Charts::historyFromText(text, separator, history))
            continue;
        const std::string written = Utils::Charts::historyToText(history);
        Utils::ValueOverTime again;
        if (!Utils::Charts::historyFromText(written, ';', again)
            || Utils::Charts::historyToText(again) != written)
            std::abort();
    }
    return 0;
}
