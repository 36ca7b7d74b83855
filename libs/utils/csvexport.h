#pragma once

#include "utils_global.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

namespace Utils {

class ValueOverTime;

// The delimiter choices of the export, joined in their fixed order.
struct UTILS_EXPORT CsvDelimiterChoice
{
    bool tab = false;
    bool comma = false;
    bool semicolon = false;
    bool space = false;
    bool other = false;
    QString otherText;

    QString text() const;
};

// Told the lines written so far and the total, every few thousand lines;
// returning false stops the text.
using CsvProgress = std::function<bool(int done, int total)>;

// CSV text (UTF-8, line feeds only): a header of the names, then one line per
// sample with the local time "dd-MM-yyyy hh:mm:ss.zzz" of the first series
// that has the sample and one fixed-point value column per series. At most
// `maxSamples` lines follow the header; a negative count writes them all.
// Empty when `progress` stopped it.
UTILS_EXPORT QByteArray csvText(const QList<const ValueOverTime *> &series,
                                const QList<QString> &names, const QString &delimiter,
                                int precision, int maxSamples = -1,
                                const CsvProgress &progress = {});

// Replaces `path` with `content` in one step: on failure the file that was
// there stays as it was, and `reason` (when given) says why.
UTILS_EXPORT bool writeFileAtomically(const QString &path, const QByteArray &content,
                                      QString *reason = nullptr);

} // namespace Utils
