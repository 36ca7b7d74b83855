#include "sampleblock.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace Utils {

namespace {

// Each column (times, values, analog values) starts with a kind byte. Scaled
// columns hold integers n with value == n / 10^d or value == n * 0.1^d (the
// ways a device number becomes bar or degrees): the first one, then their
// first or second differences, zigzagged and bit-packed: a steady poll clock
// costs a few bits per time stamp, a slowly moving value a few more. Second
// differences keep the first difference apart, as it is as large as the poll
// interval and would widen the packing of all the others. Anything else is
// stored as a residual per sample against a prediction (see putPacked);
// analog values may be predicted from the values through a straight line.
enum Kind : std::uint8_t {
    ScaledDelta = 1,
    ScaledDeltaOfDeltaWithFirst = 2, // written before, still read
    XorBits = 3,                     // written before, still read
    AffineXorBits = 4,               // written before, still read
    ScaledDeltaOfDelta = 5,
    // The predictions; as column kinds, residuals in byte windows, written before, still read.
    XorPrevious = 6,
    XorLine = 7, // analog values only
    BitsDelta = 8,
    BitsDeltaOfDelta = 9,
    PackedResiduals = 10,
};

constexpr int maxDecimals = 9;
// Doubles keep every integer below 2^53 exact.
constexpr double scaledLimit = 9.0e15;
constexpr std::array<double, maxDecimals + 1> powersOfTen{1e0, 1e1, 1e2, 1e3, 1e4,
                                                          1e5, 1e6, 1e7, 1e8, 1e9};
constexpr std::array<double, maxDecimals + 1> powersOfTenth{1e0,  1e-1, 1e-2, 1e-3, 1e-4,
                                                            1e-5, 1e-6, 1e-7, 1e-8, 1e-9};

std::uint64_t bitsOf(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

double doubleOf(std::uint64_t bits)
{
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

struct Scale
{
    int decimals = 0;
    bool multiply = false;

    std::uint8_t code() const { return std::uint8_t(decimals | (multiply ? 0x10 : 0)); }
    double apply(std::int64_t n) const
    {
        return multiply ? double(n) * powersOfTenth[size_t(decimals)]
                        : double(n) / powersOfTen[size_t(decimals)];
    }
    bool integerOf(double value, std::int64_t &n) const
    {
        const double scaled = value * powersOfTen[size_t(decimals)];
        if (!(std::fabs(scaled) <= scaledLimit))
            return false;
        n = std::int64_t(std::nearbyint(scaled));
        return bitsOf(apply(n)) == bitsOf(value);
    }
};

bool scaleFits(const double *values, int count, Scale scale, std::vector<std::int64_t> &integers)
{
    integers.resize(size_t(count));
    for (int i = 0; i < count; ++i) {
        if (!scale.integerOf(values[i], integers[size_t(i)]))
            return false;
    }
    return true;
}

// The first scale that holds every value of the column, fewest decimals first.
std::optional<Scale> findScale(const double *values, int count, std::vector<std::int64_t> &integers)
{
    for (const bool multiply : {false, true}) {
        for (int decimals = multiply ? 1 : 0; decimals <= maxDecimals; ++decimals) {
            const Scale scale{decimals, multiply};
            if (scaleFits(values, count, scale, integers))
                return scale;
        }
    }
    return std::nullopt;
}

void putVarint(std::vector<std::uint8_t> &out, std::uint64_t value)
{
    while (value >= 0x80) {
        out.push_back(std::uint8_t(value | 0x80));
        value >>= 7;
    }
    out.push_back(std::uint8_t(value));
}

std::uint64_t zigzag(std::int64_t value)
{
    return (std::uint64_t(value) << 1) ^ std::uint64_t(value >> 63);
}

std::int64_t unzigzag(std::uint64_t value)
{
    return std::int64_t(value >> 1) ^ -std::int64_t(value & 1);
}

// The residuals (differences after the first integer) are packed with the
// bit width of the largest, so a block decodes without a branch per sample;
// eight zero bytes after them let every residual be read with one 8-byte load.
constexpr int maxResidualBits = 57;
constexpr std::size_t packingSlack = 8;

std::size_t packedBytes(int residuals, int bits)
{
    return (std::size_t(residuals) * std::size_t(bits) + 7) / 8 + packingSlack;
}

void putScaled(std::vector<std::uint8_t> &out, const std::vector<std::int64_t> &integers,
               Kind kind)
{
    const bool secondOrder = kind == ScaledDeltaOfDelta;
    const size_t firstResidual = secondOrder ? 2 : 1;
    std::vector<std::uint64_t> residuals;
    residuals.reserve(integers.size());
    std::uint64_t all = 0;
    for (size_t i = firstResidual; i < integers.size(); ++i) {
        const std::int64_t delta = integers[i] - integers[i - 1];
        const std::int64_t previousDelta = secondOrder ? integers[i - 1] - integers[i - 2] : 0;
        residuals.push_back(zigzag(delta - previousDelta));
        all |= residuals.back();
    }
    const int bits = all == 0 ? 0 : 64 - __builtin_clzll(all);
    putVarint(out, zigzag(integers.front()));
    if (secondOrder)
        putVarint(out, zigzag(integers.size() > 1 ? integers[1] - integers[0] : 0));
    out.push_back(std::uint8_t(bits));
    const size_t start = out.size();
    out.resize(start + packedBytes(int(residuals.size()), bits), 0);
    std::uint8_t *packed = out.data() + start;
    for (size_t i = 0; i < residuals.size(); ++i) {
        const std::size_t bit = i * std::size_t(bits);
        std::uint64_t word;
        std::memcpy(&word, packed + bit / 8, sizeof word);
        word |= residuals[i] << (bit % 8);
        std::memcpy(packed + bit / 8, &word, sizeof word);
    }
}

// Older blocks: per sample a control byte: the previous value again, the
// prediction exactly, or the XOR with the prediction, with its count of
// leading and trailing zero bytes, followed by its other bytes.
constexpr std::uint8_t sameAsPrevious = 0x00;
constexpr std::uint8_t samePrediction = 0x40;
constexpr std::uint8_t xorFollows = 0x80;

std::uint64_t previousBits(int, std::uint64_t previous)
{
    return previous;
}

// fma rounds once, the same on every machine, so a prediction decodes to
// the bits it was encoded against.
struct Line
{
    double slope = 0.0;
    double offset = 0.0;
    const double *values = nullptr;

    std::uint64_t operator()(int i, std::uint64_t) const
    {
        return bitsOf(std::fma(slope, values[i], offset));
    }
};

// Through the samples of the lowest and the highest value.
Line lineOf(const double *values, const double *analogValues, int count)
{
    int low = -1;
    int high = -1;
    for (int i = 0; i < count; ++i) {
        if (!std::isfinite(values[i]) || !std::isfinite(analogValues[i]))
            continue;
        if (low < 0 || values[i] < values[low])
            low = i;
        if (high < 0 || values[i] > values[high])
            high = i;
    }
    Line line{0.0, low < 0 ? 0.0 : analogValues[low], values};
    if (low >= 0 && values[high] > values[low]) {
        line.slope = (analogValues[high] - analogValues[low]) / (values[high] - values[low]);
        line.offset = analogValues[low] - line.slope * values[low];
    }
    return line;
}

void putDouble(std::vector<std::uint8_t> &out, double value)
{
    const std::uint64_t bits = bitsOf(value);
    for (int byte = 0; byte < 8; ++byte)
        out.push_back(std::uint8_t(bits >> (8 * byte)));
}

// Residuals in byte windows, as written before: a 2-bit code per sample, four
// to a byte, comes first: 0 the residual is zero, 1 it fits the last window of
// bytes, 2 a new window follows (a byte: leading zero bytes << 4 | trailing
// zero bytes), 3 the previous value again (line only). Then the window bytes
// and each residual's bytes inside its window.
constexpr int codeResidualZero = 0;
constexpr int codeNewWindow = 2;
constexpr int codeSameAsPrevious = 3;

std::size_t codeBytes(int count)
{
    return (std::size_t(count) * 2 + 7) / 8;
}

// What a residual stands for, given the bits before it.
struct Prediction
{
    Kind kind;
    Line line;

    std::uint64_t residual(int i, std::uint64_t bits, std::uint64_t previous,
                           std::uint64_t previousDelta) const
    {
        switch (kind) {
        case XorLine:
            return bits ^ line(i, previous);
        case BitsDelta:
            return zigzag(std::int64_t(bits - previous));
        case BitsDeltaOfDelta:
            return zigzag(std::int64_t(bits - previous - previousDelta));
        default:
            return bits ^ previous;
        }
    }
    std::uint64_t bits(int i, std::uint64_t residual, std::uint64_t previous,
                       std::uint64_t previousDelta) const
    {
        switch (kind) {
        case XorLine:
            return line(i, previous) ^ residual;
        case BitsDelta:
            return previous + std::uint64_t(unzigzag(residual));
        case BitsDeltaOfDelta:
            return previous + previousDelta + std::uint64_t(unzigzag(residual));
        default:
            return previous ^ residual;
        }
    }
};

// A column that is no short decimals stores per sample a residual against a
// prediction: its bits XOR the previous value or the line, or the difference
// of its bits from the previous ones, or the change of that difference, as
// integers; each block takes whichever packs smallest. Residuals are packed
// to the bit in up to four widths: the prediction, the number of widths and
// the widths, then a bit stream of, per sample, the index of its width (no
// bits for one width, one for two, else two) and the residual in that width.
// A steady value and its odd outliers thus cost what each needs, not the
// widest.
constexpr int maxWidths = 4;
constexpr int maxResidualWidth = 64;

int indexBits(int widths)
{
    return widths <= 1 ? 0 : widths == 2 ? 1 : 2;
}

int widthOf(std::uint64_t residual)
{
    return residual == 0 ? 0 : 64 - __builtin_clzll(residual);
}

struct Widths
{
    int count = 0;
    std::array<int, maxWidths> widths{};
    std::size_t bits = 0; // of the whole column
};

// The widths that pack a column of `samples` residuals smallest, given how
// many residuals need each width: each residual takes the narrowest width
// that holds it, so the widths split the sorted residual widths into runs.
Widths chooseWidths(const std::array<int, maxResidualWidth + 1> &histogram, int samples)
{
    std::array<int, maxResidualWidth + 1> used{};
    std::array<std::size_t, maxResidualWidth + 2> before{}; // residuals narrower than used[j]
    int distinct = 0;
    for (int width = 0; width <= maxResidualWidth; ++width) {
        if (histogram[size_t(width)] == 0)
            continue;
        used[size_t(distinct)] = width;
        before[size_t(distinct) + 1] = before[size_t(distinct)] + size_t(histogram[size_t(width)]);
        ++distinct;
    }
    // cost[k][j]: bits of the residuals up to used[j] in k + 1 widths, the widest used[j].
    constexpr std::size_t none = std::numeric_limits<std::size_t>::max();
    std::array<std::array<std::size_t, maxResidualWidth + 1>, maxWidths> cost;
    std::array<std::array<int, maxResidualWidth + 1>, maxWidths> split;
    Widths best;
    best.bits = none;
    for (int k = 0; k < maxWidths; ++k) {
        for (int j = 0; j < distinct; ++j) {
            const std::size_t width = size_t(used[size_t(j)]);
            cost[size_t(k)][size_t(j)] = k == 0 ? before[size_t(j) + 1] * width : none;
            split[size_t(k)][size_t(j)] = -1;
            for (int i = k - 1; k > 0 && i < j; ++i) {
                const std::size_t below = cost[size_t(k) - 1][size_t(i)];
                if (below == none)
                    continue;
                const std::size_t total
                    = below + (before[size_t(j) + 1] - before[size_t(i) + 1]) * width;
                if (total < cost[size_t(k)][size_t(j)]) {
                    cost[size_t(k)][size_t(j)] = total;
                    split[size_t(k)][size_t(j)] = i;
                }
            }
        }
        const std::size_t packed = cost[size_t(k)][size_t(distinct) - 1];
        if (packed == none)
            break;
        const std::size_t total
            = packed + std::size_t(samples) * std::size_t(indexBits(k + 1)) + 8 * std::size_t(k);
        if (total < best.bits) {
            best.bits = total;
            best.count = k + 1;
            for (int level = k, j = distinct - 1; level >= 0; j = split[size_t(level--)][size_t(j)])
                best.widths[size_t(level)] = used[size_t(j)];
        }
    }
    return best;
}

// Writes `width` (at most 64) bits at `bit` into zeroed bytes with eight to spare.
void putBits(std::uint8_t *packed, std::size_t bit, std::uint64_t value, int width)
{
    if (width > 56) {
        putBits(packed, bit, value & 0xffffffffu, 32);
        putBits(packed, bit + 32, value >> 32, width - 32);
        return;
    }
    std::uint64_t word;
    std::memcpy(&word, packed + bit / 8, sizeof word);
    word |= value << (bit % 8);
    std::memcpy(packed + bit / 8, &word, sizeof word);
}

void putPacked(std::vector<std::uint8_t> &out, const std::vector<std::uint64_t> &residuals,
               const Prediction &prediction, const Widths &widths)
{
    out.push_back(PackedResiduals);
    out.push_back(prediction.kind);
    if (prediction.kind == XorLine) {
        putDouble(out, prediction.line.slope);
        putDouble(out, prediction.line.offset);
    }
    out.push_back(std::uint8_t(widths.count));
    for (int k = 0; k < widths.count; ++k)
        out.push_back(std::uint8_t(widths.widths[size_t(k)]));
    const std::size_t start = out.size();
    out.resize(start + residuals.size() * 9 + packingSlack, 0);
    std::uint8_t *packed = out.data() + start;
    const int indexWidth = indexBits(widths.count);
    std::size_t bit = 0;
    for (const std::uint64_t residual : residuals) {
        const int needed = widthOf(residual);
        int index = 0;
        while (widths.widths[size_t(index)] < needed)
            ++index;
        putBits(packed, bit, std::uint64_t(index), indexWidth);
        bit += std::size_t(indexWidth);
        putBits(packed, bit, residual, widths.widths[size_t(index)]);
        bit += std::size_t(widths.widths[size_t(index)]);
    }
    out.resize(start + (bit + 7) / 8);
}

void putColumn(std::vector<std::uint8_t> &out, const double *values, int count, Kind scaledKind,
               std::vector<std::int64_t> &integers, const Line *line = nullptr)
{
    if (const std::optional<Scale> scale = findScale(values, count, integers)) {
        out.push_back(scaledKind);
        out.push_back(scale->code());
        putScaled(out, integers, scaledKind);
        return;
    }
    std::vector<std::uint64_t> residuals;
    std::vector<std::uint64_t> trial(static_cast<size_t>(count));
    std::optional<std::pair<Prediction, Widths>> best;
    for (const Kind kind : {XorPrevious, BitsDelta, BitsDeltaOfDelta, XorLine}) {
        if (kind == XorLine && !line)
            continue;
        const Prediction prediction{kind, kind == XorLine ? *line : Line{}};
        std::array<int, maxResidualWidth + 1> histogram{};
        std::uint64_t previous = 0;
        std::uint64_t previousDelta = 0;
        for (int i = 0; i < count; ++i) {
            const std::uint64_t bits = bitsOf(values[i]);
            trial[size_t(i)] = prediction.residual(i, bits, previous, previousDelta);
            ++histogram[size_t(widthOf(trial[size_t(i)]))];
            previousDelta = bits - previous;
            previous = bits;
        }
        Widths widths = chooseWidths(histogram, count);
        widths.bits += kind == XorLine ? 128 : 0;
        if (!best || widths.bits < best->second.bits) {
            best = {prediction, widths};
            residuals.swap(trial);
            trial.resize(size_t(count));
        }
    }
    putPacked(out, residuals, best->first, best->second);
}

// Reads untrusted bytes: every step checks what is left.
class Reader
{
public:
    Reader(const std::uint8_t *begin, const std::uint8_t *end)
        : m_at(begin)
        , m_end(end)
    {
    }

    bool atEnd() const { return m_at == m_end; }
    const std::uint8_t *position() const { return m_at; }
    bool byte(std::uint8_t &value)
    {
        if (m_at == m_end)
            return false;
        value = *m_at++;
        return true;
    }
    bool varint(std::uint64_t &value)
    {
        value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (m_at == m_end)
                return false;
            const std::uint8_t byte = *m_at++;
            value |= std::uint64_t(byte & 0x7f) << shift;
            if (!(byte & 0x80))
                return true;
        }
        return false;
    }
    // `count` (at most 8) bytes, the lowest first.
    bool word(int count, std::uint64_t &value)
    {
        if (count > m_end - m_at)
            return false;
        value = 0;
        for (int byte = 0; byte < count; ++byte)
            value |= std::uint64_t(*m_at++) << (8 * byte);
        return true;
    }
    std::size_t left() const { return std::size_t(m_end - m_at); }
    bool skip(std::uint64_t count, Reader &part)
    {
        if (count > std::uint64_t(m_end - m_at))
            return false;
        part = Reader(m_at, m_at + count);
        m_at += count;
        return true;
    }

private:
    const std::uint8_t *m_at;
    const std::uint8_t *m_end;
};

// One loop per way of scaling and of differencing, so that none of them
// decides per sample.
struct Unpacking
{
    const std::uint8_t *packed;
    int bits;
    std::uint64_t first;
    std::uint64_t firstDelta; // of second differences written apart, else 0
    int firstResidual;        // the first sample that comes from the packing
    int count;
    double *out;

    template <bool secondOrder>
    bool run(Scale scale) const
    {
        if (scale.decimals == 0)
            return run<secondOrder>([](std::int64_t n) { return double(n); });
        if (scale.multiply) {
            const double factor = powersOfTenth[size_t(scale.decimals)];
            return run<secondOrder>([factor](std::int64_t n) { return double(n) * factor; });
        }
        const double divisor = powersOfTen[size_t(scale.decimals)];
        return run<secondOrder>([divisor](std::int64_t n) { return double(n) / divisor; });
    }

    template <bool secondOrder, typename Apply>
    bool run(Apply apply) const
    {
        const std::uint64_t mask = bits == 0 ? 0 : ~std::uint64_t(0) >> (64 - bits);
        // Unsigned arithmetic: a damaged block may overflow, which the limit check then refuses.
        std::uint64_t n = first;
        std::uint64_t delta = 0;
        std::size_t bit = 0;
        for (int i = 0;;) {
            const auto integer = std::int64_t(n);
            if (!(std::fabs(double(integer)) <= scaledLimit))
                return false;
            out[i] = apply(integer);
            if (++i == count)
                return true;
            if (i < firstResidual) {
                delta = firstDelta;
            } else {
                std::uint64_t word;
                std::memcpy(&word, packed + bit / 8, sizeof word);
                const std::uint64_t step = std::uint64_t(unzigzag(word >> (bit % 8) & mask));
                bit += std::size_t(bits);
                delta = secondOrder ? delta + step : step;
            }
            n += delta;
        }
    }
};

bool readScaled(Reader &in, Kind kind, int count, double *out)
{
    const int firstResidual = kind == ScaledDeltaOfDelta ? 2 : 1;
    std::uint8_t code = 0;
    std::uint64_t firstZigzag = 0;
    std::uint64_t firstDeltaZigzag = 0;
    std::uint8_t bits = 0;
    if (!in.byte(code) || (code & ~0x1f) != 0 || (code & 0xf) > maxDecimals
        || code == Scale{0, true}.code() || !in.varint(firstZigzag)
        || (firstResidual == 2 && !in.varint(firstDeltaZigzag)) || !in.byte(bits)
        || bits > maxResidualBits)
        return false;
    const Scale scale{code & 0xf, (code & 0x10) != 0};
    Reader packedPart(nullptr, nullptr);
    if (!in.skip(packedBytes(std::max(count - firstResidual, 0), bits), packedPart))
        return false;
    const Unpacking unpacking{packedPart.position(),
                              bits,
                              std::uint64_t(unzigzag(firstZigzag)),
                              std::uint64_t(unzigzag(firstDeltaZigzag)),
                              firstResidual,
                              count,
                              out};
    return kind == ScaledDelta ? unpacking.run<false>(scale) : unpacking.run<true>(scale);
}

template <typename Predict>
bool readXorBits(Reader &in, int count, double *out, Predict predict)
{
    std::uint64_t previous = 0;
    for (int i = 0; i < count; ++i) {
        std::uint8_t control = 0;
        if (!in.byte(control))
            return false;
        if (control == samePrediction) {
            previous = predict(i, previous);
        } else if (control != sameAsPrevious) {
            const int leading = control >> 3 & 7;
            const int trailing = control & 7;
            if ((control & 0xc0) != xorFollows || leading + trailing > 7)
                return false;
            std::uint64_t x = 0;
            for (int byte = 0; byte < 8 - leading - trailing; ++byte) {
                std::uint8_t part = 0;
                if (!in.byte(part))
                    return false;
                x |= std::uint64_t(part) << (8 * (byte + trailing));
            }
            previous = predict(i, previous) ^ x;
        }
        out[i] = doubleOf(previous);
    }
    return true;
}

bool readResiduals(Reader &in, int count, double *out, const Prediction &prediction)
{
    Reader codesPart(nullptr, nullptr);
    if (!in.skip(codeBytes(count), codesPart))
        return false;
    const std::uint8_t *codes = codesPart.position();
    std::uint64_t previous = 0;
    std::uint64_t previousDelta = 0;
    int leading = -1;
    int trailing = 0;
    for (int i = 0; i < count; ++i) {
        const int code = codes[i / 4] >> (2 * (i % 4)) & 3;
        std::uint64_t bits = previous;
        if (code == codeSameAsPrevious) {
            if (prediction.kind != XorLine)
                return false;
        } else {
            std::uint64_t residual = 0;
            if (code == codeNewWindow) {
                std::uint8_t window = 0;
                if (!in.byte(window))
                    return false;
                leading = window >> 4;
                trailing = window & 0xf;
                if (leading + trailing > 7)
                    return false;
            }
            if (code != codeResidualZero) {
                if (leading < 0 || !in.word(8 - leading - trailing, residual))
                    return false;
                residual <<= 8 * trailing;
            }
            bits = prediction.bits(i, residual, previous, previousDelta);
        }
        out[i] = doubleOf(bits);
        previousDelta = bits - previous;
        previous = bits;
    }
    return true;
}

// Takes bit fields of untrusted bytes, the lowest bit first.
class BitReader
{
public:
    explicit BitReader(Reader bytes)
        : m_begin(bytes.position())
        , m_size(bytes.left())
    {
    }

    bool take(int width, std::uint64_t &value)
    {
        if (width > 56) {
            std::uint64_t high = 0;
            if (!take(32, value) || !take(width - 32, high))
                return false;
            value |= high << 32;
            return true;
        }
        value = 0;
        if (m_bit + std::size_t(width) > m_size * 8)
            return false;
        if (width == 0)
            return true;
        const std::size_t at = m_bit / 8;
        std::uint64_t word = 0;
        if (m_size - at >= sizeof word)
            std::memcpy(&word, m_begin + at, sizeof word);
        else
            std::memcpy(&word, m_begin + at, m_size - at);
        value = word >> (m_bit % 8) & (~std::uint64_t(0) >> (64 - width));
        m_bit += std::size_t(width);
        return true;
    }
    // Every byte was needed.
    bool atEnd() const { return (m_bit + 7) / 8 == m_size; }

private:
    const std::uint8_t *m_begin;
    std::size_t m_size;
    std::size_t m_bit = 0;
};

bool readDouble(Reader &in, double &value);

struct PackedWidths
{
    int count = 0;
    std::array<int, maxWidths> widths{};
};

// One loop per prediction, so that none of them decides per sample.
template <Kind kind>
bool unpack(BitReader &stream, const PackedWidths &widths, int count, double *out, const Line &line)
{
    const Prediction prediction{kind, line};
    const int indexWidth = indexBits(widths.count);
    std::uint64_t previous = 0;
    std::uint64_t previousDelta = 0;
    for (int i = 0; i < count; ++i) {
        std::uint64_t index = 0;
        std::uint64_t residual = 0;
        if (!stream.take(indexWidth, index) || index >= std::uint64_t(widths.count)
            || !stream.take(widths.widths[size_t(index)], residual))
            return false;
        const std::uint64_t bits = prediction.bits(i, residual, previous, previousDelta);
        out[i] = doubleOf(bits);
        previousDelta = bits - previous;
        previous = bits;
    }
    return stream.atEnd();
}

bool readPacked(Reader &in, int count, double *out, const double *values)
{
    std::uint8_t kind = 0;
    std::uint8_t widthCount = 0;
    Line line{0.0, 0.0, values};
    if (!in.byte(kind)
        || !(kind == XorPrevious || kind == BitsDelta || kind == BitsDeltaOfDelta
             || (kind == XorLine && values))
        || (kind == XorLine && !(readDouble(in, line.slope) && readDouble(in, line.offset)))
        || !in.byte(widthCount) || widthCount < 1 || widthCount > maxWidths)
        return false;
    PackedWidths widths{widthCount, {}};
    for (int k = 0; k < widthCount; ++k) {
        std::uint8_t width = 0;
        if (!in.byte(width) || width > maxResidualWidth)
            return false;
        widths.widths[size_t(k)] = width;
    }
    Reader streamBytes(nullptr, nullptr);
    in.skip(in.left(), streamBytes);
    BitReader stream(streamBytes);
    switch (kind) {
    case XorLine:
        return unpack<XorLine>(stream, widths, count, out, line);
    case BitsDelta:
        return unpack<BitsDelta>(stream, widths, count, out, line);
    case BitsDeltaOfDelta:
        return unpack<BitsDeltaOfDelta>(stream, widths, count, out, line);
    default:
        return unpack<XorPrevious>(stream, widths, count, out, line);
    }
}

bool readDouble(Reader &in, double &value)
{
    std::uint64_t bits = 0;
    for (int byte = 0; byte < 8; ++byte) {
        std::uint8_t part = 0;
        if (!in.byte(part))
            return false;
        bits |= std::uint64_t(part) << (8 * byte);
    }
    value = doubleOf(bits);
    return true;
}

// `values` are the block's decoded values, which analog values may be predicted from.
bool readColumn(Reader in, int count, double *out, const double *values = nullptr)
{
    std::uint8_t kind = 0;
    if (!in.byte(kind))
        return false;
    bool read = false;
    if (kind == XorBits) {
        read = readXorBits(in, count, out, previousBits);
    } else if (kind == ScaledDelta || kind == ScaledDeltaOfDelta
               || kind == ScaledDeltaOfDeltaWithFirst) {
        read = readScaled(in, Kind(kind), count, out);
    } else if (kind == AffineXorBits && values) {
        Line line{0.0, 0.0, values};
        read = readDouble(in, line.slope) && readDouble(in, line.offset)
               && readXorBits(in, count, out, line);
    } else if (kind == XorPrevious || kind == BitsDelta || kind == BitsDeltaOfDelta) {
        read = readResiduals(in, count, out, {Kind(kind), Line{}});
    } else if (kind == XorLine && values) {
        Line line{0.0, 0.0, values};
        read = readDouble(in, line.slope) && readDouble(in, line.offset)
               && readResiduals(in, count, out, {XorLine, line});
    } else if (kind == PackedResiduals) {
        read = readPacked(in, count, out, values);
    }
    return read && in.atEnd();
}

struct Layout
{
    int count = 0;
    Reader times{nullptr, nullptr};
    Reader values{nullptr, nullptr};
    Reader analogValues{nullptr, nullptr};
};

std::optional<Layout> readLayout(const std::vector<std::uint8_t> &bytes)
{
    Reader in(bytes.data(), bytes.data() + bytes.size());
    std::uint64_t count = 0;
    std::uint64_t timesLength = 0;
    std::uint64_t valuesLength = 0;
    Layout layout;
    if (!in.varint(count) || count == 0 || count > std::uint64_t(SampleBlock::maxSamples)
        || !in.varint(timesLength) || !in.varint(valuesLength)
        || !in.skip(timesLength, layout.times) || !in.skip(valuesLength, layout.values))
        return std::nullopt;
    layout.count = int(count);
    layout.analogValues = in;
    return layout;
}

} // namespace

SampleBlock::SampleBlock(std::vector<std::uint8_t> bytes, int count, double firstTime,
                         double lastTime)
    : m_bytes(std::move(bytes))
    , m_count(count)
    , m_firstTime(firstTime)
    , m_lastTime(lastTime)
{
}

SampleBlock SampleBlock::encode(const double *times, const double *values,
                                const double *analogValues, int count)
{
    std::vector<std::int64_t> integers;
    std::vector<std::uint8_t> timesPart;
    std::vector<std::uint8_t> valuesPart;
    timesPart.reserve(size_t(count) * 2 + 16);
    valuesPart.reserve(size_t(count) * 2 + 16);
    putColumn(timesPart, times, count, ScaledDeltaOfDelta, integers);
    putColumn(valuesPart, values, count, ScaledDelta, integers);

    std::vector<std::uint8_t> bytes;
    bytes.reserve(timesPart.size() + valuesPart.size() + size_t(count) * 2 + 32);
    putVarint(bytes, std::uint64_t(count));
    putVarint(bytes, timesPart.size());
    putVarint(bytes, valuesPart.size());
    bytes.insert(bytes.end(), timesPart.cbegin(), timesPart.cend());
    bytes.insert(bytes.end(), valuesPart.cbegin(), valuesPart.cend());
    const Line line = lineOf(values, analogValues, count);
    putColumn(bytes, analogValues, count, ScaledDelta, integers, &line);
    bytes.shrink_to_fit();
    return SampleBlock(std::move(bytes), count, times[0], times[count - 1]);
}

std::optional<SampleBlock> SampleBlock::fromBytes(std::vector<std::uint8_t> bytes,
                                                  Extremes *extremes)
{
    const std::optional<Layout> layout = readLayout(bytes);
    if (!layout)
        return std::nullopt;
    const int count = layout->count;
    // Opening a history checks a block at a time; only what it keeps is allocated.
    thread_local std::vector<double> decoded;
    decoded.resize(3 * size_t(SampleBlock::maxSamples));
    double *const times = decoded.data();
    double *const values = times + count;
    double *const analogValues = values + count;
    if (!readColumn(layout->times, count, times) || !readColumn(layout->values, count, values)
        || !readColumn(layout->analogValues, count, analogValues, values))
        return std::nullopt;
    const auto isNan = [](double time) { return std::isnan(time); };
    if (std::any_of(times, times + count, isNan) || !std::is_sorted(times, times + count))
        return std::nullopt;
    if (extremes)
        *extremes = Extremes::of(times, values, count, 0);
    return SampleBlock(std::move(bytes), count, times[0], times[count - 1]);
}

int SampleBlock::size() const
{
    return m_count;
}

double SampleBlock::firstTime() const
{
    return m_firstTime;
}

double SampleBlock::lastTime() const
{
    return m_lastTime;
}

const std::vector<std::uint8_t> &SampleBlock::bytes() const
{
    return m_bytes;
}

// Only blocks that decoded completely exist, so the reads cannot fail here.
void SampleBlock::decode(double *times, double *values, double *analogValues) const
{
    const Layout layout = *readLayout(m_bytes);
    if (times)
        readColumn(layout.times, m_count, times);
    std::array<double, maxSamples> ownValues;
    if (analogValues && !values)
        values = ownValues.data();
    if (values)
        readColumn(layout.values, m_count, values);
    if (analogValues)
        readColumn(layout.analogValues, m_count, analogValues, values);
}

} // namespace Utils
