#include "testhost.h"

#include <support/modalhand.h>
#include <support/simulatorprocess.h>

#include <app/commandline.h>
#include <app/startuprun.h>

#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qttreepropertybrowser.h>
#include <utils/connectionstatus.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QMdiSubWindow>
#include <QtTest>

#include <memory>

namespace {

const QString sensorName = QStringLiteral("KR7D-P250");

QtProperty *findById(const QList<QtProperty *> &properties, const QString &id)
{
    for (QtProperty *property : properties) {
        if (property->propertyId() == id)
            return property;
        if (QtProperty *found = findById(property->subProperties(), id))
            return found;
    }
    return nullptr;
}

} // namespace

// tgauge's start-up run with --open-sensor and --connect, in process, against iolink-master-sim
// on a pseudo-terminal, with the real pauses between frames.
class tst_ConnectPty : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void connectOptionReadsTheSensorIntoTheWindow();

private:
    QWidget *sensorWindow() const;
    QString valueText(const QString &id) const;

    std::unique_ptr<SimulatorProcess> m_simulator;
    QString m_port;
    std::unique_ptr<TestHost> m_host;
    std::unique_ptr<ModalHand> m_hand;
};

void tst_ConnectPty::init()
{
    m_simulator = std::make_unique<SimulatorProcess>();
    QVERIFY2(m_simulator->start({QStringLiteral("--sensor"), sensorName,
                                 QStringLiteral("--variant"), QStringLiteral("100")}),
             m_simulator->process().readAllStandardError().constData());
    m_port = m_simulator->portPath();

    std::vector<TGauge::PluginLoadResult> plugin;
    plugin.push_back(
        TGauge::PluginLoader::load(QStringLiteral(KR7D_APP_DIR "/plugins/libIoLinkKR7Dfamily.so")));
    m_host = std::make_unique<TestHost>(std::move(plugin));
    m_host->systemPorts = QStringList{m_port};
    m_host->ports.refresh();
    m_hand = std::make_unique<ModalHand>();
}

void tst_ConnectPty::cleanup()
{
    m_host.reset();
    const QStringList unexpected = m_hand->unexpected();
    m_hand.reset();
    m_simulator.reset();
    QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(QLatin1Char('\n'))));
}

QWidget *tst_ConnectPty::sensorWindow() const
{
    const QList<ExtensionSystem::PluginInterface *> objects = m_host->window.pluginObjects();
    return objects.isEmpty() ? nullptr : m_host->window.subWindowOf(objects.front())->widget();
}

QString tst_ConnectPty::valueText(const QString &id) const
{
    const auto *browser = sensorWindow()->findChild<QtTreePropertyBrowser *>();
    QtProperty *property = browser ? findById(browser->properties(), id) : nullptr;
    return property ? property->valueText() : QStringLiteral("<no property %1>").arg(id);
}

void tst_ConnectPty::connectOptionReadsTheSensorIntoTheWindow()
{
    TGauge::CommandLine options;
    options.openSensors = QStringList{sensorName};
    options.connectPort = m_port;
    TGauge::StartupRun run(options, m_host->window);
    run.start();
    QVERIFY(sensorWindow());

    // The connection runs from the event loop and blocks in its own loops until everything is read.
    QElapsedTimer clock;
    clock.start();
    const QString title = sensorName + QStringLiteral(" (") + m_port + QLatin1Char(')');
    QTRY_COMPARE_WITH_TIMEOUT(sensorWindow()->windowTitle(), title, 60000);
    qInfo("connected and read every parameter in %lld ms", clock.elapsed());
    QCOMPARE(valueText(QStringLiteral("ProductIdReadOnly")), QStringLiteral("K7DB100"));
    const auto *lamp = sensorWindow()->findChild<Utils::ConnectionStatus *>();
    QVERIFY(lamp && lamp->isConnected());

    // What the watchdog runs finds the master gone: the window warns and goes offline.
    m_simulator->process().kill();
    QVERIFY(m_simulator->process().waitForFinished(5000));
    m_hand->expect(ModalHand::click(QMessageBox::Ok));
    clock.restart();
    QVERIFY(QMetaObject::invokeMethod(sensorWindow(), "slotContinousDataTimeout"));
    qInfo("gave up on the lost master in %lld ms", clock.elapsed());
    QCOMPARE(m_hand->boxesSeen(), QStringList{"Connecting to sensor|The sensor did not respond, "
                                              "please make sure it is properly connected."});
    QVERIFY(!lamp->isConnected());
    QCOMPARE(sensorWindow()->findChild<QComboBox *>()->currentIndex(), 0);
    QCOMPARE(sensorWindow()->windowTitle(), sensorName + QStringLiteral(" (Offline)"));
}

QTEST_MAIN(tst_ConnectPty)
#include "tst_connectpty.moc"
