#include "xmlnesting.h"

#include <algorithm>

namespace BravoSensorPlugin {
namespace Core {

int xmlNestingDepth(const std::string &text)
{
    int depth = 0;
    int deepest = 0;
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        if (text[i] != '<') {
            ++i;
            continue;
        }
        const char next = i + 1 < size ? text[i + 1] : '\0';
        if (next == '/') {
            depth = std::max(0, depth - 1);
            i = text.find('>', i);
            continue;
        }
        if (text.compare(i, 4, "<!--") == 0) {
            // Comments are the only markup skipped further than to the next '>'.
            const std::size_t end = text.find("-->", i + 4);
            i = end == std::string::npos ? size : end + 3;
            continue;
        }
        if (next == '!' || next == '?') {
            i = text.find('>', i);
            continue;
        }
        deepest = std::max(deepest, ++depth);
        // The start tag: quoted attribute values may hold '>' and "/>".
        char quote = '\0';
        for (++i; i < size; ++i) {
            const char c = text[i];
            if (quote) {
                if (c == quote)
                    quote = '\0';
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                if (text[i - 1] == '/')
                    depth = std::max(0, depth - 1);
                break;
            }
        }
    }
    return deepest;
}

} // namespace Core
} // namespace BravoSensorPlugin
