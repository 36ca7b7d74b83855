#include <utils/columnreduction.h>
#include <utils/genericchart.h>
#include <utils/historycursor.h>
#include <utils/historytext.h>
#include <utils/samplerun.h>
#include <utils/sampleseries.h>
#include <utils/sampleblock.h>
#include <utils/valueovertime.h>

#include <qwt_plot.h>
#include <qwt_plot_curve.h>

#include <QMainWindow>
#include <QPainter>
#include <QtTest>

#include <rapidcheck.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <random>

using Utils::Extremes;
using Utils::HistoryCursor;
using Utils::Sample;
using Utils::SampleBlock;
using Utils::ValueOverTime;
using Utils::Charts::GenericChart;
using Doubles = std::vector<double>;

namespace {

constexpr double Start = 1.7e12;
// Enough samples that the blocks and the pyramid's lowest level span two chunks of storage.
constexpr int moreBlocksThanAChunk
    = int(Utils::ChunkedVector<SampleBlock>::chunkSize) * ValueOverTime::blockSize + 7;

// Raw engine output only: the standard distributions differ between libraries.
class Noise
{
public:
    explicit Noise(std::uint32_t seed)
        : m_engine(seed)
    {
    }
    double unit() { return double(m_engine()) / double(std::mt19937::max()); }
    std::uint32_t bits() { return std::uint32_t(m_engine()); }

private:
    std::mt19937 m_engine;
};

// A poll-like history: 65 ms apart with a few milliseconds of jitter, sensor-like values
// (thousandths of a bar) wandering with rare spikes.
ValueOverTime polledHistory(int count, std::uint32_t seed)
{
    Noise noise(seed);
    ValueOverTime history;
    double level = 5000.0;
    for (int i = 0; i < count; ++i) {
        level += std::round((noise.unit() - 0.5) * 40.0);
        const double spike = noise.bits() % 5000 == 0 ? 3000.0 : 0.0;
        history.append(Start + 65.0 * i + double(noise.bits() % 4), (level + spike) / 1000.0,
                       4.0 + level / 1000.0);
    }
    return history;
}

// Times and values that are no short decimals, with a gap and a stretch of NaN.
ValueOverTime irregularHistory(int count, std::uint32_t seed)
{
    Noise noise(seed);
    ValueOverTime history;
    double time = Start;
    for (int i = 0; i < count; ++i) {
        time += i == count / 3 ? 600000.0 : 10.0 + noise.unit() * 90.0;
        const bool gap = i > count / 2 && i < count / 2 + 40;
        const double value = gap ? std::numeric_limits<double>::quiet_NaN()
                                 : std::sin(i / 3000.0) * 3.0 + noise.unit();
        history.append(time, value, value / 7.0);
    }
    return history;
}

using HistoryMaker = std::function<ValueOverTime()>;

double fromBits(std::uint64_t bits)
{
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool sameBits(const Doubles &a, const Doubles &b)
{
    return a.size() == b.size()
           && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

bool sameBits(const Sample &a, const Sample &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Every stored column as it decodes.
struct Columns
{
    Doubles times;
    Doubles values;
    Doubles analogValues;
};

Columns decoded(const SampleBlock &block)
{
    Columns columns{Doubles(size_t(block.size())), Doubles(size_t(block.size())),
                    Doubles(size_t(block.size()))};
    block.decode(columns.times.data(), columns.values.data(), columns.analogValues.data());
    return columns;
}

ValueOverTime appended(const Columns &columns)
{
    ValueOverTime history;
    for (size_t i = 0; i < columns.times.size(); ++i)
        history.append(columns.times[i], columns.values[i], columns.analogValues[i]);
    return history;
}

// Sorted time stamps 65 ms apart plus up to `jitter` ms, from Start.
Doubles pollTimes(int count, int jitter, std::uint32_t seed)
{
    Noise noise(seed);
    Doubles times;
    for (int i = 0; i < count; ++i)
        times.push_back(Start + 65.0 * i + (jitter > 0 ? double(noise.bits() % std::uint32_t(jitter)) : 0.0));
    return times;
}

// Values from a handful of levels, so that ties are common, with NaN now and then.
Doubles tiedValues(int count, std::uint32_t seed, bool withNan)
{
    Noise noise(seed);
    Doubles values;
    for (int i = 0; i < count; ++i) {
        const std::uint32_t bits = noise.bits();
        values.push_back(withNan && bits % 97 == 0 ? std::numeric_limits<double>::quiet_NaN()
                                                   : double(bits % 9) - 4.0);
    }
    return values;
}

// The lowest and highest of [begin, end) by a plain scan: the first of equal ones, NaN left out.
Extremes scanned(const Doubles &values, int begin, int end)
{
    Extremes result;
    for (int i = begin; i < end; ++i) {
        const double value = values[size_t(i)];
        if (std::isnan(value))
            continue;
        if (result.minIndex < 0 || value < values[size_t(result.minIndex)])
            result.minIndex = i;
        if (result.maxIndex < 0 || value > values[size_t(result.maxIndex)])
            result.maxIndex = i;
    }
    return result;
}

// The column reduction as the chart first drew it, over plain arrays: what the pyramid must give.
std::vector<QPointF> scannedColumns(const Doubles &times, const Doubles &values, int begin,
                                    int end, double from, double to, int columns)
{
    std::vector<QPointF> out;
    const double width = (to - from) / columns;
    int first = begin;
    while (first < end) {
        const double column
            = std::clamp(std::floor((times[size_t(first)] - from) / width), 0.0, double(columns - 1));
        const double columnEnd = column + 1 >= columns ? std::numeric_limits<double>::infinity()
                                                       : from + (column + 1) * width;
        const int next = std::max(
            first + 1,
            int(std::lower_bound(times.begin() + first, times.begin() + end, columnEnd)
                - times.begin()));
        int lowest = first;
        int highest = first;
        for (int i = first + 1; i < next; ++i) {
            if (values[size_t(i)] < values[size_t(lowest)])
                lowest = i;
            if (values[size_t(i)] > values[size_t(highest)])
                highest = i;
        }
        std::array<int, 4> picked{first, lowest, highest, next - 1};
        std::sort(picked.begin(), picked.end());
        const auto unique = std::unique(picked.begin(), picked.end());
        for (auto it = picked.begin(); it != unique; ++it)
            out.emplace_back(times[size_t(*it)], values[size_t(*it)]);
        first = next;
    }
    return out;
}

// Where the points of `shown` first differ, bit for bit, from those of a curve that never saw an
// earlier view: -1 when nowhere.
long firstDifferenceFromAFreshLook(const Utils::Charts::SampleSeries &shown,
                                   const ValueOverTime &history, int columns, const QRectF &view)
{
    Utils::Charts::SampleSeries fresh(&history);
    fresh.setColumns(columns);
    fresh.setRectOfInterest(view);
    const size_t common = std::min(shown.size(), fresh.size());
    for (size_t i = 0; i < common; ++i) {
        const QPointF expected = fresh.sample(i);
        const QPointF found = shown.sample(i);
        if (std::memcmp(&expected, &found, sizeof(QPointF)) != 0)
            return long(i);
    }
    return shown.size() == fresh.size() ? -1 : long(common);
}

} // namespace

Q_DECLARE_METATYPE(HistoryMaker)
Q_DECLARE_METATYPE(Doubles)
using Damage = std::function<void(std::vector<std::uint8_t> &)>;
Q_DECLARE_METATYPE(Damage)

class tst_History : public QObject
{
    Q_OBJECT

private slots:
    void blockGivesBackEveryBit_data();
    void blockGivesBackEveryBit();
    void blockOfAnEarlierWriterDecodes_data();
    void blockOfAnEarlierWriterDecodes();
    void damagedBlockBytesAreRefused_data();
    void damagedBlockBytesAreRefused();
    void appendsAcrossBlockBoundariesKeepEverySample_data();
    void appendsAcrossBlockBoundariesKeepEverySample();
    void extremesOfAnyRunMatchAScan_data();
    void extremesOfAnyRunMatchAScan();
    void columnsFromThePyramidOrKeptSamplesMatchAScan_data();
    void columnsFromThePyramidOrKeptSamplesMatchAScan();
    void curvePixelsStayTheSameForAGivenHistory_data();
    void curvePixelsStayTheSameForAGivenHistory();
    void curvePointsOfAMovingViewMatchAFreshLook_data();
    void curvePointsOfAMovingViewMatchAFreshLook();
    void curvePointsOfAnyViewSequenceMatchAFreshLook();
};

void tst_History::blockGivesBackEveryBit_data()
{
    QTest::addColumn<Doubles>("times");
    QTest::addColumn<Doubles>("values");
    QTest::addColumn<Doubles>("analogValues");

    const double inf = std::numeric_limits<double>::infinity();
    const Doubles special{fromBits(0x7ff8000000000000), fromBits(0x7ff0000000000001),
                          fromBits(0xfff8000000000123), -0.0, 0.0, inf, -inf,
                          fromBits(1), std::numeric_limits<double>::max(),
                          std::numeric_limits<double>::lowest(), 1e-310, 2.5};
    Doubles reversed(special.rbegin(), special.rend());
    QTest::newRow("NaN payloads, signed zeros, infinities, subnormals")
        << pollTimes(int(special.size()), 0, 1) << special << reversed;

    Noise noise(2);
    Doubles divided, multiplied, large, randomBits, slow;
    for (int i = 0; i < 256; ++i) {
        const int device = int(noise.bits() % 20001) - 10000;
        divided.push_back(device / 1000.0);
        multiplied.push_back(device * 0.1);
        large.push_back((i % 2 ? -1.0 : 1.0) * (9.0e15 - double(noise.bits() % 3)) + i % 3 * 4.0e15);
        randomBits.push_back(fromBits(std::uint64_t(noise.bits()) << 32 | noise.bits()));
        slow.push_back(int(5000 + 4500 * std::sin(i / 60.0)) / 1000.0);
    }
    QTest::newRow("short decimals") << pollTimes(256, 4, 3) << divided << multiplied;
    QTest::newRow("integers at and past the exact limit")
        << pollTimes(256, 4, 4) << large << Doubles(256, 9007199254740994.0);
    QTest::newRow("random bits") << pollTimes(256, 4, 5) << randomBits << divided;
    Doubles line;
    for (const double value : divided)
        line.push_back(std::clamp(12.0 + value * 1.6, 4.0, 20.0));
    line[17] = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("analog values on a clamped line") << pollTimes(256, 4, 6) << divided << line;

    Doubles fractionalTimes;
    for (int i = 0; i < 256; ++i)
        fractionalTimes.push_back(Start + i * 65.3 + (i == 7 ? 1e6 : 0.0) * (i > 7));
    QTest::newRow("time stamps that are no whole milliseconds")
        << fractionalTimes << slow << Doubles(256, 12.0);
    QTest::newRow("a single sample") << Doubles{-Start} << Doubles{-0.0} << Doubles{inf};
    Doubles longTimes = pollTimes(SampleBlock::maxSamples, 2, 6);
    QTest::newRow("the largest block")
        << longTimes << Doubles(longTimes.size(), 0.125) << Doubles(longTimes.size(), -4.0);
}

void tst_History::blockGivesBackEveryBit()
{
    QFETCH(Doubles, times);
    QFETCH(Doubles, values);
    QFETCH(Doubles, analogValues);

    const SampleBlock block
        = SampleBlock::encode(times.data(), values.data(), analogValues.data(), int(times.size()));
    QCOMPARE(block.size(), int(times.size()));
    QCOMPARE(block.firstTime(), times.front());
    QCOMPARE(block.lastTime(), times.back());
    for (const SampleBlock &candidate : {block, *SampleBlock::fromBytes(block.bytes())}) {
        const Columns columns = decoded(candidate);
        QVERIFY(sameBits(columns.times, times));
        QVERIFY(sameBits(columns.values, values));
        QVERIFY(sameBits(columns.analogValues, analogValues));
    }
}

void tst_History::blockOfAnEarlierWriterDecodes_data()
{
    QTest::addColumn<QByteArray>("hex");
    QTest::addColumn<Doubles>("values");
    QTest::addColumn<Doubles>("analogValues");

    // The first time step among the packed second differences, widening them to 8 bits.
    QTest::newRow("short decimals")
        << QByteArray("05110f0200d00f0884000506000000000000000001010a0644008c000000000000000001"
                      "000e0420b20000000000000000")
        << Doubles{0.5, 0.7, 0.6, 0.6, -1.2} << Doubles{7.0, 7.0, 8.0, 9.0, 3.0};
    // A control byte per sample, the analog values on their line.
    const Doubles other{0.1 + 0.2, 1 / 3.0, -2 / 7.0, 1e300, 1 / 3.0};
    Doubles halves;
    for (const double value : other)
        halves.push_back(value / 2.0);
    QTest::newRow("no short decimals")
        << QByteArray("05112d0500d00f840103a80100000000000000000380343333333333d33f886166666666"
                      "660680c7711cc7711c0780800e51491a18ade5c180c92055dd69b1e24104000000000000"
                      "e03f00000000000000004040404040")
        << other << halves;
    // Window bytes per residual; one analog value repeats its predecessor off the line.
    const Doubles thirds{0.1 + 0.2, 1 / 3.0, 2 / 3.0, 1 / 7.0, 1 / 3.0 + 1e-9};
    const Doubles onLine{0.7000000000000001, 0.75, 1.25, 1.25, std::fma(1.5, thirds[4], 0.25)};
    QTest::newRow("residuals in byte windows")
        << QByteArray("0511250500d00f840103a801000000000000000006a60100343333333333d33f61666666"
                      "66660600163010c7711cc7711c27861221c4711c1706260200676666666666e63f676666"
                      "6666660e00161c108f28ce0000001c")
        << thirds << onLine;
    // Two and three widths, one of them zero, some wider than a single load.
    QTest::newRow("residuals packed to the bit")
        << QByteArray("0511290500d00f840103a80100000000000000000a0602363e696666666666a67f616666"
                      "66666606000000000000d8711cc7711cc7c9502284388ee3020a060300353e9e99999999"
                      "9999ff9d9999999999b9000000000000383da23803000070")
        << thirds << onLine;
}

// Saved histories hold blocks as they were written.
void tst_History::blockOfAnEarlierWriterDecodes()
{
    QFETCH(QByteArray, hex);
    QFETCH(Doubles, values);
    QFETCH(Doubles, analogValues);

    const QByteArray bytes = QByteArray::fromHex(hex);
    const std::optional<SampleBlock> block
        = SampleBlock::fromBytes(std::vector<std::uint8_t>(bytes.cbegin(), bytes.cend()));
    QVERIFY(block);
    const Columns columns = decoded(*block);
    QVERIFY(sameBits(columns.times, {1000.0, 1066.0, 1132.0, 1195.0, 1261.0}));
    QVERIFY(sameBits(columns.values, values));
    QVERIFY(sameBits(columns.analogValues, analogValues));
}

void tst_History::damagedBlockBytesAreRefused_data()
{
    QTest::addColumn<Doubles>("times");
    QTest::addColumn<Damage>("damage");

    // Ten samples: the count and both column lengths take a byte each, then the time column.
    const Doubles sorted = pollTimes(10, 4, 7);
    const Damage none = [](std::vector<std::uint8_t> &) {};
    QTest::newRow("no bytes") << sorted << Damage([](auto &bytes) { bytes.clear(); });
    QTest::newRow("one byte short") << sorted << Damage([](auto &bytes) { bytes.pop_back(); });
    QTest::newRow("a byte too many") << sorted << Damage([](auto &bytes) { bytes.push_back(0); });
    QTest::newRow("no samples") << sorted << Damage([](auto &bytes) { bytes[0] = 0; });
    QTest::newRow("more samples than a block holds") << sorted << Damage([](auto &bytes) {
        bytes[0] = 0x81;
        bytes.insert(bytes.begin() + 1, 0x20); // 4097
    });
    QTest::newRow("a column of unknown kind") << sorted << Damage([](auto &bytes) { bytes[3] = 9; });
    QTest::newRow("a scale of too many decimals")
        << sorted << Damage([](auto &bytes) { bytes[4] = 10; });
    QTest::newRow("time stamps out of order") << Doubles(sorted.rbegin(), sorted.rend()) << none;
    Doubles withNan = sorted;
    withNan.back() = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("a time stamp that is NaN") << withNan << none;
}

void tst_History::damagedBlockBytesAreRefused()
{
    QFETCH(Doubles, times);
    QFETCH(Damage, damage);

    const Doubles values(times.size(), 1 / 3.0);
    std::vector<std::uint8_t> bytes
        = SampleBlock::encode(times.data(), values.data(), values.data(), int(times.size())).bytes();
    damage(bytes);
    QVERIFY(!SampleBlock::fromBytes(bytes));
}

void tst_History::appendsAcrossBlockBoundariesKeepEverySample_data()
{
    QTest::addColumn<int>("count");
    for (const int count : {1, 255, 256, 257, 511, 512, 513, 3 * 256 + 7, moreBlocksThanAChunk})
        QTest::addRow("%d samples", count) << count;
}

void tst_History::appendsAcrossBlockBoundariesKeepEverySample()
{
    QFETCH(int, count);

    Noise noise{std::uint32_t(count)};
    const Columns columns{pollTimes(count, 4, 8), tiedValues(count, 9, true), [&] {
                              Doubles bits;
                              for (int i = 0; i < count; ++i)
                                  bits.push_back(fromBits(std::uint64_t(noise.bits()) << 20));
                              return bits;
                          }()};
    ValueOverTime history = appended(columns);
    QCOMPARE(history.size(), count);
    HistoryCursor cursor(history);
    // Backwards as well, so that the cursor leaves and re-enters blocks.
    for (const bool backwards : {false, true}) {
        for (int n = 0; n < count; ++n) {
            const int i = backwards ? count - 1 - n : n;
            const Sample expected{columns.times[size_t(i)], columns.values[size_t(i)],
                                  columns.analogValues[size_t(i)]};
            QVERIFY(sameBits(history.sample(i), expected));
            QVERIFY(sameBits(Sample{cursor.time(i), cursor.value(i), cursor.analogValue(i)},
                             expected));
        }
    }

    for (int probe = -1; probe <= count; ++probe) {
        const double time = probe < 0 ? Start - 1.0
                            : probe == count ? columns.times.back() + 1.0
                                             : columns.times[size_t(probe)] - 0.5 * (probe % 2);
        const int begin = int(noise.bits() % std::uint32_t(count));
        const int end = begin + int(noise.bits() % std::uint32_t(count - begin + 1));
        const auto at = [&](int from, int to) {
            return int(std::lower_bound(columns.times.begin() + from, columns.times.begin() + to,
                                        time)
                       - columns.times.begin());
        };
        QCOMPARE(history.indexAtOrAfter(time), at(0, count));
        QCOMPARE(cursor.indexAtOrAfter(time, begin, end), at(begin, end));
    }

    // A clock set back stays at the newest time stamp, also when the sample opens a block.
    history.append(Start - 1000.0, 1.0, 2.0);
    QCOMPARE(history.sample(count).time, columns.times.back());
    history.clear();
    QCOMPARE(history.size(), 0);
    QCOMPARE(history.memoryBytes(), size_t(0));
}

void tst_History::extremesOfAnyRunMatchAScan_data()
{
    QTest::addColumn<Doubles>("values");
    QTest::addColumn<bool>("readBack"); // from the history's text, whose blocks are only checked
    QTest::newRow("ties") << tiedValues(5000, 10, false) << false;
    QTest::newRow("ties and NaN") << tiedValues(5000, 11, true) << false;
    QTest::newRow("ties and NaN, read back") << tiedValues(5000, 11, true) << true;
    Doubles stretch = tiedValues(5000, 12, false);
    std::fill(stretch.begin() + 700, stretch.begin() + 1900, std::numeric_limits<double>::quiet_NaN());
    QTest::newRow("blocks of NaN only") << stretch << false;
    QTest::newRow("blocks of NaN only, read back") << stretch << true;
    QTest::newRow("more blocks than a chunk holds") << tiedValues(moreBlocksThanAChunk, 14, true)
                                                    << false;
}

void tst_History::extremesOfAnyRunMatchAScan()
{
    QFETCH(Doubles, values);
    QFETCH(bool, readBack);

    const int count = int(values.size());
    ValueOverTime history = appended({pollTimes(count, 0, 0), values, Doubles(values.size())});
    if (readBack)
        QVERIFY(Utils::Charts::historyFromText(Utils::Charts::historyToText(history), ';', history));
    HistoryCursor cursor(history);
    Noise noise(13);
    for (int run = 0; run < 400; ++run) {
        const int begin = run == 0 ? 0 : int(noise.bits() % std::uint32_t(count));
        const int end = run == 0 ? count : begin + int(noise.bits() % std::uint32_t(count - begin + 1));
        const Extremes expected = scanned(values, begin, end);
        const Extremes found = cursor.extremes(begin, end);
        QCOMPARE(found.minIndex, expected.minIndex);
        QCOMPARE(found.maxIndex, expected.maxIndex);
        if (found.minIndex >= 0) {
            QCOMPARE(found.minValue, values[size_t(found.minIndex)]);
            QCOMPARE(found.maxValue, values[size_t(found.maxIndex)]);
            QCOMPARE(found.minTime, history.sample(found.minIndex).time);
            QCOMPARE(found.maxTime, history.sample(found.maxIndex).time);
        }
    }
}

void tst_History::columnsFromThePyramidOrKeptSamplesMatchAScan_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<double>("fromPart"); // of the time span, where the view starts and ends
    QTest::addColumn<double>("toPart");
    QTest::addColumn<bool>("withNan");

    QTest::newRow("whole history, few columns") << 7 << 0.0 << 1.0 << false;
    QTest::newRow("whole history, a canvas wide") << 733 << 0.0 << 1.0 << false;
    QTest::newRow("whole history with NaN") << 97 << 0.0 << 1.0 << true;
    QTest::newRow("a zoomed stretch") << 300 << 0.31 << 0.42 << true;
    QTest::newRow("a view past the newest samples") << 50 << 0.9 << 1.3 << false;
    QTest::newRow("more columns than samples in view") << 1000 << 0.5 << 0.51 << true;
}

void tst_History::columnsFromThePyramidOrKeptSamplesMatchAScan()
{
    QFETCH(int, columns);
    QFETCH(double, fromPart);
    QFETCH(double, toPart);
    QFETCH(bool, withNan);

    const int count = 40000;
    const Doubles times = pollTimes(count, 30, 14);
    const Doubles values = tiedValues(count, 15, withNan);
    const ValueOverTime history = appended({times, values, Doubles(values.size())});
    const double span = times.back() - times.front();
    const double from = times.front() + span * fromPart;
    const double to = times.front() + span * toPart;
    const int begin = int(std::lower_bound(times.begin(), times.end(), from) - times.begin());
    const int end = int(std::upper_bound(times.begin(), times.end(), to) - times.begin());

    HistoryCursor cursor(history);
    std::vector<QPointF> reduced;
    Utils::Charts::reduceToColumns(cursor, begin, end, from, to, columns, reduced);
    const std::vector<QPointF> expected = scannedColumns(times, values, begin, end, from, to, columns);
    QCOMPARE(reduced.size(), expected.size());
    QVERIFY(std::memcmp(reduced.data(), expected.data(), reduced.size() * sizeof(QPointF)) == 0);

    // Kept with a few more on both sides, as a curve keeps its neighbours.
    Utils::Charts::SampleRun kept;
    kept.take(cursor, std::max(begin - 3, 0), std::min(end + 3, count));
    reduced.clear();
    Utils::Charts::reduceToColumns(kept, begin, end, from, to, columns, reduced);
    QCOMPARE(reduced.size(), expected.size());
    QVERIFY(std::memcmp(reduced.data(), expected.data(), reduced.size() * sizeof(QPointF)) == 0);
}

void tst_History::curvePixelsStayTheSameForAGivenHistory_data()
{
    QTest::addColumn<HistoryMaker>("makeHistory");
    QTest::addColumn<double>("seconds"); // the time window, ending at the newest sample
    QTest::addColumn<QString>("reference");

    const HistoryMaker polled = [] { return polledHistory(300000, 7); };
    const HistoryMaker irregular = [] { return irregularHistory(120000, 11); };
    QTest::newRow("polled, whole history") << polled << 300000 * 0.066 << "polled-whole.png";
    QTest::newRow("polled, a tenth") << polled << 2000.0 << "polled-tenth.png";
    QTest::newRow("polled, newest minute") << polled << 60.0 << "polled-minute.png";
    QTest::newRow("irregular, whole history") << irregular << 7000.0 << "irregular-whole.png";
    QTest::newRow("irregular, newest hour") << irregular << 3600.0 << "irregular-hour.png";
}

// Drawn as the window draws it, but only the curve: axis texts depend on the time zone.
void tst_History::curvePixelsStayTheSameForAGivenHistory()
{
    QFETCH(HistoryMaker, makeHistory);
    QFETCH(double, seconds);
    QFETCH(QString, reference);

    QMainWindow window;
    GenericChart chart(1, nullptr, &window);
    window.setCentralWidget(new QWidget);
    window.resize(1000, 500);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    chart.setData(0, makeHistory());
    chart.setTimelineScale(0.0, seconds);
    chart.setScale(0, -5.0, 10.0);
    chart.jumpToPlottingArea();

    QwtPlot *plot = chart.poPlot(0);
    const QwtPlotItemList curves = plot->itemList(QwtPlotItem::Rtti_PlotCurve);
    QCOMPARE(curves.size(), 1);
    const QRect canvas = plot->canvas()->contentsRect();
    QImage image(canvas.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        curves.first()->draw(&painter, plot->canvasMap(QwtPlot::xBottom),
                             plot->canvasMap(QwtPlot::yLeft), QRectF(QPointF(0, 0), canvas.size()));
    }
    const QString path = QStringLiteral(KR7D_TEST_DATA_DIR "/") + reference;
    const QImage expected = QImage(path).convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(!expected.isNull(), qPrintable(path));
    QCOMPARE(image, expected);
}

void tst_History::curvePointsOfAMovingViewMatchAFreshLook_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("otherColumns"); // on every fifth view
    QTest::addColumn<int>("arriving");     // fewer new samples than this before each view
    QTest::addColumn<double>("backMs");    // how far every third view lies behind the newest sample
    QTest::addColumn<int>("replacedAt");   // the view before which the history is replaced; or -1

    // A view holds about 310 samples.
    QTest::newRow("following the newest samples") << 800 << 800 << 12 << 0.0 << -1;
    QTest::newRow("panned back and forth") << 800 << 800 << 12 << 7000.0 << -1;
    QTest::newRow("more samples in view than columns hold, then fewer") << 70 << 70 << 12 << 19000.0
                                                                        << -1;
    QTest::newRow("reduced, moving on less than a column") << 40 << 40 << 3 << 0.0 << -1;
    QTest::newRow("reduced, moving on several columns") << 40 << 40 << 60 << 0.0 << -1;
    QTest::newRow("reduced, jumping back") << 40 << 40 << 12 << 7000.0 << -1;
    QTest::newRow("reduced, jumping back and on by more than a view") << 40 << 40 << 12 << 30000.0
                                                                      << -1;
    QTest::newRow("reduced, now and then ahead of the newest samples") << 40 << 40 << 12
                                                                      << -15000.0 << -1;
    QTest::newRow("reduced, the column count changing") << 40 << 33 << 12 << 0.0 << -1;
    QTest::newRow("reduced, then shown as they are") << 40 << 90 << 12 << 0.0 << -1;
    QTest::newRow("samples per column about as many as shown") << 78 << 77 << 12 << 0.0 << -1;
    QTest::newRow("samples per column about as many as kept") << 20 << 19 << 12 << 0.0 << -1;
    QTest::newRow("history replaced by one a little longer") << 40 << 40 << 12 << 0.0 << 100;
    QTest::newRow("history replaced, shown as they are") << 800 << 800 << 12 << 0.0 << 100;
}

// Samples arrive a few at a time, as polls bring them, and the curve is asked for a 20 s view
// after each: what it shows must be what a curve that never saw an earlier view shows.
void tst_History::curvePointsOfAMovingViewMatchAFreshLook()
{
    QFETCH(int, columns);
    QFETCH(int, otherColumns);
    QFETCH(int, arriving);
    QFETCH(double, backMs);
    QFETCH(int, replacedAt);
    ValueOverTime history;
    Utils::Charts::SampleSeries moving(&history);
    Noise noise(17);
    double time = Start;
    const auto poll = [&] {
        time += 60.0 + double(noise.bits() % 10);
        history.append(time, noise.unit(), 0.0);
    };
    for (int step = 0; step < 150; ++step) {
        if (step == replacedAt) {
            // As opening a history file does: the same times, other values, a few more.
            const int count = history.size() + 5;
            history.clear();
            moving.reset();
            time = Start;
            for (int i = 0; i < count; ++i)
                poll();
        }
        for (int i = int(noise.bits() % std::uint32_t(arriving)); i > 0; --i)
            poll();
        const int viewColumns = step % 5 == 4 ? otherColumns : columns;
        const double to = time - (step % 3 == 2 ? backMs : 0.0);
        const QRectF view(QPointF(to - 20000.0, -1.0), QPointF(to, 2.0));
        moving.setColumns(viewColumns);
        moving.setRectOfInterest(view);
        const long differs = firstDifferenceFromAFreshLook(moving, history, viewColumns, view);
        QVERIFY2(differs < 0, qPrintable(QStringLiteral("step %1, point %2").arg(step).arg(differs)));
    }
}

// Polls with equal time stamps and NaN among them, views anywhere and of any width, column
// counts and replaced histories in any order.
void tst_History::curvePointsOfAnyViewSequenceMatchAFreshLook()
{
    // A fixed run by default; RC_PARAMS asks for another.
    if (qEnvironmentVariableIsEmpty("RC_PARAMS"))
        qputenv("RC_PARAMS", "seed=23 max_success=300");
    const bool held = rc::check("a moving curve shows what a fresh one shows", [] {
        ValueOverTime history;
        Utils::Charts::SampleSeries moving(&history);
        Noise noise(*rc::gen::arbitrary<std::uint32_t>());
        double time = Start;
        const auto poll = [&](int count) {
            for (; count > 0; --count) {
                time += double(noise.bits() % 150);
                const std::uint32_t bits = noise.bits();
                history.append(time, bits % 50 == 0 ? std::nan("") : double(bits % 9), 0.0);
            }
        };
        const int steps = *rc::gen::inRange(1, 40);
        for (int step = 0; step < steps; ++step) {
            const int what = *rc::gen::inRange(0, 8);
            if (what < 3) {
                poll(*rc::gen::inRange(0, 300));
            } else if (what == 7) {
                const int count = *rc::gen::inRange(0, history.size() + 20);
                history.clear();
                moving.reset();
                time = Start;
                poll(count);
            } else {
                const int columns = *rc::gen::inRange(1, 120);
                const double to = time + *rc::gen::inRange(-40000, 5000);
                const QRectF view(QPointF(to - *rc::gen::inRange(0, 30000), -1.0),
                                  QPointF(to, 1.0));
                moving.setColumns(columns);
                moving.setRectOfInterest(view);
                RC_ASSERT(firstDifferenceFromAFreshLook(moving, history, columns, view) == -1L);
            }
        }
    });
    QVERIFY(held);
}

QTEST_MAIN(tst_History)
#include "tst_history.moc"
