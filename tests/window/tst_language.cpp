#include "devicetestkit.h"

#include <comm/platformsleep.h>
#include <plugin/sensorcatalogue.h>
#include <window/sensorwindow.h>
#include <window/sensorwindowdata.h>

#include <app/languageswitcher.h>

#include <extensionsystem/globals.h>
#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qtpropertymanager.h>
#include <propertybrowser/qttreepropertybrowser.h>
#include <utils/buttonmanager.h>
#include <utils/connectionstatus.h>
#include <utils/genericchart.h>

#include <qwt_plot.h>

#include <QComboBox>
#include <QTreeWidget>
#include <QtTest>

using BravoSensorPlugin::Core::SensorWindow;
using BravoSensorPlugin::Core::SensorWindowData;

// A window opened in German and switched to English while it is open, with the host's switcher
// and the catalogues the build puts beside the application.
class tst_Language : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void textsFollow_data();
    void textsFollow();
    void selectionsKeepTheirPlace();
    void theSwitchWritesNothing();

private:
    SensorWindowData &data() { return *m_window->windowData(); }
    QtProperty *property(const char *id) { return m_window->findProperty(data().rootProperty, id); }
    // A property's caption, or a text of the window by name.
    QString text(const QString &what);
    void switchTo(const char *code);

    std::unique_ptr<TGauge::LanguageSwitcher> m_switcher;
    std::unique_ptr<SensorWindow> m_window;
    std::unique_ptr<Kr7dSim::SimulatedConnection> m_master;
    int m_logged = 0;                // frames sent before the switch
    QMap<QString, QString> m_german; // text() before the switch
};

void tst_Language::switchTo(const char *code)
{
    m_switcher->switchTo(QString::fromLatin1(code));
    // The application posts the change to its top-level widgets.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
}

QString tst_Language::text(const QString &what)
{
    if (const QtProperty *node = property(what.toLatin1().constData()))
        return node->propertyName();
    if (what == QLatin1String("browser header"))
        return m_window->propertyBrowser()->findChild<QTreeWidget *>()->headerItem()->text(0);
    if (what == QLatin1String("connection lamp"))
        return data().connectionStatus->text();
    if (what == QLatin1String("time axis"))
        return data().chart->poPlot(0)->axisTitle(QwtPlot::xBottom).text();
    if (what == QLatin1String("button"))
        return data().buttonManager->value(property("ZeroPointTEACHBUTTON"));
    const int row = what.right(1).toInt();
    return data().processDataItems.at(row)->text(what.startsWith(QLatin1String("caption")) ? 0 : 1);
}

void tst_Language::initTestCase()
{
    BravoSensorPlugin::Core::setPlatformSleepScale(0);
    m_switcher = std::make_unique<TGauge::LanguageSwitcher>(
        TGauge::LanguageSwitcher::defaultDirectories());
    switchTo("de");
    const ExtensionSystem::SensorBasic sensor
        = BravoSensorPlugin::Core::buildSensorCatalogue().front();
    m_window = std::make_unique<SensorWindow>(sensor);
    // Connected, so that a write caused by the switch would show.
    m_master = simulatedMaster(QString::fromStdString(sensor.name()));
    m_window->setConnection(m_master.get());
    m_window->vAutoConnect(QString());
    m_window->vShowUpdateDialog(false);
    QVERIFY(m_window->isSensorConnected());
    for (QtProperty *node : m_window->allSubProperties(data().rootProperty))
        m_german.insert(node->propertyId(), node->propertyName());
    for (const char *what : {"browser header", "connection lamp", "time axis", "button",
                             "caption 0", "caption 4", "value 0", "value 2"})
        m_german.insert(QLatin1String(what), text(QLatin1String(what)));

    // Choices taken, and text edits written too, so that a new item text would be written.
    const auto handle = [this](const char *slot, bool on) {
        QVERIFY(QMetaObject::invokeMethod(m_window.get(), slot, Q_ARG(bool, on)));
    };
    handle("enableTreeDataHandling", false);
    data().enumManager->setValue(property("PinFunctionA1"), 0);
    data().stringManager->setValue(property("ApplicationTag"), QStringLiteral("Pneumatik"));
    handle("enableTreeDataHandling", true);
    handle("enableStringManagerHandling", true);
    m_window->updateComPortList({QStringLiteral("COM1"), QStringLiteral("COM3")});
    data().portCombo->setCurrentIndex(3);
    data().outputsCombo->setCurrentIndex(1);
    m_logged = m_master->queryLog().size();

    switchTo("en");
}

void tst_Language::cleanupTestCase()
{
    m_window.reset();
    m_switcher.reset();
    ExtensionSystem::Globals::setLanguage("en");
}

void tst_Language::textsFollow_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("english");
    const auto row = [](const char *name, const char *what, const QString &english) {
        QTest::newRow(name) << QString::fromLatin1(what) << english;
    };
    row("category", "DisplaySettings", "Units and filter");
    row("enumerator", "TemperatureSettings", "Units");
    row("int", "OnDelay1", "Switch-on delay A1 (ms)");
    row("double", "ThresholdsTemp1A1", "Switch point SP1");
    row("bool", "RemoteSwitchingOutput", "Remote switching state");
    row("action", "ZeroPointTEACHBUTTON", "Zero-point calibration");
    row("editable text", "ApplicationTag", "Application");
    row("read-only text", "VendorNameReadOnly", "Vendor name");
    row("hidden parameter", "DeviceStatusReadOnly", "Device status");
    row("group captioned with its unit", "SettingsPointsTemperatureA1",
        QStringLiteral("Switching points Temperature  (\u00B0C)"));
    row("property browser", "browser header", "Property");
    row("connection lamp", "connection lamp", "Connected");
    row("chart", "time axis", "Time");
    row("button text", "button", "Teach");
    row("process-data caption", "caption 0", "Output A1     ");
    row("process-data caption of the pressure row", "caption 4", "Pressure     ");
    row("output state", "value 0", "Off");
    row("signal state", "value 2", "No");
}

void tst_Language::textsFollow()
{
    QFETCH(QString, what);
    QFETCH(QString, english);
    QCOMPARE(text(what), english);
    QVERIFY2(m_german.value(what) != english, qPrintable(m_german.value(what)));
}

void tst_Language::selectionsKeepTheirPlace()
{
    QtProperty *function = property("PinFunctionA1");
    QCOMPARE(data().enumManager->value(function), 0);
    QCOMPARE(data().enumManager->enumNames(function).value(0),
             QStringLiteral("Switching on temperature"));
    QCOMPARE(data().stringManager->value(property("ApplicationTag")), QStringLiteral("Pneumatics"));
    QCOMPARE(data().outputsCombo->currentText(), QStringLiteral("Output 2"));
    QCOMPARE(data().portCombo->currentText(), QStringLiteral("COM3"));
    QVERIFY(m_window->windowTitle().endsWith(QStringLiteral(" (COM3)")));
}

void tst_Language::theSwitchWritesNothing()
{
    QVERIFY(withCommand(m_master->queryLog().mid(m_logged), 0x24).isEmpty());
    QVERIFY(!m_window->sendDelayTimer()->isActive());
    // Edits count again once the switch is done.
    data().intManager->setValue(property("OnDelay1"), 150);
    QVERIFY(m_window->sendDelayTimer()->isActive());
}

QTEST_MAIN(tst_Language)
#include "tst_language.moc"
