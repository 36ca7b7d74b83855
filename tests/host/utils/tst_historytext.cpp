#include <utils/genericchart.h>
#include <utils/historytext.h>
#include <utils/valueovertime.h>

#include <QMainWindow>
#include <QtEndian>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using Utils::ValueOverTime;
using Utils::Charts::GenericChart;
using Utils::Charts::historyFromText;
using Utils::Charts::historyToText;

Q_DECLARE_METATYPE(std::vector<double>)

namespace {

using Doubles = std::vector<double>;

bool sameBits(const ValueOverTime &a, const ValueOverTime &b)
{
    const auto same = [&a](const double *x, const double *y) {
        return a.size() == 0 || std::memcmp(x, y, size_t(a.size()) * sizeof(double)) == 0;
    };
    return a.size() == b.size() && same(a.pxData(), b.pxData()) && same(a.pyData(), b.pyData())
           && same(a.pAnalogData(), b.pAnalogData());
}

ValueOverTime history(Doubles times, Doubles values, Doubles analog)
{
    ValueOverTime result;
    if (!result.assign(std::move(times), std::move(values), std::move(analog)))
        qFatal("test history rejected");
    return result;
}

// A base64 block of little-endian doubles, written independently of the
// library so that texts it would never produce can be built.
std::string block(const Doubles &values)
{
    QByteArray raw(int(values.size() * sizeof(double)), Qt::Uninitialized);
    for (size_t i = 0; i < values.size(); ++i)
        qToLittleEndian(values[i], raw.data() + i * sizeof(double));
    return raw.toBase64().toStdString();
}

std::string text(const std::string &count, const Doubles &times, const Doubles &values,
                 const Doubles &analog, char separator = ';')
{
    const std::string s(1, separator);
    return "h1" + s + count + s + block(times) + s + block(values) + s + block(analog);
}

// The packed form around hand-made arrays: per array a scale byte, then per
// sample a varint token (zigzag delta << 2, or 1 + raw bits, or 2 = back
// reference).
std::string packed(const std::string &count, const QByteArray &arrays)
{
    return "h2;" + count + ";" + qCompress(arrays).toBase64().toStdString();
}

// Times 1, 2; values 3, 4; analog 5, 6; all whole numbers.
const QByteArray wholeNumbers = QByteArray::fromHex("000808 001808 002808");

// What a load replaces, or keeps when the text is refused.
ValueOverTime reference()
{
    return history({1.0e12, 1.0e12 + 65.0}, {1.5, -2.25}, {4.0, 20.0});
}

} // namespace

class tst_HistoryText : public QObject
{
    Q_OBJECT

private slots:
    void roundTripKeepsEveryBit_data();
    void roundTripKeepsEveryBit();
    void handMadeTextLoadsOnlyWhenWellFormed_data();
    void handMadeTextLoadsOnlyWhenWellFormed();
    void chartLoadsOnlyIntoTheAskedPlot();
};

void tst_HistoryText::roundTripKeepsEveryBit_data()
{
    QTest::addColumn<Doubles>("times");
    QTest::addColumn<Doubles>("values");
    QTest::addColumn<Doubles>("analog");
    QTest::addColumn<int>("maxBytes"); // 0: any size

    const double quietNan = std::numeric_limits<double>::quiet_NaN();
    double payloadNan;
    const quint64 payloadBits = 0x7ff8dead0000beefULL;
    std::memcpy(&payloadNan, &payloadBits, sizeof payloadNan);

    QTest::newRow("empty history") << Doubles{} << Doubles{} << Doubles{} << 0;
    QTest::newRow("NaN values keep their payload")
        << Doubles{1.0, 2.0, 3.0} << Doubles{quietNan, -quietNan, payloadNan}
        << Doubles{payloadNan, 0.0, quietNan} << 0;
    QTest::newRow("negative zero stays negative")
        << Doubles{-0.0, 0.0} << Doubles{-0.0, 0.0} << Doubles{0.0, -0.0} << 0;
    QTest::newRow("equal time stamps")
        << Doubles{5.0, 5.0, 5.0} << Doubles{1.0, 2.0, 3.0} << Doubles{0.1, 0.2, 0.3} << 0;
    QTest::newRow("analog value changes for a value seen before")
        << Doubles{1.0, 2.0, 3.0, 4.0, 5.0} << Doubles{1.5, 2.5, 1.5, 2.5, 1.5}
        << Doubles{10.1, 20.2, 10.1, 21.3, 21.3} << 0;
    QTest::newRow("infinities and fractions of a millisecond")
        << Doubles{-std::numeric_limits<double>::infinity(), 0.25, 1e300}
        << Doubles{std::numeric_limits<double>::infinity(), 1e-300, 0.1 + 0.2}
        << Doubles{1.0 / 3.0, -1e16, 12345678.9} << 0;

    // Exact decimals pack small: device numbers divided down to bar, tenths of a degree multiplied.
    Doubles times(20000);
    Doubles bar(times.size());
    Doubles degrees(times.size());
    for (size_t i = 0; i < times.size(); ++i) {
        const int number = 5000 + int(2000 * std::sin(double(i) / 300.0));
        times[i] = 1.7e12 + 65.0 * double(i) + double(i % 3);
        bar[i] = number / 1000.0;
        degrees[i] = number * 0.1;
    }
    QTest::newRow("bar from device numbers") << times << bar << Doubles(times.size(), 4.0) << 30000;
    QTest::newRow("degrees from tenths") << times << degrees << bar << 30000;
}

