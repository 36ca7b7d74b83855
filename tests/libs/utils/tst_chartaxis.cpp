#include <utils/axislabelengine.h>
#include <utils/boxedtextlabel.h>
#include <utils/followview.h>
#include <utils/localoffset.h>
#include <utils/replotpace.h>
#include <utils/timescaledraw.h>

#include <QDateTime>
#include <QPainter>
#include <QScreen>
#include <QtTest>

#include <qwt_scale_map.h>

#include <ctime>

// The chart's time axis: its local offset, cached between transitions, against the C library's
// own conversion of every instant, in zones with and without daylight saving time; and the pace
// at which new samples alone redraw it; and what a plot that follows its newest samples shows.
// Its labels and their measures are kept across replots.
class tst_ChartAxis : public QObject
{
    Q_OBJECT

private slots:
    void cleanupTestCase();
    void cachedOffsetMatchesLocalTimeAcrossTransitions_data();
    void cachedOffsetMatchesLocalTimeAcrossTransitions();
    void newSamplesReplotOncePerColumnOrWhenLate_data();
    void newSamplesReplotOncePerColumnOrWhenLate();
    void followedValuesKeepEverySampleInSight_data();
    void followedValuesKeepEverySampleInSight();
    void followedTimeStartsAtTheFirstSample_data();
    void followedTimeStartsAtTheFirstSample();
    void labelsShowTheLocalTimeOfTheirInstant_data();
    void labelsShowTheLocalTimeOfTheirInstant();
    void labelMeasuresFollowTheFont();
    void labelsDrawAsThePlainEngineDraws_data();
    void labelsDrawAsThePlainEngineDraws();
    void boxedValueDrawsAsThePlainLabelDraws_data();
    void boxedValueDrawsAsThePlainLabelDraws();

private:
    void useZone(const QByteArray &zone);

    QByteArray m_zone = qgetenv("TZ");
};

void tst_ChartAxis::useZone(const QByteArray &zone)
{
    if (zone.isEmpty())
        qunsetenv("TZ");
    else
        qputenv("TZ", zone);
    tzset();
}

void tst_ChartAxis::cleanupTestCase()
{
    useZone(m_zone);
}

void tst_ChartAxis::cachedOffsetMatchesLocalTimeAcrossTransitions_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QStringList>("walk"); // UTC instants, asked in this order
    QTest::newRow("forward over the spring change")
        << QByteArray("Europe/Berlin")
        << QStringList{"2026-03-29T00:59:59.999", "2026-03-29T01:00:00.000",
                       "2026-03-29T01:00:00.001", "2026-07-01T12:00:00.000"};
    QTest::newRow("backward over the autumn change")
        << QByteArray("Europe/Berlin")
        << QStringList{"2026-10-25T01:00:00.000", "2026-10-25T00:59:59.999",
                       "2026-10-25T00:00:00.000", "2026-10-25T01:30:00.000"};
    QTest::newRow("half an hour of summer time")
        << QByteArray("Australia/Lord_Howe")
        << QStringList{"2026-04-04T14:59:59.999", "2026-04-04T15:00:00.000",
                       "2026-10-03T15:29:59.999", "2026-10-03T15:30:00.000"};
    QTest::newRow("no transitions")
        << QByteArray("UTC") << QStringList{"1970-01-01T00:00:00.000", "2099-12-31T23:59:59.999"};
}

void tst_ChartAxis::cachedOffsetMatchesLocalTimeAcrossTransitions()
{
    QFETCH(QByteArray, zone);
    QFETCH(QStringList, walk);
    useZone(zone);
    const Utils::LocalOffset offset;
    for (const QString &text : walk) {
        QDateTime utc = QDateTime::fromString(text, Qt::ISODateWithMs);
        utc.setTimeSpec(Qt::UTC);
        const qint64 ms = utc.toMSecsSinceEpoch();
        const int expected = QDateTime::fromMSecsSinceEpoch(ms, Qt::LocalTime).offsetFromUtc();
        QVERIFY2(offset.secondsAt(ms) == expected, qPrintable(text));
    }
}

