#include "answerrules.h"

#include <comm/frame.h>

#include <QByteArray>
#include <QRegularExpression>
#include <QString>

#include <string>

namespace ExtensionSystem {

namespace {

const QByteArray errorText = QByteArrayLiteral("ERROR");
// Check octet, command echo and status: the shortest answer a master gives.
constexpr int minimumCount = 3;

bool answersCommand(const QByteArray &frame, char command)
{
    return frame.at(2) == command || frame.mid(2) == errorText;
}

// The offset of the first whole, intact frame answering the command after the
// buffer's first byte; -1 when there is none yet.
int nextAnswerAfterStart(const QByteArray &buffer, char command)
{
    for (int start = 1; start < buffer.size(); ++start) {
        const int count = quint8(buffer.at(start));
        if (count < minimumCount || start + 1 + count > buffer.size())
            continue;
        // A view, not a copy: this runs for every offset while a frame is incomplete.
        const QByteArray frame = QByteArray::fromRawData(buffer.constData() + start, 1 + count);
        if (BravoSensorPlugin::Core::isFrameIntact(frame) && answersCommand(frame, command))
            return start;
    }
    return -1;
}

} // namespace

QByteArray takeAnswerFrame(QByteArray &buffer, char command)
{
    while (!buffer.isEmpty()) {
        const int count = quint8(buffer.at(0));
        if (count < minimumCount) {
            buffer.remove(0, 1);
            continue;
        }
        if (1 + count > buffer.size()) {
            // A damaged count byte must not hold back a good frame behind it.
            const int next = nextAnswerAfterStart(buffer, command);
            if (next < 0)
                return QByteArray();
            buffer.remove(0, next);
            continue;
        }
        const QByteArray frame = buffer.left(1 + count);
        if (!BravoSensorPlugin::Core::isFrameIntact(frame)) {
            buffer.remove(0, 1);
            continue;
        }
        // A late answer to an earlier request goes whole; the next frame starts right after it.
        buffer.remove(0, frame.size());
        if (answersCommand(frame, command))
            return frame;
    }
    return QByteArray();
}

bool answerMatches(const QByteArray &answer, const std::string &pattern)
{
    if (pattern.empty())
        return true;
    // A poll sends the same pattern several times a second: compile it once, not per answer.
    thread_local std::string lastPattern;
    thread_local QRegularExpression expression;
    if (pattern != lastPattern) {
        expression.setPattern(QString::fromStdString(pattern));
        lastPattern = pattern;
    }
    return expression.isValid() && expression.match(QString::fromLatin1(answer.toHex())).hasMatch();
}

} // namespace ExtensionSystem
