#include "devicetestkit.h"

#include <comm/fixedframes.h>
#include <comm/platformsleep.h>
#include <plugin/sensorcatalogue.h>
#include <utils/genericchart.h>
#include <utils/valueovertime.h>
#include <window/sensorwindow.h>
#include <window/sensorwindowdata.h>
#include <window/ui_sensorwindow.h>

#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qtpropertymanager.h>

#include <QDateTime>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

using BravoSensorPlugin::Core::SensorWindow;
using BravoSensorPlugin::Core::SensorWindowData;

namespace {

// 4 December 2026 14:03:07.250 local time and 250 ms later.
Utils::ValueOverTime twoSamples(double first, double second)
{
    const double start
        = double(QDateTime(QDate(2026, 12, 4), QTime(14, 3, 7, 250)).toMSecsSinceEpoch());
    Utils::ValueOverTime history;
    history.append(start, first, 0.0);
    history.append(start + 250.0, second, 0.0);
    return history;
}

} // namespace

Q_DECLARE_METATYPE(QMessageBox::StandardButton)

class tst_Export : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void csvHasOneColumnPerPlot_data();
    void csvHasOneColumnPerPlot();
    void clearHistoryOnlyWhenConfirmed_data();
    void clearHistoryOnlyWhenConfirmed();
    void factoryReset_data();
    void factoryReset();

private:
    SensorWindowData &data() { return *m_window->windowData(); }

    ExtensionSystem::SensorBasic m_sensor;
    std::unique_ptr<SensorWindow> m_window;
    std::unique_ptr<ModalHand> m_hand;
};

void tst_Export::initTestCase()
{
    BravoSensorPlugin::Core::setPlatformSleepScale(0);
    m_sensor = BravoSensorPlugin::Core::buildSensorCatalogue().front();
}

void tst_Export::init()
{
    m_window = std::make_unique<SensorWindow>(m_sensor);
    m_hand = std::make_unique<ModalHand>();
    data().chart->setData(0, twoSamples(2.5, -0.125));
    data().chart->setData(1, twoSamples(25.0, 25.55));
}

void tst_Export::cleanup()
{
    QVERIFY2(m_hand->unexpected().isEmpty(),
             qPrintable(m_hand->unexpected().join(QLatin1Char('\n'))));
    m_window.reset();
    m_hand.reset();
}

void tst_Export::csvHasOneColumnPerPlot_data()
{
    QTest::addColumn<QString>("delimiter");
    QTest::addColumn<QByteArray>("csv");
    QTest::newRow("semicolon") << QStringLiteral(";")
                               << QByteArray("Time;Signal;Temperature\n"
                                             "04-12-2026 14:03:07.250;2.50;25.00\n"
                                             "04-12-2026 14:03:07.500;-0.12;25.55\n");
    QTest::newRow("tab and comma") << QStringLiteral("\t,")
                                   << QByteArray("Time\t,Signal\t,Temperature\n"
                                                 "04-12-2026 14:03:07.250\t,2.50\t,25.00\n"
                                                 "04-12-2026 14:03:07.500\t,-0.12\t,25.55\n");
}

void tst_Export::csvHasOneColumnPerPlot()
{
    QFETCH(QString, delimiter);
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("export.csv"));
    QVERIFY(m_window->exportChartData(path, delimiter));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTEST(file.readAll(), "csv");
}

void tst_Export::clearHistoryOnlyWhenConfirmed_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<int>("samplesLeft");
    QTest::newRow("Yes") << QMessageBox::Yes << 0;
    QTest::newRow("No") << QMessageBox::No << 2;
}

void tst_Export::clearHistoryOnlyWhenConfirmed()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(int, samplesLeft);
    m_window->form()->chartToolbar->setEnabled(true);
    m_hand->expect(ModalHand::click(answer));

    m_window->vClearHistory();
    QCOMPARE(m_hand->boxesSeen(),
             QStringList{QStringLiteral(
                 "Clear chart history|Do you really want to clear chart history ?")});
    QCOMPARE(data().chart->getData(0)->size(), samplesLeft);
    QCOMPARE(data().chart->getData(1)->size(), samplesLeft);
    QCOMPARE(m_window->form()->chartToolbar->isEnabled(), samplesLeft > 0);
}

void tst_Export::factoryReset_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("reset");
    QTest::newRow("connected, Ok") << true << QMessageBox::Ok << true;
    QTest::newRow("connected, Cancel") << true << QMessageBox::Cancel << false;
    QTest::newRow("not connected: no question") << false << QMessageBox::NoButton << false;
}

void tst_Export::factoryReset()
{
    QFETCH(bool, connected);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, reset);
    std::unique_ptr<Kr7dSim::SimulatedConnection> master
        = simulatedMaster(QString::fromStdString(m_sensor.name()));
    master->simulator().setParameter(QStringLiteral("OnDelay1"), 1500);
    data().connection = master.get();
    m_window->sensorConnected = connected;
    QtProperty *onDelay = m_window->findProperty(data().rootProperty, "OnDelay1");
    data().intManager->setValue(onDelay, 1500);
    if (answer != QMessageBox::NoButton)
        m_hand->expect(ModalHand::click(answer));

    m_window->vRestoreFactorySettings();
    QCOMPARE(m_hand->boxesSeen().size(), answer != QMessageBox::NoButton ? 1 : 0);
    const QList<QByteArray> &log = master->queryLog();
    QCOMPARE(log.contains(BravoSensorPlugin::Core::factoryResetFrame()), reset);
    QCOMPARE(log.isEmpty(), !reset);
    QCOMPARE(master->simulator().parameter(QStringLiteral("OnDelay1")), QVariant(reset ? 0 : 1500));
    QCOMPARE(data().intManager->value(onDelay), reset ? 0 : 1500);
    QCOMPARE(data().liveDataEnabled, reset);
}

QTEST_MAIN(tst_Export)
#include "tst_export.moc"
