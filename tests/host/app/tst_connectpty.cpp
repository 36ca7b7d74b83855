#include "testhost.h"

#include <support/modalhand.h>
#include <support/simulatorprocess.h>

#include <app/startuprun.h>

#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qttreepropertybrowser.h>
#include <utils/connectionstatus.h>

#include <QMdiSubWindow>
#include <QtTest>

namespace {

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

// tgauge's start-up run with --open-sensor and --connect, in process with the real plug-in,
// against iolink-master-sim on a pseudo-terminal, with the real pauses between frames.
class TestConnectPty : public QObject
{
    Q_OBJECT

private slots:
    void connectOptionReadsTheSensorIntoTheWindow();
};

void TestConnectPty::connectOptionReadsTheSensorIntoTheWindow()
{
    const QString sensorName = QStringLiteral("KR7D-P250");
    ModalHand hand;
    SimulatorProcess simulator;
    QVERIFY2(simulator.start({QStringLiteral("--sensor"), sensorName, QStringLiteral("--variant"),
                              QStringLiteral("100")}),
             simulator.process().readAllStandardError().constData());
    std::vector<TGauge::PluginLoadResult> plugin;
    plugin.push_back(
        TGauge::PluginLoader::load(QStringLiteral(KR7D_APP_DIR "/plugins/libIoLinkKR7Dfamily.so")));
    TestHost host(std::move(plugin));
    host.systemPorts = QStringList{simulator.portPath()};
    host.ports.refresh();
    TGauge::CommandLine options;
    options.openSensors = QStringList{sensorName};
    options.connectPort = simulator.portPath();
    TGauge::StartupRun run(options, host.window);
    run.start();
    QCOMPARE(host.window.pluginObjects().size(), 1);
    const QWidget *window = host.window.subWindowOf(host.window.pluginObjects().front())->widget();

    // The connection runs from the event loop and blocks in its own loops until everything is read.
    QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), sensorName + " (" + simulator.portPath() + ')',
                              60000);
    const auto *browser = window->findChild<QtTreePropertyBrowser *>();
    QVERIFY(browser);
    QtProperty *productId = findById(browser->properties(), QStringLiteral("ProductIdReadOnly"));
    QVERIFY(productId);
    QCOMPARE(productId->valueText(), QStringLiteral("K7DB100"));
    const auto *lamp = window->findChild<Utils::ConnectionStatus *>();
    QVERIFY(lamp && lamp->isConnected());
    QCOMPARE(hand.unexpected(), QStringList());
}

QTEST_MAIN(TestConnectPty)
#include "tst_connectpty.moc"
