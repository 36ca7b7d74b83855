#include <model/outputconfig.h>

#include <QtTest>

using namespace BravoSensorPlugin::Core;

namespace {

// "lower/upper" of a plot's marks, empty when they are off.
QString marksText(const MarkSource &marks)
{
    return marks.enabled() ? marks.lowerId + QLatin1Char('/') + marks.upperId : QString();
}

} // namespace

class tst_OutputConfig : public QObject
{
    Q_OBJECT

private slots:
    void decisionTable_data();
    void decisionTable();
    void droppedMarkEditsTheShownOutputsPoints_data();
    void droppedMarkEditsTheShownOutputsPoints();
};

void tst_OutputConfig::decisionTable_data()
{
    QTest::addColumn<int>("a1");
    QTest::addColumn<int>("a2");
    QTest::addColumn<int>("analogMode");
    QTest::addColumn<int>("unitIndex");
    QTest::addColumn<int>("combo");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("pressureMarks");
    QTest::addColumn<QString>("temperatureMarks");
    QTest::addColumn<QString>("analog"); // "<plot>:<low>/<high>:<right axis>", empty for none
    QTest::addColumn<bool>("toolBar");
    QTest::addColumn<bool>("output2Switching");
    QTest::addColumn<QString>("units"); // "<pressure scale>|<temperature max>|<labels>|<timeline>"

    const QString p1 = QStringLiteral("ThresholdsPressure1A1/ThresholdsPressure2A1");
    const QString p2 = QStringLiteral("ThresholdsPressure1A2/ThresholdsPressure2A2");
    const QString t1 = QStringLiteral("ThresholdsTemp1A1/ThresholdsTemp2A1");
    const QString t2 = QStringLiteral("ThresholdsTemp1A2/ThresholdsTemp2A2");
    const QStringList a2Switching = {"OnDelay2", "OffDelay2", "NONCA2"};
    const QString barC = QStringLiteral("-1..10|120| (bar) (\u00B0C)|-40..120");

    QTest::newRow("A1 pressure, A2 analog pressure in mA")
        << 1 << 3 << 1 << 0 << 0
        << QStringList{"SettingsPointsPressureA1", "AnalogPointsPressure", "AnalogMode"} << p1 << ""
        << "0:analogPressure0V/analogPressure10V:4..20" << false << false << barC;
    QTest::newRow("A1 temperature, A2 analog temperature in volt, psi and Fahrenheit")
        << 0 << 2 << 0 << 5 << 0
        << QStringList{"SettingsPointsTemperatureA1", "AnalogPointsTemperature", "AnalogMode"} << ""
        << t1 << "1:analogTemp0V/analogTemp10V:0..10" << false << false
        << QStringLiteral("-14.504..145.04|257| (psi) (\u00B0F)|-40..257");
    QTest::newRow("both on pressure, output 1 chosen")
        << 1 << 1 << 0 << 2 << 0
        << QStringList{"SettingsPointsPressureA1", "SettingsPointsPressureA2"} + a2Switching << p1
        << ""
        << "" << true << true << QStringLiteral("-0.1..1|120| (MPa) (\u00B0C)|-40..120");
    QTest::newRow("both on pressure, output 2 chosen")
        << 1 << 1 << 0 << 3 << 1
        << QStringList{"SettingsPointsPressureA1", "SettingsPointsPressureA2"} + a2Switching << p2
        << ""
        << "" << true << true << QStringLiteral("-100..1000|120| (kPa) (\u00B0C)|-100..1000");
    QTest::newRow("both on temperature, output 2 chosen")
        << 0 << 0 << 0 << 4 << 1
        << QStringList{"SettingsPointsTemperatureA1", "SettingsPointsTemperatureA2"} + a2Switching
        << "" << t2 << "" << true << true << QStringLiteral("-1..10|257| (bar) (\u00B0F)|-40..257");
    QTest::newRow("A1 temperature, A2 pressure: one output per plot")
        << 0 << 1 << 0 << 7 << 1
        << QStringList{"SettingsPointsTemperatureA1", "SettingsPointsPressureA2"} + a2Switching
        << p2 << t1 << "" << false << true
        << QStringLiteral("-100..1000|257| (kPa) (\u00B0F)|-100..1000");
    QTest::newRow("A1 off, A2 remote switching")
        << 2 << 4 << 0 << 1 << 0 << QStringList{"RemoteSwitchingOutput"} << ""
        << ""
        << "" << false << false << QStringLiteral("-14.504..145.04|120| (psi) (\u00B0C)|-40..257");
    QTest::newRow("A2 remote analog")
        << 1 << 5 << 1 << 6 << 0
        << QStringList{"SettingsPointsPressureA1", "remoteAnalogValue", "AnalogMode"} << p1 << ""
        << "" << false << false << QStringLiteral("-0.1..1|257| (MPa) (\u00B0F)|-40..257");
    QTest::newRow("unknown functions and units change nothing")
        << 7 << 9 << 0 << 8 << 0 << QStringList{} << ""
        << ""
        << "" << false << true << "";
}

