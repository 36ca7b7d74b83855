#pragma once

#include "extensionsystem_global.h"

#include <string>

class QByteArray;

namespace ExtensionSystem {

// Length of the whole answer frame at the start of buffer (byte 0 counts the
// bytes that follow it); 0 while the frame is still incomplete.
EXTENSIONSYSTEM_EXPORT int answerFrameLength(const QByteArray &buffer);

// True when pattern is empty or found anywhere in the answer's lower-case hex
// text; an invalid pattern accepts nothing.
EXTENSIONSYSTEM_EXPORT bool answerMatches(const QByteArray &answer, const std::string &pattern);

} // namespace ExtensionSystem