void tst_ChartAxis::newSamplesReplotOncePerColumnOrWhenLate_data()
{
    QTest::addColumn<double>("newestMs");
    QTest::addColumn<int>("columns"); // across a view of 60 s: 200 ms per column
    QTest::addColumn<qint64>("sinceReplotMs");
    QTest::addColumn<qint64>("unshownForMs");
    QTest::addColumn<bool>("worth");
    QTest::newRow("within the column shown") << 1199.0 << 300 << qint64(220) << qint64(50) << false;
    QTest::newRow("one column on") << 1200.0 << 300 << qint64(220) << qint64(50) << true;
    QTest::newRow("one column on within the pace")
        << 1200.0 << 300 << qint64(199) << qint64(30) << false;
    QTest::newRow("a narrow plot's wide column")
        << 1400.0 << 60 << qint64(400) << qint64(299) << false;
    QTest::newRow("the next sample could come too late")
        << 1001.0 << 60 << qint64(450) << qint64(300) << true;
    QTest::newRow("no width yet") << 1001.0 << 0 << qint64(220) << qint64(50) << false;
}

void tst_ChartAxis::newSamplesReplotOncePerColumnOrWhenLate()
{
    QFETCH(double, newestMs);
    QFETCH(int, columns);
    QFETCH(qint64, sinceReplotMs);
    QFETCH(qint64, unshownForMs);
    QTEST(Utils::Charts::newSamplesWorthReplot(newestMs, 1000.0, 60000.0, columns, sinceReplotMs,
                                               unshownForMs),
          "worth");
}

void tst_ChartAxis::followedValuesKeepEverySampleInSight_data()
{
    QTest::addColumn<QwtInterval>("home");
    QTest::addColumn<QwtInterval>("measuring");
    QTest::addColumn<QwtInterval>("samples"); // invalid: none in view
    QTest::addColumn<QwtInterval>("shown");
    const QwtInterval none;
    QTest::newRow("analog span on a 250 bar sensor")
        << QwtInterval(0, 10) << QwtInterval(0, 250) << QwtInterval(20, 30) << QwtInterval(0, 250);
    QTest::newRow("negative pressure within the range")
        << QwtInterval(0, 10) << QwtInterval(-1, 25) << QwtInterval(-0.8, 3) << QwtInterval(-1, 25);
    QTest::newRow("no samples yet")
        << QwtInterval(2, 8) << QwtInterval(0, 10) << none << QwtInterval(0, 10);
    QTest::newRow("above the range, with a margin")
        << QwtInterval(0, 10) << QwtInterval(0, 10) << QwtInterval(1, 12) << QwtInterval(0, 12.6);
    QTest::newRow("below the range, with a margin")
        << QwtInterval(-40, 120) << QwtInterval(-40, 125) << QwtInterval(-50, 20)
        << QwtInterval(-58.75, 125);
}

void tst_ChartAxis::followedValuesKeepEverySampleInSight()
{
    QFETCH(QwtInterval, home);
    QFETCH(QwtInterval, measuring);
    QFETCH(QwtInterval, samples);
    Utils::Extremes inView;
    if (samples.isValid()) {
        const double times[] = {1.0, 2.0};
        const double values[] = {samples.maxValue(), samples.minValue()};
        inView = Utils::Extremes::of(times, values, 2, 0);
    }
    const QwtInterval result = Utils::Charts::followedValueRange(home, measuring, inView);
    QFETCH(QwtInterval, shown);
    QCOMPARE(result.minValue(), shown.minValue());
    QCOMPARE(result.maxValue(), shown.maxValue());
}

void tst_ChartAxis::followedTimeStartsAtTheFirstSample_data()
{
    QTest::addColumn<double>("firstMs");
    QTest::addColumn<double>("newestMs");
    QTest::addColumn<double>("fromMs");
    QTest::addColumn<double>("toMs");
    QTest::newRow("15 s of a 160 s window") << 1000.0 << 16000.0 << 1000.0 << 16000.0;
    QTest::newRow("a full window") << 0.0 << 200000.0 << 40000.0 << 200000.0;
    QTest::newRow("one sample") << 5000.0 << 5000.0 << 5000.0 << 6000.0;
}

void tst_ChartAxis::followedTimeStartsAtTheFirstSample()
{
    QFETCH(double, firstMs);
    QFETCH(double, newestMs);
    const QwtInterval time = Utils::Charts::followedTimeRange(firstMs, newestMs, 160000.0);
    QTEST(time.minValue(), "fromMs");
    QTEST(time.maxValue(), "toMs");
}

void tst_ChartAxis::labelsShowTheLocalTimeOfTheirInstant_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QStringList>("walk"); // UTC instants, asked of one axis in this order
    QTest::newRow("the same hour a day apart, over the autumn change")
        << QByteArray("Europe/Berlin")
        << QStringList{"2026-10-24T10:00:00.000", "2026-10-25T10:00:00.000",
                       "2026-10-24T10:00:00.999"};
    QTest::newRow("the same hour a day apart, half an hour of summer time")
        << QByteArray("Australia/Lord_Howe")
        << QStringList{"2026-04-03T20:00:00.000", "2026-04-04T20:00:00.000"};
    QTest::newRow("either side of 1970")
        << QByteArray("UTC") << QStringList{"1970-01-01T00:00:00.000", "1969-12-31T23:59:59.500"};
}