void tst_OutputConfig::decisionTable()
{
    QFETCH(int, a1);
    QFETCH(int, a2);
    QFETCH(int, analogMode);
    QFETCH(int, unitIndex);
    QFETCH(int, combo);
    QFETCH(QStringList, shown);
    const OutputConfig config = outputConfig({a1, a2, analogMode, unitIndex, combo, -1.0, 10.0});

    QCOMPARE(config.shownGroups, shown);
    for (const QString &id : shown)
        QVERIFY(outputGroupIds().contains(id));
    QTEST(marksText(config.marks[0]), "pressureMarks");
    QTEST(marksText(config.marks[1]), "temperatureMarks");
    QString analog;
    if (config.analogAxis) {
        analog = QString::number(int(*config.analogAxis)) + QLatin1Char(':') + config.analogLowId
                 + QLatin1Char('/') + config.analogHighId + QLatin1Char(':')
                 + QString::number(config.rightAxisMin) + QLatin1String("..")
                 + QString::number(config.rightAxisMax);
        QCOMPARE(config.currentOutput, analogMode != 0);
    }
    QTEST(analog, "analog");
    QTEST(config.outputsToolBarVisible, "toolBar");
    QTEST(config.output2IsSwitching, "output2Switching");
    // Each switching group shown is captioned with the quantity it switches on.
    for (const GroupCaption &caption : config.groupCaptions) {
        QVERIFY(shown.contains(caption.groupId));
        QCOMPARE(caption.groupId.contains(QLatin1String("Pressure")),
                 caption.quantity == Quantity::Pressure);
    }

    QString units;
    if (const auto scales = config.units) {
        units = QString::number(scales->pressureMin) + QLatin1String("..")
                + QString::number(scales->pressureMax) + QLatin1Char('|')
                + QString::number(scales->temperatureMax) + QLatin1Char('|') + scales->pressureLabel
                + scales->temperatureLabel + QLatin1Char('|')
                + QString::number(scales->timelineFrom) + QLatin1String("..")
                + QString::number(scales->timelineTo);
        QCOMPARE(scales->temperatureMin, -40.0);
    }
    QTEST(units, "units");
}

void tst_OutputConfig::droppedMarkEditsTheShownOutputsPoints_data()
{
    QTest::addColumn<int>("plot");
    QTest::addColumn<unsigned int>("mark");
    QTest::addColumn<bool>("toolBar");
    QTest::addColumn<int>("output");
    QTest::addColumn<QStringList>("shownGroups");
    QTest::addColumn<QStringList>("targets");
    const QStringList bothPressure = {"SettingsPointsPressureA1", "SettingsPointsPressureA2"};
    QTest::newRow("only A1 on pressure, lower mark")
        << 0 << 0u << false << 1 << QStringList{"SettingsPointsPressureA1", "AnalogPointsPressure"}
        << QStringList{"ThresholdsPressure1A1"};
    QTest::newRow("both on pressure, output 2 chosen")
        << 0 << 0u << true << 2 << bothPressure << QStringList{"ThresholdsPressure1A2"};
    QTest::newRow("both on temperature, output 1 chosen, upper mark")
        << 1 << 1u << true << 1 << QStringList{} << QStringList{"ThresholdsTemp2A1"};
    QTest::newRow("no group of the plot's quantity shown")
        << 1 << 0u << false << 1 << bothPressure << QStringList{};
    QTest::newRow("a third plot") << 2 << 0u << true << 1 << bothPressure << QStringList{};
}

void tst_OutputConfig::droppedMarkEditsTheShownOutputsPoints()
{
    QFETCH(int, plot);
    QFETCH(unsigned int, mark);
    QFETCH(bool, toolBar);
    QFETCH(int, output);
    QFETCH(QStringList, shownGroups);
    QTEST(markTargets(plot, mark, toolBar, output, shownGroups), "targets");
}

QTEST_MAIN(tst_OutputConfig)
#include "tst_outputconfig.moc"
