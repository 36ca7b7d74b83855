#include <utils/csvexport.h>
#include <utils/valueovertime.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <QtTest>

#include <charconv>
#include <cmath>
#include <limits>

using Utils::ValueOverTime;

namespace {

// A day of both plots at the 65 ms poll interval, valued as the device reports: bar from a
// device number, tenths of a degree.
constexpr int Samples = 1300000;
constexpr int Precision = 2;

struct Day
{
    ValueOverTime pressure;
    ValueOverTime temperature;
};

Day dayOfSamples()
{
    Day day;
    day.pressure.reserve(Samples);
    day.temperature.reserve(Samples);
    const double start = 1764856987000.0;
    for (int i = 0; i < Samples; ++i) {
        const double time = start + 65.0 * i + i % 3;
        day.pressure.append(time, int(5000 + 4500 * std::sin(i / 600.0)) / 1000.0, 0.0);
        day.temperature.append(time, int(250 + 150 * std::sin(i / 4600.0)) * 0.1, 0.0);
    }
    return day;
}

void appendNumber(QByteArray &out, double value)
{
    char buffer[64];
    const auto result
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, Precision);
    out.append(buffer, int(result.ptr - buffer));
}

// The least an export must do: the same date text, made once per second, and the same numbers.
QByteArray baseline(const Day &day)
{
    QByteArray text("Time;Signal;Temperature\n");
    text.reserve(Samples * 40);
    qint64 second = -1;
    QByteArray secondText;
    for (int i = 0; i < Samples; ++i) {
        const qint64 ms = qint64(day.pressure.pxData()[i]);
        if (ms / 1000 != second) {
            second = ms / 1000;
            secondText = QDateTime::fromMSecsSinceEpoch(second * 1000)
                             .toString(QStringLiteral("dd-MM-yyyy hh:mm:ss."))
                             .toLatin1();
        }
        const int millis = int(ms % 1000);
        text.append(secondText)
            .append(char('0' + millis / 100))
            .append(char('0' + millis / 10 % 10))
            .append(char('0' + millis % 10))
            .append(';');
        appendNumber(text, day.pressure.pyData()[i]);
        text.append(';');
        appendNumber(text, day.temperature.pyData()[i]);
        text.append('\n');
    }
    return text;
}

} // namespace

class bench_CsvExport : public QObject
{
    Q_OBJECT

private slots:
    void exportAgainstBaseline();
};

void bench_CsvExport::exportAgainstBaseline()
{
    const Day day = dayOfSamples();
    // The best of a few rounds: the machine is shared, and both sides should see the same load.
    QByteArray expected;
    QByteArray text;
    qint64 baselineMs = std::numeric_limits<qint64>::max();
    qint64 exportMs = baselineMs;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer timer;
        timer.start();
        expected = baseline(day);
        baselineMs = std::min(baselineMs, timer.restart());
        text = Utils::csvText(
            {&day.pressure, &day.temperature},
            {QStringLiteral("Time"), QStringLiteral("Signal"), QStringLiteral("Temperature")},
            QStringLiteral(";"), Precision);
        exportMs = std::min(exportMs, timer.elapsed());
    }

    QCOMPARE(text.size(), expected.size());
    QVERIFY(text == expected);
    qInfo("export %lld ms, baseline %lld ms (%.2fx), %.1f MB", exportMs, baselineMs,
          double(exportMs) / double(std::max<qint64>(baselineMs, 1)), text.size() / 1e6);
}

QTEST_MAIN(bench_CsvExport)
#include "bench_csvexport.moc"
