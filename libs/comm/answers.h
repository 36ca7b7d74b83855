#pragma once

#include <QtGlobal>

class QByteArray;
class QString;

// Reading the master's answers to a result fetch (02 73 27) and to the identity check.
// An empty answer reads as false, 0, 0.0 or empty text.
namespace BravoSensorPlugin {
namespace Core {

// A copy without zero bytes (unless it is a single byte), then without its first `skip` bytes
// when more than 3 remain.
QByteArray cleanAnswer(const QByteArray &answer, int skip);

// The last byte, or the last two (high first) when the first byte's hex digits read as a decimal
// number above 4 and the answer has 5 bytes or more. Used by int and enumeration parameters.
quint16 tailValue(const QByteArray &answer);
// The last two bytes (high first) as signed 16 bits, the only byte of a one-byte answer.
// A short answer ending A7 00 reads as 0. Used by double parameters.
int signedTailValue(const QByteArray &answer);
bool boolValue(const QByteArray &answer);
// Zero bytes removed, then UTF-8 from byte 3 on.
QString textValue(const QByteArray &answer);

// The product id text of an identity answer; empty when its cleaned form is under 3 bytes.
QString identityText(const QByteArray &answer);
// True when the identity answer starts with the selected sensor's id.
bool identityMatches(const QByteArray &answer, const QString &sensorId);

// How a command sequence takes the answer to one of its steps.
enum class StepAnswer {
    Missing, // none came, or too short to be an answer: the step may be repeated
    Error,   // the master's "ERROR" or a status other than 0
    Taken,
};
// A result fetch is taken only with a payload: without one the master kept nothing to fetch.
StepAnswer stepAnswer(const QByteArray &answer, bool payloadRequired = false);

} // namespace Core
} // namespace BravoSensorPlugin
