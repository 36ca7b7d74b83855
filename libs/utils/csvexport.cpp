#include "csvexport.h"

#include "historycursor.h"
#include "valueovertime.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSaveFile>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

namespace Utils {

namespace {

// Local date and time of a time stamp. Formatting dominates a long export,
// and local time moves in whole seconds, so the text up to the seconds is
// kept for the next samples of the same second.
class TimeFormatter
{
public:
    void append(QByteArray &out, double timeMs)
    {
        const qint64 ms = qint64(std::floor(timeMs));
        const qint64 second = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
        if (second != m_second || m_secondText.isEmpty()) {
            m_second = second;
            m_secondText = QDateTime::fromMSecsSinceEpoch(second * 1000, Qt::LocalTime)
                               .toString(QStringLiteral("dd-MM-yyyy hh:mm:ss"))
                               .toLatin1();
        }
        const int millis = int(ms - second * 1000);
        const char fraction[] = {'.', char('0' + millis / 100), char('0' + millis / 10 % 10),
                                 char('0' + millis % 10)};
        out.append(m_secondText).append(fraction, int(sizeof fraction));
    }

private:
    qint64 m_second = 0;
    QByteArray m_secondText;
};

constexpr int progressLines = 16384;

// Number formatting is the other large cost of an export; to_chars neither
// allocates nor looks at the locale.
void appendFixed(QByteArray &out, double value, int precision)
{
    // Room for the longest double in fixed notation and usual precisions.
    char buffer[400];
    const auto result
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    if (result.ec == std::errc())
        out.append(buffer, int(result.ptr - buffer));
    else
        out.append(QByteArray::number(value, 'f', precision));
}

} // namespace

QString CsvDelimiterChoice::text() const
{
    QString text;
    if (tab)
        text += QLatin1Char('\t');
    if (comma)
        text += QLatin1Char(',');
    if (semicolon)
        text += QLatin1Char(';');
    if (space)
        text += QLatin1Char(' ');
    if (other)
        text += QString::fromLatin1(otherText.toLatin1());
    return text;
}

QByteArray csvText(const QList<const ValueOverTime *> &series, const QList<QString> &names,
                   const QString &delimiter, int precision, int maxSamples,
                   const CsvProgress &progress)
{
    const QByteArray separator = delimiter.toUtf8();
    QByteArray text;
    for (int i = 0; i < names.size(); ++i) {
        if (i > 0)
            text.append(separator);
        text.append(names.at(i).toUtf8());
    }
    text.append('\n');

    int rows = 0;
    for (const ValueOverTime *values : series)
        rows = std::max(rows, values ? values->size() : 0);
    if (maxSamples >= 0)
        rows = std::min(rows, maxSamples);
    text.reserve(text.size() + rows * (24 + series.size() * (separator.size() + precision + 8)));

    std::vector<std::optional<HistoryCursor>> cursors(size_t(series.size()));
    for (int i = 0; i < series.size(); ++i) {
        if (series.at(i))
            cursors[size_t(i)].emplace(*series.at(i));
    }
    TimeFormatter time;
    for (int row = 0; row < rows; ++row) {
        if (progress && row % progressLines == 0 && !progress(row, rows))
            return QByteArray();
        const auto owner = std::find_if(series.cbegin(), series.cend(),
                                        [row](const ValueOverTime *values) {
                                            return values && row < values->size();
                                        });
        time.append(text, cursors[size_t(owner - series.cbegin())]->time(row));
        for (int i = 0; i < series.size(); ++i) {
            text.append(separator);
            if (series.at(i) && row < series.at(i)->size())
                appendFixed(text, cursors[size_t(i)]->value(row), precision);
        }
        text.append('\n');
    }
    if (progress)
        progress(rows, rows);
    return text;
}

bool writeFileAtomically(const QString &path, const QByteArray &content, QString *reason)
{
    QSaveFile file(path);
    // Unbuffered, so that a short write (a full disk) shows in write()'s
    // result: a buffered write reports success and commit() would then put a
    // truncated file in place of the old one.
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    if (written && file.write(content) != content.size()) {
        written = false;
        if (reason && file.error() == QFileDevice::NoError)
            *reason = QCoreApplication::translate("Utils::writeFileAtomically",
                                                  "only part of the file could be written");
    }
    // Without commit the temporary file is dropped and the target stays as it was.
    if (written && file.commit())
        return true;
    if (reason && reason->isEmpty())
        *reason = file.errorString();
    return false;
}

} // namespace Utils
