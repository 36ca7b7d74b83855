#pragma once

#include "extensionsystem_global.h"

#include <string>

class QByteArray;

namespace ExtensionSystem {

// Takes the answer to a request with the command from the front of buffer:
// a whole frame with a right check octet that echoes the command, or the
// "ERROR" frame. Frames of other commands and bytes that start no good frame
// are dropped on the way; empty (buffer kept) while no answer is complete.
EXTENSIONSYSTEM_EXPORT QByteArray takeAnswerFrame(QByteArray &buffer, char command);

// True when pattern is empty or found anywhere in the answer's lower-case hex
// text; an invalid pattern accepts nothing.
EXTENSIONSYSTEM_EXPORT bool answerMatches(const QByteArray &answer, const std::string &pattern);

} // namespace ExtensionSystem
