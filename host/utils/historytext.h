#pragma once

#include "utils_global.h"

#include <string>

namespace Utils {

class ValueOverTime;

namespace Charts {

// A history as text: "h1;<count>;<times>;<values>;<analog values>", each
// array the base64 of its IEEE doubles, little-endian, so that every value
// comes back bit for bit.
UTILS_EXPORT std::string historyToText(const ValueOverTime &history);

// Reads historyToText's text with its ';' given as `separator`. On a malformed
// text, or a separator the text may contain otherwise, returns false and
// leaves `history` as it was.
UTILS_EXPORT bool historyFromText(const std::string &text, char separator,
                                  ValueOverTime &history);

} // namespace Charts
} // namespace Utils
