#include "devicetestkit.h"

#include <comm/platformsleep.h>
#include <plugin/sensorcatalogue.h>
#include <window/sensorwindow.h>
#include <window/sensorwindowdata.h>

#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qtpropertymanager.h>
#include <utils/genericchart.h>
#include <utils/thresholdwindowwidget.h>

#include <qwt_plot.h>
#include <qwt_scale_div.h>

#include <QComboBox>
#include <QtTest>

using BravoSensorPlugin::Core::SensorWindow;
using BravoSensorPlugin::Core::SensorWindowData;

namespace {

// One enumeration choice of the window set as if by the user.
struct Choice
{
    const char *id;
    int index;
};

} // namespace

class tst_Units : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void unitChangeConvertsEveryPoint_data();
    void unitChangeConvertsEveryPoint();
    void writesGoInBarAndCelsius_data();
    void writesGoInBarAndCelsius();
    void droppedMarkWritesItsClampedValueOnce_data();
    void droppedMarkWritesItsClampedValueOnce();
    void currentOutputScalesThePressurePlotToItsPoints();

private:
    SensorWindowData &data() { return *m_window->windowData(); }
    QtProperty *property(const QByteArray &id)
    {
        return m_window->findProperty(data().rootProperty, id);
    }
    void attachMaster();
    // Lets the window act on the edits now instead of after the send delay.
    void settle() { QVERIFY(QMetaObject::invokeMethod(m_window.get(), "sendDelayValue")); }
    // Choices edited as the user would, then the charts derived from them.
    void configure(const QList<Choice> &choices, int unitIndex);
    // A value set as the window sets it from the sensor: no edit.
    void setQuietly(const QByteArray &id, double value);

    ExtensionSystem::SensorBasic m_sensor;
    std::unique_ptr<SensorWindow> m_window;
    std::unique_ptr<Kr7dSim::SimulatedConnection> m_master;
};

void tst_Units::initTestCase()
{
    BravoSensorPlugin::Core::setPlatformSleepScale(0);
    m_sensor = BravoSensorPlugin::Core::buildSensorCatalogue().front();
}

void tst_Units::init()
{
    m_window = std::make_unique<SensorWindow>(m_sensor);
    QCOMPARE(data().pressureDivisor, 100.0);
}

void tst_Units::cleanup()
{
    m_window.reset();
    m_master.reset();
}

void tst_Units::attachMaster()
{
    m_master = simulatedMaster(QString::fromStdString(m_sensor.name()));
    m_window->setConnection(m_master.get());
    m_window->vAutoConnect(QString());
    QVERIFY(m_window->isSensorConnected());
    // Its modal update dialog would take the mouse.
    m_window->vShowUpdateDialog(false);
}

void tst_Units::configure(const QList<Choice> &choices, int unitIndex)
{
    for (const Choice &choice : choices)
        data().enumManager->setValue(property(choice.id), choice.index);
    data().enumManager->setValue(property("TemperatureSettings"), unitIndex);
    settle();
}

void tst_Units::setQuietly(const QByteArray &id, double value)
{
    QVERIFY(
        QMetaObject::invokeMethod(m_window.get(), "enableTreeDataHandling", Q_ARG(bool, false)));
    data().doubleManager->setValue(property(id), value);
    QVERIFY(QMetaObject::invokeMethod(m_window.get(), "enableTreeDataHandling", Q_ARG(bool, true)));
}

void tst_Units::unitChangeConvertsEveryPoint_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("id");
    QTest::addColumn<double>("before");
    QTest::addColumn<double>("after");
    QTest::addColumn<double>("maximum"); // 25 bar, or 257 for temperatures

    QTest::newRow("bar to psi") << 0 << 5 << "ThresholdsPressure1A1" << 2.5 << 36.26 << 362.6;
    QTest::newRow("Celsius to Fahrenheit")
        << 0 << 5 << "ThresholdsTemp1A1" << 50.0 << 122.0 << 257.0;
    QTest::newRow("psi to MPa") << 5 << 6 << "ThresholdsPressure2A2" << 36.26 << 0.25 << 2.5;
    QTest::newRow("Fahrenheit stays between Fahrenheit units")
        << 5 << 6 << "ThresholdsTemp2A2" << 122.0 << 122.0 << 257.0;
    QTest::newRow("analog point kPa to bar")
        << 3 << 0 << "analogPressure10V" << 250.0 << 2.5 << 25.0;
    QTest::newRow("analog point Fahrenheit to Celsius")
        << 4 << 0 << "analogTemp0V" << 212.0 << 100.0 << 257.0;
}

