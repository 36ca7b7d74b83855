#include "answerrules.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QString>

namespace ExtensionSystem {

int answerFrameLength(const QByteArray &buffer)
{
    if (buffer.isEmpty())
        return 0;
    const int length = 1 + quint8(buffer.at(0));
    return buffer.size() >= length ? length : 0;
}

bool answerMatches(const QByteArray &answer, const std::string &pattern)
{
    if (pattern.empty())
        return true;
    const QRegularExpression expression(QString::fromStdString(pattern));
    return expression.isValid() && expression.match(QString::fromLatin1(answer.toHex())).hasMatch();
}

} // namespace ExtensionSystem