void tst_ChartAxis::labelsShowTheLocalTimeOfTheirInstant()
{
    QFETCH(QByteArray, zone);
    QFETCH(QStringList, walk);
    useZone(zone);
    const Utils::Charts::TimeScaleDraw axis;
    for (const QString &text : walk) {
        QDateTime utc = QDateTime::fromString(text, Qt::ISODateWithMs);
        utc.setTimeSpec(Qt::UTC);
        const qint64 ms = utc.toMSecsSinceEpoch();
        QCOMPARE(
            axis.label(double(ms)).text(),
            QDateTime::fromMSecsSinceEpoch(ms, Qt::LocalTime).toString(QStringLiteral("hh:mm:ss")));
    }
}

// Every measure is the plain engine's for the font asked, also after another font's.
void tst_ChartAxis::labelMeasuresFollowTheFont()
{
    const Utils::Charts::AxisLabelEngine kept;
    const QwtPlainTextEngine plain;
    for (int pointSize : {9, 30, 9}) {
        QFont font;
        font.setPointSize(pointSize);
        for (const QString &text : {QStringLiteral("11:11:11"), QStringLiteral("20:48:00")}) {
            QCOMPARE(kept.textSize(font, 0, text), plain.textSize(font, 0, text));
            double keptTop = 0.0, keptBottom = 0.0, plainTop = 0.0, plainBottom = 0.0, unused = 0.0;
            kept.textMargins(font, text, unused, unused, keptTop, keptBottom);
            plain.textMargins(font, text, unused, unused, plainTop, plainBottom);
            QCOMPARE(keptTop, plainTop);
            QCOMPARE(keptBottom, plainBottom);
        }
    }
}

void tst_ChartAxis::labelsDrawAsThePlainEngineDraws_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QRectF>("rect");
    QTest::addColumn<double>("rotation");
    QTest::addColumn<QFont>("font");
    QTest::addColumn<QColor>("ink");
    QTest::addColumn<QColor>("paper");
    QTest::addColumn<int>("lineAt"); // a grey line's row under the text, -1 for none
    QTest::addColumn<int>("format");     // of the image drawn on
    const QRectF roomy(10.3, 7.6, 90.0, 30.0);
    const QRectF narrow(20.5, 10.25, 25.0, 8.0);
    const QFont font;
    QFont slanted;
    slanted.setFamily(QStringLiteral("DejaVu Serif"));
    slanted.setItalic(true);
    slanted.setBold(true);
    slanted.setPixelSize(24);
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    const int pixels = QImage::Format_ARGB32_Premultiplied;
    const int center = Qt::AlignCenter;
    QTest::addRow("centred") << "12:34:56" << center << roomy << 0.0 << font << black << white
                             << -1 << pixels;
    QTest::addRow("top left") << "00:00:01" << int(Qt::AlignLeft | Qt::AlignTop) << roomy << 0.0
                              << font << black << white << -1 << pixels;
    QTest::addRow("bottom right") << "23:59:59" << int(Qt::AlignRight | Qt::AlignBottom) << roomy
                                  << 0.0 << font << black << white << -1 << pixels;
    QTest::addRow("clipped to a narrow rect")
        << "12:34:56" << center << narrow << 0.0 << font << black << white << -1 << pixels;
    QTest::addRow("unclipped") << "12:34:56" << int(Qt::AlignCenter | Qt::TextDontClip) << narrow
                               << 0.0 << font << black << white << -1 << pixels;
    QTest::addRow("rotated title") << "Pressure [bar]" << center << roomy << -90.0 << font << black
                                   << white << -1 << pixels;
    QTest::addRow("two lines") << "Pressure\n[bar]" << center << roomy << 0.0 << font << black
                               << white << -1 << pixels;
    QTest::addRow("wrapped") << "Pressure [bar]" << int(Qt::AlignLeft | Qt::TextWordWrap) << narrow
                             << 0.0 << font << black << white << -1 << pixels;
    QTest::addRow("translucent ink") << "12:34:56" << center << roomy << 0.0 << font
                                     << QColor(0, 0, 255, 128) << white << -1 << pixels;
    QTest::addRow("grey paper") << "12:34:56" << center << roomy << 0.0 << font << black
                                << QColor(Qt::lightGray) << -1 << pixels;
    QTest::addRow("over a line") << "12:34:56" << center << roomy << 0.0 << font << black << white
                                 << 22 << pixels;
    QTest::addRow("a line just below the glyphs") << "12:34:56" << center << roomy << 0.0 << font
                                                  << black << white << 32 << pixels;
    QTest::addRow("opaque image") << "12:34:56" << center << roomy << 0.0 << font << black << white
                                  << -1 << int(QImage::Format_RGB32);
    QTest::addRow("slanted glyphs reaching out")
        << "fjf" << center << QRectF(15.3, 40.6, 90.0, 30.0) << 0.0 << slanted
                                                 << black << white << -1 << pixels;
}

