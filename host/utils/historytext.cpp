#include "historytext.h"

#include "valueovertime.h"

#include <QByteArray>
#include <QtEndian>

#include <array>
#include <cctype>
#include <charconv>
#include <limits>
#include <string_view>
#include <vector>

namespace Utils {
namespace Charts {

namespace {

constexpr std::string_view Tag = "h1";
constexpr char Separator = ';';
constexpr int FieldCount = 5;

// An empty history has empty arrays, whose data pointers may be null: qToLittleEndian and
// qFromLittleEndian pass them on to memcpy.
void appendBase64(std::string &text, const double *values, int count)
{
    if (count == 0)
        return;
    QByteArray raw(count * int(sizeof(double)), Qt::Uninitialized);
    qToLittleEndian<double>(values, count, raw.data());
    const QByteArray encoded = raw.toBase64();
    text.append(encoded.constData(), size_t(encoded.size()));
}

std::size_t base64Length(std::size_t bytes)
{
    return (bytes + 2) / 3 * 4;
}

bool readDoubles(std::string_view field, std::size_t count, std::vector<double> &values)
{
    if (field.size() != base64Length(count * sizeof(double)))
        return false;
    const QByteArray encoded = QByteArray::fromRawData(field.data(), int(field.size()));
    const auto decoded = QByteArray::fromBase64Encoding(encoded,
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || std::size_t(decoded.decoded.size()) != count * sizeof(double))
        return false;
    values.resize(count);
    if (count > 0)
        qFromLittleEndian<double>(decoded.decoded.constData(), qsizetype(count), values.data());
    return true;
}

bool usableSeparator(char separator)
{
    const unsigned char c = static_cast<unsigned char>(separator);
    return c != 0 && !std::isalnum(c) && separator != '+' && separator != '/' && separator != '=';
}

} // namespace

std::string historyToText(const ValueOverTime &history)
{
    const int count = history.size();
    const std::string countText = std::to_string(count);
    std::string text;
    text.reserve(Tag.size() + countText.size() + FieldCount
                 + 3 * base64Length(std::size_t(count) * sizeof(double)));
    text.append(Tag).append(1, Separator).append(countText);
    for (const double *values : {history.pxData(), history.pyData(), history.pAnalogData()}) {
        text.append(1, Separator);
        appendBase64(text, values, count);
    }
    return text;
}

bool historyFromText(const std::string &text, char separator, ValueOverTime &history)
{
    if (!usableSeparator(separator))
        return false;
    std::array<std::string_view, FieldCount> fields;
    std::string_view rest(text);
    for (int i = 0; i < FieldCount; ++i) {
        const std::size_t end = i + 1 < FieldCount ? rest.find(separator) : rest.size();
        if (end == std::string_view::npos)
            return false;
        fields[std::size_t(i)] = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    if (fields[0] != Tag || fields[4].find(separator) != std::string_view::npos)
        return false;

    std::size_t count = 0;
    const std::string_view countField = fields[1];
    const auto parsed = std::from_chars(countField.data(), countField.data() + countField.size(),
                                        count);
    if (countField.empty() || parsed.ec != std::errc()
        || parsed.ptr != countField.data() + countField.size()
        || count > std::size_t(std::numeric_limits<int>::max()) / sizeof(double))
        return false;

    std::vector<double> times;
    std::vector<double> values;
    std::vector<double> analogValues;
    if (!readDoubles(fields[2], count, times) || !readDoubles(fields[3], count, values)
        || !readDoubles(fields[4], count, analogValues))
        return false;
    return history.assign(std::move(times), std::move(values), std::move(analogValues));
}

} // namespace Charts
} // namespace Utils
