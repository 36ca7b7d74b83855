#pragma once

#include "utils_global.h"

#include <string>

namespace Utils {

class ValueOverTime;

namespace Charts {

// A history as text: "h3;<count>;<base64 of its blocks>", the compressed
// blocks as the history holds them, so that writing and reading cost little
// more than copying them and every value comes back bit for bit.
UTILS_EXPORT std::string historyToText(const ValueOverTime &history);

// Reads historyToText's text, the older "h2;<count>;<base64 of the
// zlib-compressed arrays>" (exact short decimals as deltas of scaled
// integers, an analog value that came with the same value before as a back
// reference, everything else as raw IEEE bits) or the oldest "h1;<count>;
// <times>;<values>;<analog values>" with base64 arrays of little-endian
// doubles, with its ';' given as `separator`. On a malformed text, or a
// separator the text may contain otherwise, returns false and leaves
// `history` as it was.
UTILS_EXPORT bool historyFromText(const std::string &text, char separator, ValueOverTime &history);

} // namespace Charts
} // namespace Utils