// After "12:34:56" in black on white, a label drawn from its kept layout and pixels, and again,
// has every pixel the plain engine gives it.
void tst_ChartAxis::labelsDrawAsThePlainEngineDraws()
{
    QFETCH(QString, text);
    QFETCH(int, flags);
    QFETCH(QRectF, rect);
    QFETCH(double, rotation);
    QFETCH(QFont, font);
    QFETCH(QColor, ink);
    QFETCH(QColor, paper);
    QFETCH(int, lineAt);
    QFETCH(int, format);
    const Utils::Charts::AxisLabelEngine kept;
    const QwtPlainTextEngine plain;
    struct Label
    {
        QString text;
        int flags;
        QRectF rect;
        QFont font;
        QColor ink;
        QColor paper;
    };
    const auto drawn = [&](const QwtTextEngine &engine, const Label &label) {
        QImage image(120, 120, QImage::Format(format));
        image.fill(label.paper);
        // The resolution of a widget on the screen, which Qwt draws in without rescaling fonts.
        const qreal dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        QPainter painter(&image);
        if (lineAt >= 0)
            painter.fillRect(QRect(0, lineAt, 120, 1), Qt::gray);
        painter.setFont(label.font);
        painter.setPen(label.ink);
        painter.translate(60.0, 60.0);
        painter.rotate(rotation);
        painter.translate(-60.0, -60.0);
        engine.draw(&painter, label.rect, label.flags, label.text);
        return image;
    };
    drawn(kept, {"12:34:56", Qt::AlignCenter, QRectF(10.3, 7.6, 90.0, 30.0), QFont(), Qt::black,
                 Qt::white});
    const Label label{text, flags, rect, font, ink, paper};
    const QImage expected = drawn(plain, label);
    QVERIFY(expected != QImage(expected.size(), expected.format()));
    for (int twice = 0; twice < 2; ++twice)
        QCOMPARE(drawn(kept, label), expected);
}

namespace {

QwtText boxedValue(const QString &value, const QColor &color)
{
    QwtText text(value);
    QFont font = text.font();
    font.setPointSizeF(14.0);
    font.setBold(true);
    text.setFont(font);
    text.setRenderFlags(Qt::AlignRight | Qt::AlignTop);
    text.setColor(color);
    text.setBackgroundBrush(QColor(255, 255, 255, 210));
    text.setBorderPen(QPen(color.lighter(160), 1.0));
    text.setBorderRadius(3.0);
    return text;
}

} // namespace

void tst_ChartAxis::boxedValueDrawsAsThePlainLabelDraws_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QColor>("color");
    QTest::addRow("the same value") << "5.03" << QColor(Qt::blue);
    QTest::addRow("another value as wide") << "5.04" << QColor(Qt::blue);
    QTest::addRow("a wider value") << "-125.04" << QColor(Qt::blue);
    QTest::addRow("another colour") << "5.03" << QColor(Qt::darkGreen);
}

// After "5.03" in blue, the row's value: pixel for pixel what a plain label draws, on a canvas
// with something to show through the box.
void tst_ChartAxis::boxedValueDrawsAsThePlainLabelDraws()
{
    QFETCH(QString, value);
    QFETCH(QColor, color);
    const auto drawn = [&](QwtPlotTextLabel &label) {
        const QwtPlotItem &item = label;
        QImage image(200, 100, QImage::Format_ARGB32_Premultiplied);
        for (const QwtText &text :
             {boxedValue(QStringLiteral("5.03"), Qt::blue), boxedValue(value, color)}) {
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.fillRect(QRect(0, 0, 200, 20), Qt::gray);
            label.setText(text);
            item.draw(&painter, QwtScaleMap(), QwtScaleMap(), QRectF(0.0, 0.0, 200.0, 100.0));
        }
        return image;
    };
    QwtPlotTextLabel plain;
    Utils::Charts::BoxedTextLabel boxed;
    QCOMPARE(drawn(boxed), drawn(plain));
}

QTEST_MAIN(tst_ChartAxis)
#include "tst_chartaxis.moc"
