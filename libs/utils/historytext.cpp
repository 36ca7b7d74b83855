#include "historytext.h"

#include "compressedbase64.h"
#include "sampleblock.h"
#include "valueovertime.h"

#include <QByteArray>
#include <QtEndian>

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Utils {
namespace Charts {

namespace {

constexpr std::string_view rawTag = "h1";
constexpr std::string_view packedTag = "h2";
constexpr std::string_view blocksTag = "h3";
constexpr char fieldSeparator = ';';
constexpr int rawFieldCount = 5;
constexpr int compressedFieldCount = 3;

// --- the packed arrays --------------------------------------------------------
//
// Each array starts with one byte naming its scale, then one token per sample:
// a varint whose two low bits say what it is.
enum Token : quint64 {
    ScaledDelta = 0,  // the rest is the zigzag delta to the previous scaled integer
    RawBits = 1,      // eight little-endian bytes follow
    SameAsBefore = 2, // analog only: what came last with the same value
};
constexpr int tokenBits = 2;
constexpr int maxDecimals = 6;
// Largest byte counts per sample: a 10-byte varint and 8 raw bytes, and the
// smallest: one byte.
constexpr std::size_t maxBytesPerSample = 3 * (10 + 8);
constexpr std::size_t minBytesPerSample = 3;
// Doubles keep every integer below 2^53 exact.
constexpr double scaledLimit = 9.0e15;

// A value v is stored as the integer m with v == m / 10^decimals or, where
// that misses, v == m * 0.1^decimals, exactly as the code that made it
// computed it (bar from a device number, tenths of a degree).
struct Scale
{
    int decimals = 0;
    bool multiply = false;

    static std::optional<Scale> fromCode(quint8 code)
    {
        const Scale scale{code & 0x7, (code & 0x8) != 0};
        if ((code & ~0xf) != 0 || scale.decimals > maxDecimals)
            return std::nullopt;
        return scale;
    }

    static constexpr std::array<double, maxDecimals + 1> powers{1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
    static constexpr std::array<double, maxDecimals + 1> fractions{1e0,  1e-1, 1e-2, 1e-3,
                                                                   1e-4, 1e-5, 1e-6};

    double value(qint64 scaled) const
    {
        return multiply ? double(scaled) * fractions[std::size_t(decimals)]
                        : double(scaled) / powers[std::size_t(decimals)];
    }
};

quint64 bitsOf(double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

double fromBits(quint64 bits)
{
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

class Unpacker
{
public:
    explicit Unpacker(const QByteArray &bytes)
        : m_next(bytes.constData())
        , m_end(bytes.constData() + bytes.size())
    {
    }

    bool readArray(std::size_t count, const std::vector<double> *keys, std::vector<double> &values)
    {
        if (m_next == m_end)
            return false;
        const std::optional<Scale> scale = Scale::fromCode(quint8(*m_next++));
        if (!scale)
            return false;
        values.resize(count);
        std::unordered_map<quint64, quint64> lastByKey;
        qint64 previous = 0;
        for (std::size_t i = 0; i < count; ++i) {
            quint64 token;
            if (!readVarint(token))
                return false;
            quint64 bits = 0;
            switch (token & ((1u << tokenBits) - 1)) {
            case ScaledDelta: {
                const quint64 zigzag = token >> tokenBits;
                const qint64 scaled = previous + (qint64(zigzag >> 1) ^ -qint64(zigzag & 1));
                if (!(std::fabs(double(scaled)) < scaledLimit))
                    return false;
                previous = scaled;
                bits = bitsOf(scale->value(scaled));
                break;
            }
            case RawBits:
                if (token != RawBits || m_end - m_next < 8)
                    return false;
                bits = qFromLittleEndian<quint64>(m_next);
                m_next += 8;
                break;
            case SameAsBefore: {
                if (token != SameAsBefore || !keys)
                    return false;
                const auto known = lastByKey.find(bitsOf((*keys)[i]));
                if (known == lastByKey.end())
                    return false;
                bits = known->second;
                break;
            }
            default:
                return false;
            }
            if (keys)
                lastByKey[bitsOf((*keys)[i])] = bits;
            values[i] = fromBits(bits);
        }
        return true;
    }

    bool atEnd() const { return m_next == m_end; }

private:
    bool readVarint(quint64 &value)
    {
        value = 0;
        for (int shift = 0; shift < 64 && m_next != m_end; shift += 7) {
            const quint8 byte = quint8(*m_next++);
            value |= quint64(byte & 0x7f) << shift;
            if (!(byte & 0x80))
                return true;
        }
        return false;
    }

    const char *m_next;
    const char *m_end;
};

// --- text fields --------------------------------------------------------------

bool usableSeparator(char separator)
{
    const unsigned char c = static_cast<unsigned char>(separator);
    return c != 0 && !std::isalnum(c) && separator != '+' && separator != '/' && separator != '=';
}

// Exactly `count` fields, none of them holding the separator.
template <std::size_t count>
std::optional<std::array<std::string_view, count>> splitFields(std::string_view text,
                                                               char separator)
{
    std::array<std::string_view, count> fields;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t end = i + 1 < count ? text.find(separator) : text.size();
        if (end == std::string_view::npos)
            return std::nullopt;
        fields[i] = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    if (fields[count - 1].find(separator) != std::string_view::npos)
        return std::nullopt;
    return fields;
}

std::optional<std::size_t> readCount(std::string_view field)
{
    std::size_t count = 0;
    const auto parsed = std::from_chars(field.data(), field.data() + field.size(), count);
    if (field.empty() || parsed.ec != std::errc() || parsed.ptr != field.data() + field.size()
        || count > std::size_t(std::numeric_limits<int>::max()) / sizeof(double))
        return std::nullopt;
    return count;
}

std::optional<QByteArray> readBase64(std::string_view field)
{
    const QByteArray encoded = QByteArray::fromRawData(field.data(), int(field.size()));
    auto decoded = QByteArray::fromBase64Encoding(encoded, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return std::move(decoded.decoded);
}

std::size_t base64Length(std::size_t bytes)
{
    return (bytes + 2) / 3 * 4;
}

bool readRawDoubles(std::string_view field, std::size_t count, std::vector<double> &values)
{
    if (field.size() != base64Length(count * sizeof(double)))
        return false;
    const std::optional<QByteArray> decoded = readBase64(field);
    if (!decoded || std::size_t(decoded->size()) != count * sizeof(double))
        return false;
    values.resize(count);
    // An empty array's data pointer may be null, which memcpy must not see.
    if (count > 0)
        qFromLittleEndian<double>(decoded->constData(), qsizetype(count), values.data());
    return true;
}

bool readRawHistory(const std::string &text, char separator, ValueOverTime &history)
{
    const auto fields = splitFields<rawFieldCount>(text, separator);
    if (!fields || (*fields)[0] != rawTag)
        return false;
    const std::optional<std::size_t> count = readCount((*fields)[1]);
    std::vector<double> times;
    std::vector<double> values;
    std::vector<double> analogValues;
    if (!count || !readRawDoubles((*fields)[2], *count, times)
        || !readRawDoubles((*fields)[3], *count, values)
        || !readRawDoubles((*fields)[4], *count, analogValues))
        return false;
    return history.assign(std::move(times), std::move(values), std::move(analogValues));
}

// The count and the uncompressed bytes of "<tag>;<count>;<base64 of qCompress
// output>". The size the output claims up front is held to [least, most] of
// what the count allows before anything is allocated.
struct CompressedText
{
    std::size_t count = 0;
    QByteArray bytes;
};

template <typename Limits>
std::optional<CompressedText> readCompressedText(const std::string &text, char separator,
                                                 std::string_view tag, Limits limits)
{
    const auto fields = splitFields<compressedFieldCount>(text, separator);
    if (!fields || (*fields)[0] != tag)
        return std::nullopt;
    const std::optional<std::size_t> count = readCount((*fields)[1]);
    if (!count)
        return std::nullopt;
    const auto [least, most] = limits(*count);
    std::optional<QByteArray> bytes = readCompressedBase64((*fields)[2], least, most);
    if (!bytes)
        return std::nullopt;
    return CompressedText{*count, std::move(*bytes)};
}

bool readPackedHistory(const std::string &text, char separator, ValueOverTime &history)
{
    const std::optional<CompressedText> packed
        = readCompressedText(text, separator, packedTag, [](std::size_t count) {
              return std::pair{count * minBytesPerSample + 3, count * maxBytesPerSample + 3};
          });
    if (!packed)
        return false;
    const std::size_t count = packed->count;
    Unpacker unpacker(packed->bytes);
    std::vector<double> times;
    std::vector<double> values;
    std::vector<double> analogValues;
    if (!unpacker.readArray(count, nullptr, times) || !unpacker.readArray(count, nullptr, values)
        || !unpacker.readArray(count, &values, analogValues) || !unpacker.atEnd())
        return false;
    return history.assign(std::move(times), std::move(values), std::move(analogValues));
}

// --- the stored blocks --------------------------------------------------------
//
// Each block as its byte count (a varint) and its bytes, as the history holds
// them; the newest samples follow as one more block. zlib at its fastest level
// shrinks the blocks of sensor values to a quarter, but costs more than all
// the rest on values that are no short decimals, so a trial on the first
// blocks decides whether it compresses or only stores.

constexpr int trialBytes = 1 << 18;
constexpr double worthCompressing = 0.6;
// Per sample at most a 9-byte XOR record for each column; per block its
// header, the column kinds and scales, the first integers and the packing slack.
constexpr std::size_t maxBlockBytesPerSample = 3 * 9;
constexpr std::size_t maxBlockOverhead = 96;

// The bytes written to `out`, at most ten.
std::size_t putVarint(std::uint8_t *out, quint64 value)
{
    std::size_t length = 0;
    for (; value >= 0x80; value >>= 7)
        out[length++] = std::uint8_t(value | 0x80);
    out[length++] = std::uint8_t(value);
    return length;
}

bool readBlockHistory(const std::string &text, char separator, ValueOverTime &history)
{
    const std::optional<CompressedText> stored
        = readCompressedText(text, separator, blocksTag, [](std::size_t count) {
              const std::size_t blocks
                  = (count + ValueOverTime::blockSize - 1) / ValueOverTime::blockSize;
              return std::pair{std::size_t(0),
                               count * maxBlockBytesPerSample + blocks * maxBlockOverhead};
          });
    if (!stored)
        return false;
    const std::size_t count = stored->count;
    const QByteArray &bytes = stored->bytes;
    const auto *next = reinterpret_cast<const std::uint8_t *>(bytes.constData());
    const auto *end = next + bytes.size();
    ChunkedVector<SampleBlock> blocks;
    std::vector<Extremes> blockExtremes;
    blockExtremes.reserve(count / ValueOverTime::blockSize);
    std::vector<double> times;
    std::vector<double> values;
    std::vector<double> analogValues;
    std::size_t samples = 0;
    while (next != end) {
        quint64 length = 0;
        int shift = 0;
        for (; next != end && shift < 64; shift += 7) {
            length |= quint64(*next & 0x7f) << shift;
            if (!(*next++ & 0x80))
                break;
        }
        // Only the last block may be partial.
        if (length > quint64(end - next) || !times.empty())
            return false;
        Extremes extremes;
        std::optional<SampleBlock> block = SampleBlock::fromBytes({next, next + length}, &extremes);
        next += length;
        if (!block || samples + std::size_t(block->size()) > count)
            return false;
        samples += std::size_t(block->size());
        if (block->size() == ValueOverTime::blockSize) {
            blocks.push_back(std::move(*block));
            blockExtremes.push_back(extremes);
            continue;
        }
        times.resize(std::size_t(block->size()));
        values.resize(times.size());
        analogValues.resize(times.size());
        block->decode(times.data(), values.data(), analogValues.data());
    }
    return samples == count && history.assign(std::move(blocks), blockExtremes, times, values, analogValues);
}

} // namespace

std::string historyToText(const ValueOverTime &history)
{
    std::optional<SampleBlock> openBlock;
    if (!history.openTimes().empty()) {
        openBlock = SampleBlock::encode(history.openTimes().data(), history.openValues().data(),
                                        history.openAnalogValues().data(),
                                        int(history.openTimes().size()));
    }
    const auto forEachBlock = [&](auto use) {
        std::array<std::uint8_t, 10> prefix;
        const ChunkedVector<SampleBlock> &blocks = history.blocks();
        for (std::size_t i = 0; i < blocks.size(); ++i)
            use(prefix.data(), putVarint(prefix.data(), blocks[i].bytes().size()), blocks[i].bytes());
        if (openBlock)
            use(prefix.data(), putVarint(prefix.data(), openBlock->bytes().size()),
                openBlock->bytes());
    };
    std::size_t total = 0;
    QByteArray trial;
    forEachBlock([&](const std::uint8_t *prefix, std::size_t prefixLength,
                     const std::vector<std::uint8_t> &bytes) {
        total += prefixLength + bytes.size();
        if (trial.size() < trialBytes) {
            trial.append(reinterpret_cast<const char *>(prefix), int(prefixLength));
            trial.append(reinterpret_cast<const char *>(bytes.data()), int(bytes.size()));
        }
    });
    trial.truncate(trialBytes);
    const bool compress = qCompress(trial, 1).size() < worthCompressing * double(trial.size());

    std::string text;
    text.append(blocksTag).append(1, fieldSeparator).append(std::to_string(history.size()));
    text.append(1, fieldSeparator);
    CompressedBase64Writer writer(text, total, compress ? 1 : 0);
    forEachBlock([&writer](const std::uint8_t *prefix, std::size_t prefixLength,
                           const std::vector<std::uint8_t> &bytes) {
        writer.write(prefix, prefixLength);
        writer.write(bytes.data(), bytes.size());
    });
    writer.finish();
    return text;
}

bool historyFromText(const std::string &text, char separator, ValueOverTime &history)
{
    if (!usableSeparator(separator))
        return false;
    return readBlockHistory(text, separator, history) || readPackedHistory(text, separator, history)
           || readRawHistory(text, separator, history);
}

} // namespace Charts
} // namespace Utils
