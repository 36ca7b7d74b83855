#include "devicetestkit.h"

#include <comm/fixedframes.h>
#include <comm/platformsleep.h>
#include <model/settingsdocument.h>
#include <plugin/sensorcatalogue.h>
#include <utils/genericchart.h>
#include <utils/valueovertime.h>
#include <window/sensorwindow.h>
#include <window/sensorwindowdata.h>
#include <window/ui_sensorwindow.h>

#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qtpropertymanager.h>

#include <QDateTime>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using BravoSensorPlugin::Core::SensorWindow;
using BravoSensorPlugin::Core::SensorWindowData;

namespace {

const QString Corrupted = QStringLiteral("Opening settings...|The selected settings are corupted");
const QString Foreign
    = QStringLiteral("Opening settings...|The selected settings are not for the current sensor");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// From 4 December 2026 14:03:07.250 local time, a sample every 250 ms.
Utils::ValueOverTime history(int samples, double offset, double step = 0.001)
{
    const double start
        = double(QDateTime(QDate(2026, 12, 4), QTime(14, 3, 7, 250)).toMSecsSinceEpoch());
    Utils::ValueOverTime result;
    for (int i = 0; i < samples; ++i)
        result.append(start + 250.0 * i, offset + i * step, offset / 3.0);
    return result;
}

// Test files change one thing of a saved file by text replacement.
using Edit = std::function<QByteArray(QByteArray)>;
Edit replace(const char *before, const char *after)
{
    return [before, after](QByteArray file) { return file.replace(before, after); };
}
Edit content(const QByteArray &bytes)
{
    return [bytes](const QByteArray &) { return bytes; };
}

} // namespace

Q_DECLARE_METATYPE(Edit)
Q_DECLARE_METATYPE(QMessageBox::StandardButton)

class tst_FileActions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void saveClearOpenRestoresEverything();
    void openOutcome_data();
    void openOutcome();
    void openWritesTheFileToAConnectedSensor_data();
    void openWritesTheFileToAConnectedSensor();
    void failedSaveKeepsTheOldFile();
    void csvHasOneColumnPerPlot_data();
    void csvHasOneColumnPerPlot();
    void clearHistoryOnlyWhenConfirmed_data();
    void clearHistoryOnlyWhenConfirmed();
    void factoryReset_data();
    void factoryReset();

private:
    SensorWindowData &data() { return *m_window->windowData(); }
    QtProperty *property(const char *id) { return m_window->findProperty(data().rootProperty, id); }
    // The values of the kinds a file restores, in a fixed order.
    QVariantList storedValues();
    void setDistinctValues();
    QString savedFile();
    std::unique_ptr<Kr7dSim::SimulatedConnection> connectedMaster();

    ExtensionSystem::SensorBasic m_sensor;
    std::unique_ptr<SensorWindow> m_window;
    std::unique_ptr<ModalHand> m_hand;
    QTemporaryDir m_dir;
};

void tst_FileActions::initTestCase()
{
    BravoSensorPlugin::Core::setPlatformSleepScale(0);
    m_sensor = BravoSensorPlugin::Core::buildSensorCatalogue().front();
}

void tst_FileActions::init()
{
    m_window = std::make_unique<SensorWindow>(m_sensor);
    m_hand = std::make_unique<ModalHand>();
}

void tst_FileActions::cleanup()
{
    QCOMPARE(m_hand->unexpected(), QStringList());
    m_window.reset();
    m_hand.reset();
}

QVariantList tst_FileActions::storedValues()
{
    return {data().enumManager->value(property("PinFunctionA1")),
            data().enumManager->value(property("TemperatureSettings")),
            data().boolManager->value(property("RemoteSwitchingOutput")),
            data().intManager->value(property("OnDelay1")),
            data().doubleManager->value(property("ThresholdsPressure1A1")),
            QString::fromStdString(data().chart->dataToString(0)),
            QString::fromStdString(data().chart->dataToString(1))};
}

void tst_FileActions::setDistinctValues()
{
    data().enumManager->setValue(property("PinFunctionA1"), 0);
    data().enumManager->setValue(property("TemperatureSettings"), 0);
    data().boolManager->setValue(property("RemoteSwitchingOutput"), true);
    data().intManager->setValue(property("OnDelay1"), 1234);
    data().doubleManager->setValue(property("ThresholdsPressure1A1"), 2.5);
    data().chart->setData(0, history(300, 2.0));
    data().chart->setData(1, history(200, 25.0));
}

std::unique_ptr<Kr7dSim::SimulatedConnection> tst_FileActions::connectedMaster()
{
    auto master = simulatedMaster(QString::fromStdString(m_sensor.name()));
    m_window->setConnection(master.get());
    m_window->vAutoConnect(QString());
    m_window->vShowUpdateDialog(false);
    return master;
}

QString tst_FileActions::savedFile()
{
    setDistinctValues();
    const QString path = m_dir.filePath(QStringLiteral("saved.tgs"));
    if (!m_window->saveSettingsFile(path))
        qFatal("cannot save the test file");
    return path;
}