void tst_Units::unitChangeConvertsEveryPoint()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, id);
    QFETCH(double, before);
    QtProperty *point = property(id.toLatin1());
    configure({}, from);
    setQuietly(id.toLatin1(), before);

    data().enumManager->setValue(property("TemperatureSettings"), to);
    QTEST(data().doubleManager->value(point), "after");
    QTEST(data().doubleManager->maximum(point), "maximum");
    QCOMPARE(data().unitIndex, to);
}

void tst_Units::writesGoInBarAndCelsius_data()
{
    QTest::addColumn<int>("unitIndex");
    QTest::addColumn<int>("pinFunctionA2");
    QTest::addColumn<QString>("otherId"); // set first
    QTest::addColumn<double>("other");
    QTest::addColumn<QString>("id");
    QTest::addColumn<double>("edited");
    QTest::addColumn<double>("shown"); // what the property shows afterwards
    QTest::addColumn<int>("number");   // what the sensor stores

    QTest::newRow("psi switching point")
        << 1 << 3 << "" << 0.0 << "ThresholdsPressure1A1" << 36.26 << 36.26 << 2500;
    QTest::newRow("Fahrenheit switching point")
        << 4 << 0 << "" << 0.0 << "ThresholdsTemp2A2" << 122.0 << 122.0 << 5000;
    QTest::newRow("0 V point onto the 10 V point moves below it")
        << 0 << 2 << "analogTemp10V" << 80.0 << "analogTemp0V" << 80.0 << 79.0 << 7900;
    QTest::newRow("0 V point onto a 10 V point of 0 becomes 1")
        << 0 << 2 << "analogTemp10V" << 0.0 << "analogTemp0V" << 0.0 << 1.0 << 100;
    QTest::newRow("10 V point onto the 0 V point moves above it, in Fahrenheit")
        << 4 << 2 << "analogTemp0V" << 68.0 << "analogTemp10V" << 68.0 << 69.8 << 2100;
    QTest::newRow("20 mA point onto a 4 mA point at the top moves below it, in psi")
        << 1 << 3 << "analogPressure0V" << 145.04 << "analogPressure10V" << 145.04 << 130.536
        << 9000;
    QTest::newRow("4 mA point onto the 20 mA point, in psi")
        << 1 << 3 << "analogPressure10V" << 72.52 << "analogPressure0V" << 72.52 << 58.016 << 4000;
}

void tst_Units::writesGoInBarAndCelsius()
{
    QFETCH(int, unitIndex);
    QFETCH(int, pinFunctionA2);
    QFETCH(QString, otherId);
    QFETCH(double, other);
    QFETCH(QString, id);
    QFETCH(double, edited);
    attachMaster();
    configure({{"PinFunctionA2", pinFunctionA2}}, unitIndex);
    if (!otherId.isEmpty()) {
        setQuietly(otherId.toLatin1(), other);
        settle();
    }
    // Off the edited value first, so that the edit is a change.
    setQuietly(id.toLatin1(), edited / 2 + 0.5);
    const int logged = m_master->queryLog().size();
    data().doubleManager->setValue(property(id.toLatin1()), edited);
    settle();
    QTEST(data().doubleManager->value(property(id.toLatin1())), "shown");
    QTEST(m_master->simulator().parameter(id).toInt(), "number");
    QCOMPARE(withCommand(m_master->queryLog().mid(logged), 0x24).size(), 1);
}

