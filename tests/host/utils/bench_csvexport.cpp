#include <utils/csvexport.h>
#include <utils/valueovertime.h>

#include <QDateTime>
#include <QtTest>

#include <charconv>
#include <cmath>

using Utils::ValueOverTime;

namespace {

constexpr int Samples = 1300000;
constexpr int Precision = 2;

void appendNumber(QByteArray &out, double value)
{
    char buffer[64];
    const auto result
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, Precision);
    out.append(buffer, int(result.ptr - buffer));
}

} // namespace

class bench_CsvExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void exportAgainstBaseline_data();
    void exportAgainstBaseline();

private:
    QByteArray baselineText() const;
    QByteArray exportText() const;

    ValueOverTime m_pressure;
    ValueOverTime m_temperature;
};

// A day of both plots at the 65 ms poll interval, valued as the device reports: bar from a
// device number, tenths of a degree.
void bench_CsvExport::initTestCase()
{
    m_pressure.reserve(Samples);
    m_temperature.reserve(Samples);
    for (int i = 0; i < Samples; ++i) {
        const double time = 1764856987000.0 + 65.0 * i + i % 3;
        m_pressure.append(time, int(5000 + 4500 * std::sin(i / 600.0)) / 1000.0, 0.0);
        m_temperature.append(time, int(250 + 150 * std::sin(i / 4600.0)) * 0.1, 0.0);
    }
    QVERIFY(exportText() == baselineText());
}

// The least an export must do: the same date text, made once per second, and the same numbers.
QByteArray bench_CsvExport::baselineText() const
{
    QByteArray text("Time;Signal;Temperature\n");
    text.reserve(Samples * 40);
    qint64 second = -1;
    QByteArray secondText;
    for (int i = 0; i < Samples; ++i) {
        const qint64 ms = qint64(m_pressure.pxData()[i]);
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
        appendNumber(text, m_pressure.pyData()[i]);
        text.append(';');
        appendNumber(text, m_temperature.pyData()[i]);
        text.append('\n');
    }
    return text;
}

QByteArray bench_CsvExport::exportText() const
{
    return Utils::csvText(
        {&m_pressure, &m_temperature},
        {QStringLiteral("Time"), QStringLiteral("Signal"), QStringLiteral("Temperature")},
        QStringLiteral(";"), Precision);
}

void bench_CsvExport::exportAgainstBaseline_data()
{
    QTest::addColumn<bool>("baseline");
    QTest::newRow("to_chars baseline") << true;
    QTest::newRow("csv export") << false;
}

void bench_CsvExport::exportAgainstBaseline()
{
    QFETCH(bool, baseline);
    QBENCHMARK
    {
        const QByteArray text = baseline ? baselineText() : exportText();
        QVERIFY(!text.isEmpty());
    }
}

QTEST_MAIN(bench_CsvExport)
#include "bench_csvexport.moc"