void tst_FileActions::saveClearOpenRestoresEverything()
{
    const QString path = savedFile();
    const QVariantList saved = storedValues();
    const QByteArray file = readAll(path);
    QVERIFY(file.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<root "
                            "pluginid=\"IoLinkKR7Dfamily\" sensorid=\""
                            + QByteArray::fromStdString(m_sensor.name())
                            + "\">\n    <pluginsettings>\n"));
    QVERIFY(file.contains("OnDelay1=1234;"));
    QVERIFY(file.contains("ThresholdsPressure1A1=2.500000;"));

    data().chart->clear();
    data().intManager->setValue(property("OnDelay1"), 7);
    data().doubleManager->setValue(property("ThresholdsPressure1A1"), 9.0);
    data().boolManager->setValue(property("RemoteSwitchingOutput"), false);
    data().enumManager->setValue(property("PinFunctionA1"), 1);
    QVERIFY(storedValues() != saved);

    QVERIFY(m_window->bOpenSettings(path));
    QCOMPARE(storedValues(), saved);
    QVERIFY(m_hand->boxesSeen().isEmpty());
}

void tst_FileActions::openOutcome_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("valuesTaken");
    QTest::addColumn<bool>("pressureHistoryTaken");
    QTest::addColumn<qint64>("growTo"); // zero bytes appended up to this size

    const auto row = [](const char *name, const Edit &edit, bool complete, const QString &box,
                        bool valuesTaken, bool historyTaken, qint64 growTo = 0) {
        QTest::newRow(name) << edit << complete << box << valuesTaken << historyTaken << growTo;
    };
    const Edit none = [](QByteArray file) { return file; };
    row("intact file", none, true, QString(), true, true);
    row("missing file", Edit(), false, Corrupted, false, false);
    row("empty file", content({}), false, Corrupted, false, false);
    row("binary junk", content(QByteArray::fromHex("00ff13fe7f80c0de").repeated(64)), false,
        Corrupted, false, false);
    row(
        "truncated", [](QByteArray file) { return file.left(file.size() / 2); }, false, Corrupted,
        false, false);
    row("deeply nested", content(QByteArray("<a>").repeated(100000)), false, Corrupted, false,
        false);
    row("larger than any settings file", none, false, Corrupted, false, false,
        BravoSensorPlugin::Core::maxSettingsFileBytes + 1);
    row("no element root", replace("root", "rout"), false, Corrupted, false, false);
    row("wrong pluginid", replace("IoLinkKR7Dfamily", "IoLinkOther"), false, Foreign, false, false);
    row("wrong sensorid", replace("sensorid=\"", "sensorid=\"X"), false, Foreign, false, false);
    row("no sensorid", replace("sensorid=", "sensorname="), false, Foreign, false, false);
    row("no pluginsettings", replace("pluginsettings", "othersettings"), false, QString(), false,
        false);
    row("no propertytreedata", replace("propertytreedata", "othertreedata"), false, QString(),
        false, true);
    row("no chartdata1", replace("chartdata1", "chartdata2"), false, QString(), true, true);
    row("no chartdata", replace("<chartdata ", "<chartdatum "), false, QString(), true, false);
    row("unknown ids and empty entries",
        replace("propertytreedata data=\"", "propertytreedata data=\";;Unknown=3;;=;"), true,
        QString(), true, true);
}

void tst_FileActions::openOutcome()
{
    QFETCH(Edit, edit);
    QFETCH(bool, complete);
    QFETCH(QString, box);
    QFETCH(bool, valuesTaken);
    QFETCH(bool, pressureHistoryTaken);
    QFETCH(qint64, growTo);

    const QString saved = savedFile();
    const QVariantList fileValues = storedValues();
    const QString path = m_dir.filePath(QStringLiteral("edited.tgs"));
    QFile::remove(path);
    if (edit)
        QVERIFY(writeAll(path, edit(readAll(saved))));
    if (growTo)
        QVERIFY(QFile::resize(path, growTo));
    data().intManager->setValue(property("OnDelay1"), 7);
    data().chart->setData(0, history(5, 9.0));
    const QVariantList before = storedValues();
    if (!box.isEmpty())
        m_hand->expect(ModalHand::click(QMessageBox::Ok));

    QCOMPARE(m_window->bOpenSettings(path), complete);
    QCOMPARE(m_hand->boxesSeen(), box.isEmpty() ? QStringList() : QStringList{box});
    const QVariantList after = storedValues();
    QCOMPARE(after.at(3), (valuesTaken ? fileValues : before).at(3));
    QCOMPARE(after.at(5), (pressureHistoryTaken ? fileValues : before).at(5));
}

void tst_FileActions::openWritesTheFileToAConnectedSensor_data()
{
    QTest::addColumn<bool>("connected");
    QTest::newRow("connected") << true;
    QTest::newRow("disconnected") << false;
}

