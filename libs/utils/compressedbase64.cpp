#include "compressedbase64.h"

#include <zlib.h>

#include <QtEndian>

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

namespace Utils {

namespace {

// Base64 of our own rather than QByteArray's: opening a week of history
// took twice as long through fromBase64Encoding.
// Three bytes to four characters: chunks of whole groups need no padding
// until the end.
constexpr std::size_t groupsPerChunk = 16384;
constexpr std::size_t chunkBytes = 3 * groupsPerChunk;
constexpr std::size_t chunkCharacters = 4 * groupsPerChunk;
// qCompress writes the uncompressed size up front, big-endian.
constexpr std::size_t sizeHeader = 4;

constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint8_t notBase64 = 0x80;

constexpr std::array<std::uint8_t, 256> sextets = [] {
    std::array<std::uint8_t, 256> table{};
    for (std::uint8_t &entry : table)
        entry = notBase64;
    for (std::uint8_t i = 0; i < 64; ++i)
        table[std::uint8_t(alphabet[i])] = i;
    return table;
}();

std::size_t base64Length(std::size_t bytes)
{
    return (bytes + 2) / 3 * 4;
}

// Of a text of whole groups of four characters.
std::size_t paddingOf(std::string_view text)
{
    if (text.size() < 4 || text.back() != '=')
        return 0;
    return text.end()[-2] == '=' ? 2 : 1;
}

// `size` bytes, padded when it is no multiple of three.
void appendBase64(std::string &text, const std::uint8_t *bytes, std::size_t size)
{
    const std::size_t at = text.size();
    text.resize(at + base64Length(size));
    char *out = &text[at];
    for (; size >= 3; size -= 3, bytes += 3, out += 4) {
        const std::uint32_t group
            = std::uint32_t(bytes[0]) << 16 | std::uint32_t(bytes[1]) << 8 | bytes[2];
        out[0] = alphabet[group >> 18];
        out[1] = alphabet[group >> 12 & 63];
        out[2] = alphabet[group >> 6 & 63];
        out[3] = alphabet[group & 63];
    }
    if (size > 0) {
        const std::uint32_t group
            = std::uint32_t(bytes[0]) << 16 | (size > 1 ? std::uint32_t(bytes[1]) << 8 : 0);
        out[0] = alphabet[group >> 18];
        out[1] = alphabet[group >> 12 & 63];
        out[2] = size > 1 ? alphabet[group >> 6 & 63] : '=';
        out[3] = '=';
    }
}

// Whole groups of four characters; the last group of the text may end in
// padding. Returns the bytes decoded, or nullopt on any other character.
std::optional<std::size_t> decodeBase64(std::string_view text, bool last, std::uint8_t *out)
{
    const std::size_t padding = last ? paddingOf(text) : 0;
    std::uint8_t *const begin = out;
    const auto *in = reinterpret_cast<const std::uint8_t *>(text.data());
    const std::size_t groups = text.size() / 4 - (padding > 0);
    for (std::size_t i = 0; i < groups; ++i, in += 4, out += 3) {
        const std::uint8_t a = sextets[in[0]];
        const std::uint8_t b = sextets[in[1]];
        const std::uint8_t c = sextets[in[2]];
        const std::uint8_t d = sextets[in[3]];
        if ((a | b | c | d) & notBase64)
            return std::nullopt;
        const std::uint32_t group
            = std::uint32_t(a) << 18 | std::uint32_t(b) << 12 | std::uint32_t(c) << 6 | d;
        out[0] = std::uint8_t(group >> 16);
        out[1] = std::uint8_t(group >> 8);
        out[2] = std::uint8_t(group);
    }
    if (padding > 0) {
        const std::uint8_t a = sextets[in[0]];
        const std::uint8_t b = sextets[in[1]];
        const std::uint8_t c = padding == 1 ? sextets[in[2]] : 0;
        if ((a | b | c) & notBase64)
            return std::nullopt;
        *out++ = std::uint8_t(a << 2 | b >> 4);
        if (padding == 1)
            *out++ = std::uint8_t(b << 4 | c >> 2);
    }
    return std::size_t(out - begin);
}

bool sizeAllowed(std::size_t claimed, std::size_t compressed, std::size_t least, std::size_t most)
{
    // zlib packs at most about 1032 bytes into one.
    return claimed >= least && claimed <= most && claimed / 1032 <= compressed
           && claimed < std::size_t(INT_MAX);
}

// Text that is no plain padded base64 is left to Qt's decoder, which takes
// a little more.
std::optional<QByteArray> readUnusualBase64(std::string_view field, std::size_t least,
                                            std::size_t most)
{
    const QByteArray encoded = QByteArray::fromRawData(field.data(), int(field.size()));
    const auto decoded
        = QByteArray::fromBase64Encoding(encoded, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() < int(sizeHeader))
        return std::nullopt;
    const std::size_t claimed = qFromBigEndian<quint32>(decoded.decoded.constData());
    if (!sizeAllowed(claimed, std::size_t(decoded.decoded.size()), least, most))
        return std::nullopt;
    QByteArray bytes = qUncompress(decoded.decoded);
    if (std::size_t(bytes.size()) != claimed)
        return std::nullopt;
    return bytes;
}

struct Inflater
{
    Inflater() { valid = inflateInit(&stream) == Z_OK; }
    ~Inflater() { inflateEnd(&stream); }
    Inflater(const Inflater &) = delete;
    Inflater &operator=(const Inflater &) = delete;