void tst_HistoryText::roundTripKeepsEveryBit()
{
    QFETCH(Doubles, times);
    QFETCH(Doubles, values);
    QFETCH(Doubles, analog);
    QFETCH(int, maxBytes);
    const ValueOverTime original = history(times, values, analog);

    const std::string saved = historyToText(original);
    QVERIFY(maxBytes == 0 || saved.size() < size_t(maxBytes));
    ValueOverTime loaded = reference();
    QVERIFY(historyFromText(saved, ';', loaded));
    QVERIFY(sameBits(loaded, original));
    QCOMPARE(historyToText(loaded), saved);
}

// Well-formed rows load times 1, 2, values 3, 4, analog 5, 6; any other
// row must leave the history as it was.
void tst_HistoryText::handMadeTextLoadsOnlyWhenWellFormed_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<char>("separator");
    QTest::addColumn<bool>("loads");

    const auto row = [](const char *name, const std::string &content, char separator = ';',
                        bool loads = false) {
        QTest::newRow(name) << QByteArray::fromStdString(content) << separator << loads;
    };
    const Doubles times{1.0, 2.0};
    const Doubles values{3.0, 4.0};
    const Doubles analog{5.0, 6.0};
    const std::string valid = text("2", times, values, analog);
    row("raw", valid, ';', true);
    row("raw with another separator", text("2", times, values, analog, ','), ',', true);
    row("packed", packed("2", wholeNumbers), ';', true);

    row("empty text", "");
    row("unknown tag", "h2" + valid.substr(2));
    row("field missing", valid.substr(0, valid.rfind(';')));
    row("field too many", valid + ";");
    row("separated by another character", text("2", times, values, analog, ','));
    row("count not a number", text("two", times, values, analog));
    row("count larger than the blocks", text("3", times, values, analog));
    row("count smaller than the blocks", text("1", times, values, analog));
    row("blocks of different lengths", text("2", times, values, {5.0}));
    row("time stamps out of order", text("2", {2.0, 1.0}, values, analog));
    row("single time stamp not a number",
        text("1", {std::numeric_limits<double>::quiet_NaN()}, {1.0}, {1.0}));
    std::string badCharacter = valid;
    badCharacter[valid.find(';', 5) + 3] = '*';
    row("character outside base64", badCharacter);
    row("separator inside the base64 alphabet", valid, 'A');
    row("separator is NUL", valid, '\0');

    row("packed: count larger than the arrays", packed("3", wholeNumbers));
    row("packed: count smaller than the arrays", packed("1", wholeNumbers));
    row("packed: bytes after the arrays", packed("2", wholeNumbers + '\0'));
    row("packed: unknown scale", packed("2", QByteArray(wholeNumbers).replace(0, 1, "\x7f")));
    row("packed: back reference with nothing before",
        packed("2", QByteArray::fromHex("000808 001808 0002 08")));
    row("packed: back reference in the times",
        packed("2", QByteArray::fromHex("000802 001808 002808")));
    row("packed: raw bits cut short", packed("2", QByteArray::fromHex("000801 0000")));
    row("packed: varint never ends", packed("1", QByteArray::fromHex("00ffffffffffffffffffffff")));
    row("packed: not compressed", "h2;2;" + wholeNumbers.toBase64().toStdString());
    std::string wrongSize = packed("2", wholeNumbers);
    QByteArray compressed = QByteArray::fromBase64(QByteArray::fromStdString(wrongSize.substr(5)));
    compressed[3] = char(compressed[3] + 1);
    row("packed: size header differs from the data", "h2;2;" + compressed.toBase64().toStdString());
    row("packed: size header claims gigabytes",
        "h2;100000000;" + QByteArray::fromHex("7fffffff789c").toBase64().toStdString());
}

void tst_HistoryText::handMadeTextLoadsOnlyWhenWellFormed()
{
    QFETCH(QByteArray, text);
    QFETCH(char, separator);
    QFETCH(bool, loads);
    ValueOverTime loaded = reference();
    QCOMPARE(historyFromText(text.toStdString(), separator, loaded), loads);
    QVERIFY(sameBits(loaded, loads ? history({1.0, 2.0}, {3.0, 4.0}, {5.0, 6.0}) : reference()));
}

void tst_HistoryText::chartLoadsOnlyIntoTheAskedPlot()
{
    QMainWindow window;
    GenericChart chart(2, nullptr, &window);
    chart.setData(0, reference());
    const std::string saved = chart.dataToString(0);
    QVERIFY(chart.setDataFromString(1, saved, ';'));
    QVERIFY(sameBits(*chart.getData(1), reference()));
    QVERIFY(!chart.setDataFromString(0, "h2;1;", ';'));
    QVERIFY(sameBits(*chart.getData(0), reference()));
    QVERIFY(!chart.setDataFromString(2, saved, ';'));
    QVERIFY(!chart.setDataFromString(-1, saved, ';'));
    QCOMPARE(chart.dataToString(2), std::string());
}

QTEST_MAIN(tst_HistoryText)
#include "tst_historytext.moc"