void tst_FileActions::openWritesTheFileToAConnectedSensor()
{
    QFETCH(bool, connected);
    const QString path = savedFile();
    const auto master
        = connected ? connectedMaster() : simulatedMaster(QString::fromStdString(m_sensor.name()));
    m_window->setConnection(master.get());
    const Kr7dSim::MasterSimulator &sensor = master->simulator();
    const QVariant before = sensor.parameter(QStringLiteral("OnDelay1"));
    const int logged = master->queryLog().size();
    if (connected)
        m_hand->expect(ModalHand::click(QMessageBox::Ok));

    QVERIFY(m_window->bOpenSettings(path));
    QCOMPARE(m_hand->boxesSeen(),
             connected ? QStringList{QStringLiteral(
                 "Open Settings|Loaded settings will override the current project")}
                       : QStringList());
    QCOMPARE(withCommand(master->queryLog().mid(logged), 0x24).isEmpty(), !connected);
    QCOMPARE(sensor.parameter(QStringLiteral("OnDelay1")), connected ? QVariant(1234) : before);
    if (connected) {
        QCOMPARE(sensor.parameter(QStringLiteral("RemoteSwitchingOutput")), QVariant(1));
        QCOMPARE(sensor.parameter(QStringLiteral("PinFunctionA1")), QVariant(0));
        QCOMPARE(sensor.parameter(QStringLiteral("ThresholdsPressure1A1")),
                 QVariant(qRound(2.5 * data().pressureDivisor)));
    }
}

// A disk that fills up half-way: the file size limit stops the write.
void tst_FileActions::failedSaveKeepsTheOldFile()
{
    const QString path = m_dir.filePath(QStringLiteral("old.tgs"));
    QVERIFY(writeAll(path, "old content"));
    setDistinctValues();
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous;
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit small = previous;
    small.rlim_cur = 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool saved = m_window->saveSettingsFile(path);
    setrlimit(RLIMIT_FSIZE, &previous);

    QVERIFY(!saved);
    QCOMPARE(readAll(path), QByteArray("old content"));
    QVERIFY(m_window->form()->statusBar->currentMessage().startsWith(
        QStringLiteral("Could not save ") + path + QStringLiteral(": ")));
    QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("old.tgs*")}, QDir::Files),
             QStringList{QStringLiteral("old.tgs")});
}

void tst_FileActions::csvHasOneColumnPerPlot_data()
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

void tst_FileActions::csvHasOneColumnPerPlot()
{
    QFETCH(QString, delimiter);
    data().chart->setData(0, history(2, 2.5, -2.625));
    data().chart->setData(1, history(2, 25.0, 0.55));
    const QString path = m_dir.filePath(QStringLiteral("export.csv"));
    QVERIFY(m_window->exportChartData(path, delimiter));
    QTEST(readAll(path), "csv");
}

void tst_FileActions::clearHistoryOnlyWhenConfirmed_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<int>("samplesLeft");
    QTest::newRow("Yes") << QMessageBox::Yes << 0;
    QTest::newRow("No") << QMessageBox::No << 2;
}

void tst_FileActions::clearHistoryOnlyWhenConfirmed()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(int, samplesLeft);
    data().chart->setData(0, history(2, 2.5));
    data().chart->setData(1, history(2, 25.0));
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

void tst_FileActions::factoryReset_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("reset");
    QTest::newRow("connected, Ok") << true << QMessageBox::Ok << true;
    QTest::newRow("connected, Cancel") << true << QMessageBox::Cancel << false;
    QTest::newRow("not connected: no question") << false << QMessageBox::NoButton << false;
}

void tst_FileActions::factoryReset()
{
    QFETCH(bool, connected);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, reset);
    const auto master
        = connected ? connectedMaster() : simulatedMaster(QString::fromStdString(m_sensor.name()));
    m_window->setConnection(master.get());
    master->simulator().setParameter(QStringLiteral("OnDelay1"), 1500);
    m_window->readParameter(QStringLiteral("OnDelay1"), false);
    data().liveDataEnabled = false;
    QtProperty *onDelay = property("OnDelay1");
    const int logged = master->queryLog().size();
    if (answer != QMessageBox::NoButton)
        m_hand->expect(ModalHand::click(answer));

    m_window->vRestoreFactorySettings();
    QCOMPARE(m_hand->boxesSeen().size(), answer != QMessageBox::NoButton ? 1 : 0);
    QCOMPARE(master->queryLog().mid(logged).contains(BravoSensorPlugin::Core::factoryResetFrame()),
             reset);
    QCOMPARE(master->simulator().parameter(QStringLiteral("OnDelay1")), QVariant(reset ? 0 : 1500));
    QCOMPARE(data().intManager->value(onDelay), reset ? 0 : 1500);
    QCOMPARE(data().liveDataEnabled, reset);
}

QTEST_MAIN(tst_FileActions)
#include "tst_fileactions.moc"