    z_stream stream{};
    bool valid = false;
};

} // namespace

struct CompressedBase64Writer::Private
{
    explicit Private(std::string &text)
        : text(text)
    {
    }

    // Compresses what `in` holds into whole base64 groups of the text.
    void drain(int flush)
    {
        stream.next_in = in.data();
        stream.avail_in = uInt(inSize);
        int result = Z_OK;
        do {
            stream.next_out = out.data() + outSize;
            stream.avail_out = uInt(out.size() - outSize);
            result = deflate(&stream, flush);
            outSize = out.size() - stream.avail_out;
            const std::size_t whole = outSize / 3 * 3;
            appendBase64(text, out.data(), whole);
            std::memmove(out.data(), out.data() + whole, outSize - whole);
            outSize -= whole;
        } while (stream.avail_out == 0 || (flush == Z_FINISH && result == Z_OK));
        inSize = 0;
    }

    std::string &text;
    z_stream stream{};
    std::array<std::uint8_t, chunkBytes> in;
    std::size_t inSize = 0;
    std::array<std::uint8_t, chunkBytes + 2> out; // two carried bytes and a chunk
    std::size_t outSize = 0;
};

CompressedBase64Writer::CompressedBase64Writer(std::string &text, std::size_t totalBytes, int level)
    : d(std::make_unique<Private>(text))
{
    deflateInit(&d->stream, level);
    qToBigEndian(quint32(totalBytes), d->out.data());
    d->outSize = sizeHeader;
    // Stored data has a size known in advance; a compressed one grows as needed.
    if (level == 0)
        text.reserve(text.size()
                     + base64Length(sizeHeader + deflateBound(&d->stream, uLong(totalBytes))));
}

CompressedBase64Writer::~CompressedBase64Writer()
{
    deflateEnd(&d->stream);
}

void CompressedBase64Writer::write(const std::uint8_t *bytes, std::size_t size)
{
    while (size > 0) {
        const std::size_t taken = std::min(size, d->in.size() - d->inSize);
        std::memcpy(d->in.data() + d->inSize, bytes, taken);
        d->inSize += taken;
        bytes += taken;
        size -= taken;
        if (d->inSize == d->in.size())
            d->drain(Z_NO_FLUSH);
    }
}

void CompressedBase64Writer::finish()
{
    d->drain(Z_FINISH);
    appendBase64(d->text, d->out.data(), d->outSize);
    d->outSize = 0;
}

std::optional<QByteArray> readCompressedBase64(std::string_view field, std::size_t least,
                                               std::size_t most)
{
    if (field.size() % 4 != 0 || field.size() < base64Length(sizeHeader))
        return readUnusualBase64(field, least, most);
    const std::size_t decodedSize = field.size() / 4 * 3 - paddingOf(field);
    std::array<std::uint8_t, chunkBytes> chunk;
    std::string_view rest = field;
    const auto nextChunk = [&]() {
        const std::string_view part = rest.substr(0, chunkCharacters);
        rest.remove_prefix(part.size());
        return decodeBase64(part, rest.empty(), chunk.data());
    };
    std::optional<std::size_t> decoded = nextChunk();
    if (!decoded || *decoded < sizeHeader)
        return std::nullopt;
    const std::size_t claimed = qFromBigEndian<quint32>(chunk.data());
    if (!sizeAllowed(claimed, decodedSize, least, most))
        return std::nullopt;
    // qCompress writes nothing but the size for no bytes.
    if (claimed == 0 && decodedSize == sizeHeader)
        return QByteArray();
    Inflater inflater;
    if (!inflater.valid)
        return std::nullopt;
    z_stream &stream = inflater.stream;
    // A byte to spare shows a stream longer than it claims.
    QByteArray bytes(int(claimed) + 1, Qt::Uninitialized);
    stream.next_out = reinterpret_cast<Bytef *>(bytes.data());
    stream.avail_out = uInt(bytes.size());
    stream.next_in = chunk.data() + sizeHeader;
    stream.avail_in = uInt(*decoded - sizeHeader);
    int result = Z_OK;
    for (;;) {
        result = inflate(&stream, Z_NO_FLUSH);
        if (result != Z_OK || rest.empty())
            break;
        decoded = nextChunk();
        if (!decoded)
            return std::nullopt;
        stream.next_in = chunk.data();
        stream.avail_in = uInt(*decoded);
    }
    if (result != Z_STREAM_END || stream.total_out != claimed)
        return std::nullopt;
    bytes.resize(int(claimed));
    return bytes;
}

} // namespace Utils
