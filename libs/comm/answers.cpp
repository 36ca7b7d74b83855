#include "answers.h"

#include <QByteArray>
#include <QString>

namespace BravoSensorPlugin {
namespace Core {

namespace {

QByteArray withoutZeros(QByteArray bytes)
{
    bytes.replace('\0', QByteArray());
    return bytes;
}

quint8 byteAt(const QByteArray &bytes, int index)
{
    return quint8(bytes.at(index));
}

quint16 lastTwoBytes(const QByteArray &answer)
{
    const int size = answer.size();
    if (size == 1)
        return byteAt(answer, 0);
    return quint16(byteAt(answer, size - 2) << 8 | byteAt(answer, size - 1));
}

// The identity answer's payload: status and other zero bytes gone, count, check and command
// dropped.
QByteArray identityBytes(const QByteArray &answer)
{
    const QByteArray cleaned = cleanAnswer(answer, 3);
    return cleaned.size() >= 3 ? cleaned : QByteArray();
}

} // namespace

QByteArray cleanAnswer(const QByteArray &answer, int skip)
{
    QByteArray cleaned = answer.size() > 1 ? withoutZeros(answer) : answer;
    if (skip > 0 && cleaned.size() > 3)
        cleaned.remove(0, skip);
    return cleaned;
}

quint16 tailValue(const QByteArray &answer)
{
    if (answer.isEmpty())
        return 0;
    // The first byte's hex text read as decimal digits (0x0A gives 0, 0x10 gives 10).
    const int first = QString::fromLatin1(answer.left(1).toHex()).toInt(nullptr, 10);
    if (first > 4 && answer.size() >= 5)
        return lastTwoBytes(answer);
    return byteAt(answer, answer.size() - 1);
}

int signedTailValue(const QByteArray &answer)
{
    if (answer.isEmpty())
        return 0;
    if (answer.size() == 1)
        return byteAt(answer, 0);
    if (answer.size() < 5 && answer.endsWith(QByteArray::fromHex("a700")))
        return 0;
    return qint16(lastTwoBytes(answer));
}

bool boolValue(const QByteArray &answer)
{
    return !answer.isEmpty() && lastTwoBytes(answer) != 0;
}

QString textValue(const QByteArray &answer)
{
    return QString::fromUtf8(withoutZeros(answer).mid(3));
}

QString identityText(const QByteArray &answer)
{
    return QString::fromUtf8(identityBytes(answer));
}

bool identityMatches(const QByteArray &answer, const QString &sensorId)
{
    const QByteArray identity = identityBytes(answer);
    return !identity.isEmpty() && QString::fromUtf8(identity.left(4)) == sensorId;
}

StepAnswer stepAnswer(const QByteArray &answer, bool payloadRequired)
{
    // N, check octet, command, status: anything shorter was cut off on its way.
    constexpr int headerSize = 4;
    if (answer.size() < headerSize)
        return StepAnswer::Missing;
    // The master's "ERROR" has its second letter where the status goes.
    if (byteAt(answer, 3) != 0)
        return StepAnswer::Error;
    if (payloadRequired && answer.size() == headerSize)
        return StepAnswer::Missing;
    return StepAnswer::Taken;
}

} // namespace Core
} // namespace BravoSensorPlugin