void tst_Units::droppedMarkWritesItsClampedValueOnce_data()
{
    QTest::addColumn<int>("pinFunctionA1");
    QTest::addColumn<int>("pinFunctionA2");
    QTest::addColumn<int>("unitIndex");
    QTest::addColumn<int>("output"); // index of the outputs combo
    QTest::addColumn<int>("plot");
    QTest::addColumn<bool>("upper");
    QTest::addColumn<QString>("id");
    QTest::addColumn<double>("maximum"); // shown; the mark is dragged beyond it
    QTest::addColumn<int>("number");

    QTest::newRow("bar, A1 on pressure")
        << 1 << 3 << 0 << 0 << 0 << false << "ThresholdsPressure1A1" << 8.0 << 8000;
    QTest::newRow("psi shown, bar sent")
        << 1 << 3 << 5 << 0 << 0 << false << "ThresholdsPressure1A1" << 116.032 << 8000;
    QTest::newRow("both on pressure, output 2 chosen")
        << 1 << 1 << 0 << 1 << 0 << true << "ThresholdsPressure2A2" << 8.0 << 8000;
    QTest::newRow("Fahrenheit shown, Celsius sent")
        << 0 << 3 << 4 << 0 << 1 << false << "ThresholdsTemp1A1" << 212.0 << 10000;
}

void tst_Units::droppedMarkWritesItsClampedValueOnce()
{
    QFETCH(int, pinFunctionA1);
    QFETCH(int, pinFunctionA2);
    QFETCH(int, unitIndex);
    QFETCH(int, output);
    QFETCH(int, plot);
    QFETCH(bool, upper);
    QFETCH(QString, id);
    QFETCH(double, maximum);
    attachMaster();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    data().chart->setEnabled(true);
    data().outputsCombo->setCurrentIndex(output);
    configure({{"PinFunctionA1", pinFunctionA1}, {"PinFunctionA2", pinFunctionA2}}, unitIndex);
    QtProperty *point = property(id.toLatin1());
    data().doubleManager->setMaximum(point, maximum);
    settle();
    data().chart->updateChart(true);

    Utils::ThresholdWindowWidget *marks = data().thresholdWidgets.at(plot);
    QwtPlot *qwtPlot = data().chart->poPlot(plot);
    QWidget *canvas = qwtPlot->canvas();
    const double start = upper ? marks->upperMark() : marks->lowerMark();
    QCOMPARE(start, data().doubleManager->value(point));
    const auto at = [&](int pixelY) {
        return canvas->mapTo(m_window.get(), QPoint(canvas->width() / 2, pixelY));
    };
    const int from = qRound(qwtPlot->transform(QwtPlot::yLeft, start));
    QWindow *handle = m_window->windowHandle();
    const int logged = m_master->queryLog().size();
    QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, at(from));
    QTest::mouseMove(handle, at(from / 2));
    QTest::mouseMove(handle, at(1));
    QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, at(1));

    QCOMPARE(withCommand(m_master->queryLog().mid(logged), 0x24).size(), 1);
    QTEST(m_master->simulator().parameter(id).toInt(), "number");
    QCOMPARE(data().doubleManager->value(point), maximum);
    QCOMPARE(upper ? marks->upperMark() : marks->lowerMark(), maximum);
    QVERIFY(!m_window->sendDelayTimer()->isActive());
}

void tst_Units::currentOutputScalesThePressurePlotToItsPoints()
{
    configure({{"PinFunctionA2", 3}, {"AnalogMode", 1}}, 1);
    setQuietly("analogPressure0V", 14.504);
    setQuietly("analogPressure10V", 217.56);
    settle();
    data().chart->updateChart(true);

    QwtPlot *pressure = data().chart->poPlot(0);
    QVERIFY(pressure->axisEnabled(QwtPlot::yRight));
    QVERIFY(!data().chart->poPlot(1)->axisEnabled(QwtPlot::yRight));
    QCOMPARE(pressure->axisScaleDiv(QwtPlot::yRight).interval(), QwtInterval(4.0, 20.0));
    QCOMPARE(pressure->axisTitle(QwtPlot::yRight).text(), QStringLiteral("Current (mA)"));
    QCOMPARE(pressure->axisTitle(QwtPlot::yLeft).text(), QStringLiteral("Pressure (psi)"));
    QCOMPARE(pressure->axisScaleDiv(QwtPlot::yLeft).interval(), QwtInterval(14.504, 217.56));
    QCOMPARE(property("analogPressure0V")->propertyName(), QStringLiteral("4 mA"));
    QCOMPARE(property("analogPressure10V")->propertyName(), QStringLiteral("20 mA"));
    QVERIFY(!data().output2IsSwitching);
}

QTEST_MAIN(tst_Units)
#include "tst_units.moc"
