#include <support/devicetestkit.h>
#include <support/paintcounter.h>

#include <comm/fixedframes.h>
#include <comm/platformsleep.h>
#include <model/parameterids.h>
#include <model/settingsdocument.h>
#include <model/valuerules.h>
#include <plugin/sensorcatalogue.h>
#include <utils/genericchart.h>
#include <utils/replotpace.h>
#include <utils/valueovertime.h>
#include <window/comparedialog.h>
#include <window/layoutfile.h>
#include <window/sensorwindow.h>
#include <window/sensorwindowdata.h>
#include <window/ui_sensorwindow.h>

#include <app/languageswitcher.h>

#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qtpropertymanager.h>
#include <propertybrowser/qttreepropertybrowser.h>
#include <utils/buttonmanager.h>
#include <utils/connectionstatus.h>
#include <utils/thresholdwindowwidget.h>

#include <qwt_plot.h>
#include <qwt_scale_div.h>

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLabel>
#include <QScopeGuard>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTreeWidget>
#include <QtMath>
#include <QtTest>

#include <csignal>
#include <limits>
#include <sys/resource.h>

using BravoSensorPlugin::Core::CompareDialog;
using BravoSensorPlugin::Core::CompareRow;
using BravoSensorPlugin::Core::SensorWindow;
using BravoSensorPlugin::Core::SensorWindowData;
namespace ParameterIds = BravoSensorPlugin::Core::ParameterIds;

namespace {

const QString Corrupted = QStringLiteral("Opening settings...|The selected settings are corupted");
const QString Foreign
    = QStringLiteral("Opening settings...|The selected settings are not for the current sensor");
// Spare pixels of a value column left as wide as the dock makes it.
constexpr int Docked = std::numeric_limits<int>::min();

// The current of a 4..20 mA output whose points are low and high at `value`.
double analogAt(double value, double low, double high)
{
    return 4.0 + (value - low) * 16.0 / (high - low);
}

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

QStringList itemsOf(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

// "group/caption=file|window" for every leaf, depth first.
QStringList leaves(const QTreeWidgetItem *item, const QString &path = QString())
{
    QStringList found;
    for (int i = 0; i < item->childCount(); ++i) {
        const QTreeWidgetItem *child = item->child(i);
        if (child->childCount() == 0)
            found << path + child->text(0) + QLatin1Char('=') + child->text(1) + QLatin1Char('|')
                         + child->text(2);
        else
            found << leaves(child, path + child->text(0) + QLatin1Char('/'));
    }
    return found;
}

// An enumeration's id and the index the user chooses.
using Choice = std::pair<const char *, int>;

} // namespace

Q_DECLARE_METATYPE(Edit)
Q_DECLARE_METATYPE(QMessageBox::StandardButton)

// A window opened for the catalogue's first sensor: its set-up, what the user does in it (files,
// history, units, dragged marks, the host's language switch) and its closing.
class tst_SensorWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void signalsReachTheWindow_data();
    void signalsReachTheWindow();

    void startsOfflineWithItsSensorInTheTitle();
    void portListRefill_data();
    void portListRefill();
    void propertyVisibilityCoversEveryItem();
    void livePollsRepaintTheirRowsNotTheWindowBehind();
    void aValueBetweenPacesIsPaintedLaterNotDropped();
    void aProcessValueWithoutASizeOfItsOwnResizesItsRow();
    void processCellsLookAsTheStylePaintsThem_data();
    void processCellsLookAsTheStylePaintsThem();
    void destructionWritesTheLayoutEvenWhenNeverShown();
    void unwritableLayoutIsToldOnceOnTheLog();
    void compareDialogGroupsDifferencesLikeTheTree();

    void saveNamesTheOwnersOrKeepsTheOldFile();
    void openOutcome_data();
    void openOutcome();
    void emptyHistoriesOpenAsEmptyPlots();
    void csvHasOneColumnPerPlot_data();
    void csvHasOneColumnPerPlot();
    void clearHistoryOnlyWhenConfirmed_data();
    void clearHistoryOnlyWhenConfirmed();
    void unitChangeConvertsEveryPoint_data();
    void unitChangeConvertsEveryPoint();
    void writesGoInBarAndCelsius_data();
    void writesGoInBarAndCelsius();
    void droppedMarkWritesItsClampedValueOnce_data();
    void droppedMarkWritesItsClampedValueOnce();
    void currentOutputScalesThePressurePlotToItsPoints();
    void liveSamplesStayInsideThePlot_data();
    void liveSamplesStayInsideThePlot();
    void textsFollowTheLanguage_data();
    void textsFollowTheLanguage();
    void languageSwitchKeepsChoicesAndWritesNothing();
    void germanWindowShowsCommasItsFilesKeepPoints();

private:
    SensorWindowData &data() { return *m_window->windowData(); }
    BravoSensorPlugin::Core::Ui_SensorWindow *form() const { return m_window->form(); }
    QtProperty *property(const char *id) { return m_window->findProperty(data().rootProperty, id); }
    // The values of the kinds a file restores, in a fixed order.
    QVariantList storedValues();
    // Device numbers the simulated sensor holds for OnDelay1 and ThresholdsPressure1A1.
    QVariantList sensorValues();
    void setDistinctValues();
    QString savedFile();
    // A simulated master for the window, connected unless asked not to; a product id names the
    // variant the master's sensor reports.
    void attachMaster(bool connect = true, const QString &productId = QString());
    // Lets the window act on the edits now instead of after the send delay.
    void settle() { QVERIFY(QMetaObject::invokeMethod(m_window.get(), "sendDelayValue")); }
    // Choices edited as the user would, then the charts derived from them.
    void configure(const QList<Choice> &choices, int unitIndex);
    // Connected and switched to German with choices taken there, text edits written too, so that
    // a write caused by switching back would show; then `inGerman`, then back to English.
    void switchBackFromGerman(const std::function<void()> &inGerman = {});
    void switchTo(const char *code);
    // A property's caption, or a text of the window by name.
    QString text(const QString &what);

    ExtensionSystem::SensorBasic m_sensor;
    std::unique_ptr<SensorWindow> m_window;
    std::unique_ptr<ModalHand> m_hand;
    std::unique_ptr<Kr7dSim::SimulatedConnection> m_master;
    std::unique_ptr<TGauge::LanguageSwitcher> m_switcher;
    QTemporaryDir m_dir;
};

void tst_SensorWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    BravoSensorPlugin::Core::setPlatformSleepScale(0);
    m_sensor = BravoSensorPlugin::Core::buildSensorCatalogue().front();
    m_switcher = std::make_unique<TGauge::LanguageSwitcher>(
        TGauge::LanguageSwitcher::defaultDirectories());
}

void tst_SensorWindow::init()
{
    m_window = std::make_unique<SensorWindow>(m_sensor);
    m_hand = std::make_unique<ModalHand>();
}

void tst_SensorWindow::cleanup()
{
    QCOMPARE(m_hand->unexpected(), QStringList());
    m_window.reset();
    m_hand.reset();
    m_master.reset();
    switchTo("en");
}

QVariantList tst_SensorWindow::storedValues()
{
    return {data().enumManager->value(property("PinFunctionA1")),
            data().enumManager->value(property(ParameterIds::temperatureSettings)),
            data().boolManager->value(property("RemoteSwitchingOutput")),
            data().intManager->value(property("OnDelay1")),
            data().doubleManager->value(property("ThresholdsPressure1A1")),
            QString::fromStdString(data().chart->dataToString(0)),
            QString::fromStdString(data().chart->dataToString(1))};
}

QVariantList tst_SensorWindow::sensorValues()
{
    return {m_master->simulator().parameter(QStringLiteral("OnDelay1")),
            m_master->simulator().parameter(QStringLiteral("ThresholdsPressure1A1"))};
}

void tst_SensorWindow::setDistinctValues()
{
    data().enumManager->setValue(property("PinFunctionA1"), 0);
    data().enumManager->setValue(property(ParameterIds::temperatureSettings), 0);
    data().boolManager->setValue(property("RemoteSwitchingOutput"), true);
    data().intManager->setValue(property("OnDelay1"), 1234);
    data().doubleManager->setValue(property("ThresholdsPressure1A1"), 2.5);
    data().chart->setData(0, history(300, 2.0));
    data().chart->setData(1, history(200, 25.0));
}

void tst_SensorWindow::attachMaster(bool connect, const QString &productId)
{
    m_master = simulatedMaster(QString::fromStdString(m_window->sensorRecord().name()), productId);
    m_window->setConnection(m_master.get());
    if (!connect)
        return;
    m_window->vAutoConnect(QString());
    QVERIFY(m_window->isSensorConnected());
    // Its modal update dialog would take the mouse.
    m_window->vShowUpdateDialog(false);
    // Live data starts at the bar's next step: a test's own choice must come after it.
    QTRY_VERIFY(!data().justConnected);
}

void tst_SensorWindow::configure(const QList<Choice> &choices, int unitIndex)
{
    for (const Choice &choice : choices)
        data().enumManager->setValue(property(choice.first), choice.second);
    data().enumManager->setValue(property(ParameterIds::temperatureSettings), unitIndex);
    settle();
}

QString tst_SensorWindow::savedFile()
{
    setDistinctValues();
    const QString path = m_dir.filePath(QStringLiteral("saved.tgs"));
    if (!m_window->saveSettingsFile(path))
        qFatal("cannot save the test file");
    return path;
}

void tst_SensorWindow::signalsReachTheWindow_data()
{
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QByteArray>("signal");
    QTest::addColumn<bool>("connected");
    const auto row = [](const char *sender, const char *signal, bool connected = true) {
        QTest::newRow(sender) << QString::fromLatin1(sender) << QByteArray(signal) << connected;
    };
    for (const char *action :
         {"actionSave_Settings", "actionOpen_Settings", "actionDefaultSettings",
          "actionExport_chart_view", "actionPrint_chart_view", "actionClear_History",
          "actionEnable_live_data", "actionWriting", "actionRead"})
        row(action, SIGNAL(triggered(bool)));
    row("Read Thresholds", SIGNAL(triggered(bool)), false);
    row("portCombo", SIGNAL(activated(int)));
    row("chart", SIGNAL(vSignalZommResetForNoiseLine()));
    row("browser", SIGNAL(currentItemChanged(QtBrowserItem *)));
    row("outputsCombo", SIGNAL(currentIndexChanged(int)));
    row("pressure marks", SIGNAL(emitValueChanged(unsigned int, double)));
    row("temperature marks", SIGNAL(emitValueChanged(unsigned int, double)));
    // Value handling switched on again; text edits stay unwired.
    row("int", SIGNAL(valueChanged(QtProperty *, int)));
    row("string", SIGNAL(valueChanged(QtProperty *, QString)), false);
}

void tst_SensorWindow::signalsReachTheWindow()
{
    QFETCH(QString, sender);
    QFETCH(QByteArray, signal);
    const QMap<QString, QObject *> parts{
        {QStringLiteral("Read Thresholds"), m_window->form()->actionRead_Thresholds},
        {QStringLiteral("portCombo"), data().portCombo},
        {QStringLiteral("chart"), data().chart},
        {QStringLiteral("browser"), m_window->propertyBrowser()},
        {QStringLiteral("outputsCombo"), data().outputsCombo},
        {QStringLiteral("pressure marks"), data().thresholdWidgets.value(0)},
        {QStringLiteral("temperature marks"), data().thresholdWidgets.value(1)},
        {QStringLiteral("int"), data().intManager},
        {QStringLiteral("string"), data().stringManager},
    };
    QObject *object
        = parts.contains(sender) ? parts.value(sender) : m_window->findChild<QAction *>(sender);
    QVERIFY(object);
    QVERIFY(QMetaObject::invokeMethod(m_window.get(), "enableTreeDataHandling", Q_ARG(bool, true)));
    // disconnect() reports whether a connection to the window was there.
    QTEST(QObject::disconnect(object, signal.constData(), m_window.get(), nullptr), "connected");
}

void tst_SensorWindow::startsOfflineWithItsSensorInTheTitle()
{
    QCOMPARE(itemsOf(data().portCombo), QStringList({"Offline", ""}));

    const QString title = QString::fromStdString(m_sensor.name()) + QStringLiteral(" (Offline)");
    QCOMPARE(m_window->windowTitle(), title);
    QCOMPARE(form()->statusBar->currentMessage(), title);
    QVERIFY(!form()->sensorOperationsToolbar->isEnabled());
    QVERIFY(!data().chart->isEnabled());

    SensorWindow unknown(ExtensionSystem::SensorBasic("NONE", "Not in the description"));
    QVERIFY(unknown.sensorRecord().tree.empty());
    QCOMPARE(unknown.windowTitle(), QStringLiteral(" (Offline)"));
}

void tst_SensorWindow::portListRefill_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QList<QStringList>>("refills");
    QTest::addColumn<int>("index");
    QTest::newRow("chosen port still listed")
        << QStringList({"COM1", "COM3"}) << "COM3" << QList<QStringList>{{"COM3", "COM5"}} << 2;
    QTest::newRow("chosen port vanished")
        << QStringList({"COM1", "COM3"}) << "COM3" << QList<QStringList>{{"COM1"}} << -1;
    QTest::newRow("names are case-sensitive")
        << QStringList({"COM3"}) << "COM3" << QList<QStringList>{{"com3"}} << -1;
    QTest::newRow("offline stays chosen")
        << QStringList({"COM1"}) << "Offline" << QList<QStringList>{{"COM2"}} << 0;
    QTest::newRow("no choice never becomes the separator")
        << QStringList({"COM3"}) << "COM3" << QList<QStringList>{{"COM1"}, {"COM1", "COM4"}} << -1;
}

void tst_SensorWindow::portListRefill()
{
    QFETCH(QStringList, before);
    QFETCH(QString, chosen);
    QFETCH(QList<QStringList>, refills);
    QComboBox *combo = data().portCombo;
    m_window->updateComPortList(before);
    combo->setCurrentIndex(combo->findText(chosen));
    for (const QStringList &ports : refills)
        m_window->updateComPortList(ports);

    QCOMPARE(itemsOf(combo), QStringList({"Offline", ""}) + refills.last());
    QTEST(combo->currentIndex(), "index");
}

void tst_SensorWindow::propertyVisibilityCoversEveryItem()
{
    QtGroupPropertyManager *groups = data().groupManager;
    QtProperty *root = groups->addProperty(QStringLiteral("root"));
    QtProperty *first = groups->addProperty(QStringLiteral("first group"));
    QtProperty *second = groups->addProperty(QStringLiteral("second group"));
    QtProperty *shared = data().intManager->addProperty(QStringLiteral("delay"));
    shared->setPropertyId(QStringLiteral("OnDelay2"));
    root->addSubProperty(first);
    root->addSubProperty(second);
    first->addSubProperty(shared);
    second->addSubProperty(shared);
    data().rootProperty = root;
    QtTreePropertyBrowser *browser = m_window->propertyBrowser();
    browser->addProperty(root);
    for (const bool visible : {false, true}) {
        m_window->setPropertyVisible(QStringLiteral("OnDelay2"), visible);
        for (QtBrowserItem *item : browser->items(shared))
            QCOMPARE(browser->isItemVisible(item), visible);
        QCOMPARE(m_window->isPropertyVisible(QStringLiteral("OnDelay2")), visible);
    }

    m_window->setPropertyVisible(QStringLiteral("NoSuchProperty"), false);
    QVERIFY(!m_window->isPropertyVisible(QStringLiteral("NoSuchProperty")));
}

void tst_SensorWindow::livePollsRepaintTheirRowsNotTheWindowBehind()
{
    attachMaster();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QWidget *rows = data().processDataTree->viewport();
    PaintCounter paints;
    for (QWidget *watched : {rows, static_cast<QWidget *>(data().processDataDock),
                             static_cast<QWidget *>(m_window.get())})
        watched->installEventFilter(&paints);
    // Each poll changes the pressure and temperature texts; the first paint shows the window.
    QTRY_VERIFY(paints.counts.value(rows) > 0);
    paints.counts.clear();
    QElapsedTimer clock;
    clock.start();
    QTRY_VERIFY(paints.counts.value(rows) >= 3);
    // Three paints at the plots' pace span two paces; one a poll would take two polls.
    QVERIFY2(clock.elapsed() > 3 * Utils::Charts::replotPaceMs / 2,
             qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(paints.counts.value(data().processDataDock), 0);
    QCOMPARE(paints.counts.value(m_window.get()), 0);
}

void tst_SensorWindow::aValueBetweenPacesIsPaintedLaterNotDropped()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QWidget *rows = data().processDataTree->viewport();
    PaintCounter paints;
    rows->installEventFilter(&paints);
    QTreeWidgetItem *pressure = data().processDataItems.at(4);
    QElapsedTimer clock;
    clock.start();
    pressure->setText(1, QStringLiteral("  1"));
    QTRY_VERIFY(paints.counts.value(rows) > 0);
    const int shown = paints.counts.value(rows);
    pressure->setText(1, QStringLiteral("  2"));
    QTRY_COMPARE(paints.counts.value(rows), shown + 1);
    QVERIFY(clock.elapsed() >= Utils::Charts::replotPaceMs);
}

// The process rows' values have sizes of their own and are not measured on each poll; any other
// row still is.
void tst_SensorWindow::aProcessValueWithoutASizeOfItsOwnResizesItsRow()
{
    QTreeWidget *tree = data().processDataTree;
    auto *row = new QTreeWidgetItem(tree, {QStringLiteral("Extra"), QStringLiteral("1")});
    const int height = tree->visualItemRect(row).height();
    row->setText(1, QStringLiteral("one\ntwo\nthree"));
    QVERIFY(tree->visualItemRect(row).height() > height);
}

void tst_SensorWindow::processCellsLookAsTheStylePaintsThem_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("spare"); // pixels the value column has beyond the text and its margins
    QTest::addColumn<int>("pixelSize"); // of the cell's own font, 0 for the tree's
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("style");

    const QString fusion = QStringLiteral("Fusion");
    QTest::newRow("pressure") << 4 << QStringLiteral("  12.3457") << Docked << 0 << true << fusion;
    QTest::newRow("temperature, negative")
        << 3 << QStringLiteral("  -0.98765") << Docked << 0 << true << fusion;
    QTest::newRow("empty") << 3 << QString() << Docked << 0 << true << fusion;
    QTest::newRow("long") << 4 << QStringLiteral("  -123456.789 and a long tail of text") << Docked
                          << 0 << true << fusion;
    QTest::newRow("a pixel short") << 4 << QStringLiteral("  -12.5") << -1 << 0 << true << fusion;
    QTest::newRow("elided to nothing")
        << 3 << QStringLiteral("  -12345.6789") << -90 << 0 << true << fusion;
    QTest::newRow("taller than its row")
        << 4 << QStringLiteral("7") << Docked << 60 << true << fusion;
    QTest::newRow("state with an icon")
        << 2 << QStringLiteral("Signal too low") << -20 << 0 << true << fusion;
    QTest::newRow("disabled") << 4 << QStringLiteral("  12.3457") << Docked << 0 << false << fusion;
    QTest::newRow("windows style")
        << 4 << QStringLiteral("  12.3457") << Docked << 0 << true << QStringLiteral("Windows");
    QTest::newRow("windows style, a pixel short")
        << 4 << QStringLiteral("  -12.5") << -1 << 0 << true << QStringLiteral("Windows");
}

// The value cells are painted by a delegate of their own for speed; it must not show a pixel
// the style would not.
void tst_SensorWindow::processCellsLookAsTheStylePaintsThem()
{
    QFETCH(int, row);
    QFETCH(QString, text);
    QFETCH(int, spare);
    QFETCH(int, pixelSize);
    QFETCH(bool, enabled);
    QFETCH(QString, style);
    const QString previousStyle = QApplication::style()->objectName();
    QApplication::setStyle(style);
    const auto restoreStyle = qScopeGuard([&] { QApplication::setStyle(previousStyle); });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTreeWidget *tree = data().processDataTree;
    QTreeWidgetItem *item = tree->topLevelItem(row);
    item->setText(1, text);
    QFont font = tree->font();
    if (pixelSize > 0) {
        font.setPixelSize(pixelSize);
        item->setFont(1, font);
    }
    if (spare != Docked) {
        const int margins = 2 * (tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
        const qreal width = QFontMetricsF(font).horizontalAdvance(text);
        tree->header()->setStretchLastSection(false);
        tree->setColumnWidth(1, qCeil(width) + margins + spare);
    }
    tree->setEnabled(enabled);

    QAbstractItemDelegate *installed = tree->itemDelegate();
    const QImage painted = tree->viewport()->grab().toImage();
    QStyledItemDelegate styled;
    tree->setItemDelegate(&styled);
    const QImage expected = tree->viewport()->grab().toImage();
    tree->setItemDelegate(installed);
    QCOMPARE(painted, expected);
}

void tst_SensorWindow::destructionWritesTheLayoutEvenWhenNeverShown()
{
    const QString ini = BravoSensorPlugin::Core::layoutFilePath();
    QVERIFY(!ini.startsWith(QStringLiteral(KR7D_APP_DIR)));
    QFile::remove(ini);
    m_window.reset();

    QSettings layout(ini, QSettings::IniFormat);
    QVERIFY(!layout.value(QStringLiteral("SensorWindow/geometry")).toByteArray().isEmpty());
    const QByteArray state = layout.value(QStringLiteral("SensorWindow/state")).toByteArray();
    QVERIFY(!state.isEmpty());
    SensorWindow another(m_sensor);
    QVERIFY(another.restoreState(state, 0));
}

void tst_SensorWindow::unwritableLayoutIsToldOnceOnTheLog()
{
    // A file where the folder should be: even root cannot write there.
    const QString folder = QFileInfo(BravoSensorPlugin::Core::layoutFilePath()).absolutePath();
    QVERIFY(QDir(folder).removeRecursively());
    QVERIFY(QDir().mkpath(QFileInfo(folder).absolutePath()));
    QVERIFY(writeAll(folder, QByteArray()));
    const auto unblock = qScopeGuard([folder] { QFile::remove(folder); });
    static QStringList told;
    told.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &context, const QString &message) {
            if (qstrcmp(context.category, "kr7d.window.layout") == 0)
                told << message;
        });
    m_window.reset();
    std::make_unique<SensorWindow>(m_sensor).reset();
    qInstallMessageHandler(previous);

    QCOMPARE(told.size(), 1);
    QVERIFY2(told.constFirst().contains(folder), qPrintable(told.constFirst()));
}

void tst_SensorWindow::compareDialogGroupsDifferencesLikeTheTree()
{
    const QList<CompareRow> rows{{{"Output A1", "Pressure"}, "Set point", "2.50 bar", "5.00 bar", ""},
                                 {{"Output A1"}, "Logic", "NC", "NO", ""},
                                 {{"Output A1", "Pressure"}, "Reset point", "1.00 bar", "2.00 bar", ""},
                                 {{"Display"}, "Unit", "psi", "bar", "not yet written"}};
    CompareDialog dialog(QStringLiteral("/tmp/line4.tgs"), rows);
    QTreeWidget *tree = dialog.differenceTree();
    QVERIFY(tree);
    QCOMPARE(leaves(tree->invisibleRootItem()),
             QStringList({"Output A1/Pressure/Set point=2.50 bar|5.00 bar",
                          "Output A1/Pressure/Reset point=1.00 bar|2.00 bar",
                          "Output A1/Logic=NC|NO", "Display/Unit=psi|bar"}));
    const QTreeWidgetItem *unit = tree->topLevelItem(1)->child(0);
    QVERIFY(unit->font(2).italic() && !tree->topLevelItem(0)->child(1)->font(2).italic());
    QCOMPARE(unit->toolTip(2), QStringLiteral("not yet written"));

    CompareDialog same(QStringLiteral("/tmp/line4.tgs"), {});
    QVERIFY(!same.differenceTree());
    const QList<QLabel *> labels = same.findChildren<QLabel *>();
    QVERIFY(std::any_of(labels.cbegin(), labels.cend(), [](const QLabel *label) {
        return label->text() == QLatin1String("No differences");
    }));
}

void tst_SensorWindow::saveNamesTheOwnersOrKeepsTheOldFile()
{
    const QByteArray file = readAll(savedFile());
    QVERIFY(file.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<root "
                            "pluginid=\"IoLinkKR7Dfamily\" sensorid=\""
                            + QByteArray::fromStdString(m_sensor.name())
                            + "\">\n    <pluginsettings>\n"));
    QVERIFY(file.contains("ThresholdsPressure1A1=2.500000;"));

    // A disk that fills up half-way: the file size limit stops the write.
    const QString path = m_dir.filePath(QStringLiteral("old.tgs"));
    QVERIFY(writeAll(path, "old content"));
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

void tst_SensorWindow::openOutcome_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("box"); // after the question a connected window asks
    QTest::addColumn<bool>("taken");
    QTest::addColumn<qint64>("growTo"); // zero bytes appended up to this size
    QTest::addColumn<bool>("connected");

    const auto row = [](const char *name, const Edit &edit, const QString &box, bool taken,
                        qint64 growTo = 0, bool connected = false) {
        QTest::newRow(name) << edit << box << taken << growTo << connected;
    };
    // Refused onto a connected sensor, which must not get a single write.
    const auto refused = [&row](const char *name, const Edit &edit, const QString &box = Corrupted,
                                qint64 growTo = 0) { row(name, edit, box, false, growTo, true); };
    const Edit none = [](QByteArray file) { return file; };
    // The saved file holds the switching point 2.5 in bar, the units entry 0.
    const Edit inPsi = [](QByteArray file) {
        const QByteArray units = ParameterIds::temperatureSettings;
        return file.replace(units + "=0;", units + "=1;")
            .replace("ThresholdsPressure1A1=2.500000;", "ThresholdsPressure1A1=400.000000;");
    };
    row("intact file", none, QString(), true);
    row("intact file, sensor connected", none, QString(), true, 0, true);
    row("unknown ids and empty entries",
        replace("propertytreedata data=\"", "propertytreedata data=\";;Unknown=3;;=;"), QString(),
        true);
    refused("missing file", Edit());
    refused("empty file", content({}));
    refused("binary junk", content(QByteArray::fromHex("00ff13fe7f80c0de").repeated(64)));
    refused("truncated", [](QByteArray file) { return file.left(file.size() / 2); });
    refused("deeply nested", content(QByteArray("<a>").repeated(100000)));
    refused("larger than any settings file", none, Corrupted,
            BravoSensorPlugin::Core::maxSettingsFileBytes + 1);
    refused("no element root", replace("root", "rout"));
    refused("wrong pluginid", replace("IoLinkKR7Dfamily", "IoLinkOther"), Foreign);
    refused("no sensorid", replace("sensorid=", "sensorname="), Foreign);
    refused("no chartdata1", replace("chartdata1", "chartdata2"));
    refused("damaged temperature history", replace("chartdata1 data=\"h", "chartdata1 data=\"x"));
    refused("not a number", replace("OnDelay1=1234;", "OnDelay1=12x4;"));
    refused("out of range in psi", inPsi);
}

void tst_SensorWindow::openOutcome()
{
    QFETCH(Edit, edit);
    QFETCH(QString, box);
    QFETCH(bool, taken);
    QFETCH(qint64, growTo);
    QFETCH(bool, connected);

    // Saved for the sensor's own range; the charts hold still from here on.
    attachMaster(connected);
    data().liveDataEnabled = false;
    const QString saved = savedFile();
    const QVariantList fileValues = storedValues();
    const QString path = m_dir.filePath(QStringLiteral("edited.tgs"));
    QFile::remove(path);
    if (edit)
        QVERIFY(writeAll(path, edit(readAll(saved))));
    if (growTo)
        QVERIFY(QFile::resize(path, growTo));
    data().intManager->setValue(property("OnDelay1"), 7);
    data().doubleManager->setValue(property("ThresholdsPressure1A1"), 9.0);
    data().boolManager->setValue(property("RemoteSwitchingOutput"), false);
    data().enumManager->setValue(property("PinFunctionA1"), 1);
    // The edits go out before the file is opened, so whatever is written after is the file's.
    QVERIFY(QMetaObject::invokeMethod(m_window.get(), "sendDelayValue"));
    data().chart->setData(0, history(3, 7.0));
    data().chart->setData(1, history(4, 70.0));
    const QVariantList before = storedValues();
    const QVariantList sensorBefore = sensorValues();
    const int logged = m_master->queryLog().size();
    QStringList boxes;
    if (connected)
        boxes << QStringLiteral("Open Settings|Loaded settings will override the current project");
    if (!box.isEmpty())
        boxes << box;
    for (int i = 0; i < boxes.size(); ++i)
        m_hand->expect(ModalHand::click(QMessageBox::Ok));

    QCOMPARE(m_window->bOpenSettings(path), taken);
    QCOMPARE(m_hand->boxesSeen(), boxes);
    QCOMPARE(storedValues(), taken ? fileValues : before);
    QCOMPARE(withCommand(m_master->queryLog().mid(logged), 0x24).isEmpty(), !(connected && taken));
    QCOMPARE(sensorValues(), connected && taken ? QVariantList({1234, 2500}) : sensorBefore);
}

void tst_SensorWindow::emptyHistoriesOpenAsEmptyPlots()
{
    QString file = QString::fromUtf8(readAll(savedFile()));
    file.replace(QRegularExpression(QStringLiteral("(chartdata1?) data=\"[^\"]*\"")),
                 QStringLiteral("\\1 data=\"\""));
    QCOMPARE(file.count(QStringLiteral("data=\"\"")), 2);
    const QString path = m_dir.filePath(QStringLiteral("empty.tgs"));
    QVERIFY(writeAll(path, file.toUtf8()));
    data().intManager->setValue(property("OnDelay1"), 7);

    QVERIFY(m_window->bOpenSettings(path));
    QCOMPARE(data().intManager->value(property("OnDelay1")), 1234);
    QCOMPARE(data().chart->getData(0)->size(), 0);
    QCOMPARE(data().chart->getData(1)->size(), 0);
}

void tst_SensorWindow::csvHasOneColumnPerPlot_data()
{
    QTest::addColumn<QString>("delimiter");
    QTest::addColumn<int>("unitIndex");
    QTest::addColumn<QByteArray>("header"); // UTF-8
    QTest::newRow("semicolon, bar and Celsius")
        << QStringLiteral(";") << 0 << QByteArray("Time;Pressure (bar);Temperature (\xC2\xB0\x43)");
    QTest::newRow("tab and comma, psi and Fahrenheit")
        << QStringLiteral("\t,") << 5
        << QByteArray("Time;Pressure (psi);Temperature (\xC2\xB0\x46)");
}

void tst_SensorWindow::csvHasOneColumnPerPlot()
{
    QFETCH(QString, delimiter);
    QFETCH(QByteArray, header);
    QFETCH(int, unitIndex);
    data().unitIndex = unitIndex;
    data().chart->setData(0, history(2, 2.5, -2.625));
    data().chart->setData(1, history(2, 25.0, 0.55));
    const QString path = m_dir.filePath(QStringLiteral("export.csv"));
    QVERIFY(m_window->exportChartData(path, delimiter));
    QCOMPARE(readAll(path), QByteArray(header
                                       + "\n"
                                         "04-12-2026 14:03:07.250;2.50;25.00\n"
                                         "04-12-2026 14:03:07.500;-0.12;25.55\n")
                                .replace(';', delimiter.toLatin1()));
}

void tst_SensorWindow::clearHistoryOnlyWhenConfirmed_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<int>("samplesLeft");
    QTest::newRow("Yes") << QMessageBox::Yes << 0;
    QTest::newRow("No") << QMessageBox::No << 2;
}

void tst_SensorWindow::clearHistoryOnlyWhenConfirmed()
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

void tst_SensorWindow::unitChangeConvertsEveryPoint_data()
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

void tst_SensorWindow::unitChangeConvertsEveryPoint()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, id);
    QFETCH(double, before);
    QtProperty *point = property(id.toLatin1().constData());
    configure({}, from);
    setQuietly(*m_window, id.toLatin1().constData(), before);

    data().enumManager->setValue(property(ParameterIds::temperatureSettings), to);
    QTEST(data().doubleManager->value(point), "after");
    QTEST(data().doubleManager->maximum(point), "maximum");
    QCOMPARE(data().unitIndex, to);
}

void tst_SensorWindow::writesGoInBarAndCelsius_data()
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

void tst_SensorWindow::writesGoInBarAndCelsius()
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
        setQuietly(*m_window, otherId.toLatin1().constData(), other);
        settle();
    }
    // Off the edited value first, so that the edit is a change.
    setQuietly(*m_window, id.toLatin1().constData(), edited / 2 + 0.5);
    const int logged = m_master->queryLog().size();
    data().doubleManager->setValue(property(id.toLatin1().constData()), edited);
    settle();
    QTEST(data().doubleManager->value(property(id.toLatin1().constData())), "shown");
    QTEST(m_master->simulator().parameter(id).toInt(), "number");
    QCOMPARE(withCommand(m_master->queryLog().mid(logged), 0x24).size(), 1);
}

void tst_SensorWindow::droppedMarkWritesItsClampedValueOnce_data()
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

    QTest::newRow("psi shown, bar sent")
        << 1 << 3 << 5 << 0 << 0 << false << "ThresholdsPressure1A1" << 116.032 << 8000;
    QTest::newRow("both on pressure, output 2 chosen")
        << 1 << 1 << 0 << 1 << 0 << true << "ThresholdsPressure2A2" << 8.0 << 8000;
    QTest::newRow("Fahrenheit shown, Celsius sent")
        << 0 << 3 << 4 << 0 << 1 << false << "ThresholdsTemp1A1" << 212.0 << 10000;
}

void tst_SensorWindow::droppedMarkWritesItsClampedValueOnce()
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
    QtProperty *point = property(id.toLatin1().constData());
    data().doubleManager->setMaximum(point, maximum);
    settle();
    data().chart->updateChart(true);

    Utils::ThresholdWindowWidget *marks = data().thresholdWidgets.at(plot);
    QwtPlot *qwtPlot = data().chart->poPlot(plot);
    const auto at = [&](int pixelY) {
        return qwtPlot->canvas()->mapTo(m_window.get(),
                                        QPoint(qwtPlot->canvas()->width() / 2, pixelY));
    };
    const int from = qRound(qwtPlot->transform(QwtPlot::yLeft, data().doubleManager->value(point)));
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

void tst_SensorWindow::currentOutputScalesThePressurePlotToItsPoints()
{
    configure({{"PinFunctionA2", 3}, {"AnalogMode", 1}}, 1);
    setQuietly(*m_window, "analogPressure0V", 14.504);
    setQuietly(*m_window, "analogPressure10V", 217.56);
    settle();
    data().chart->updateChart(true);

    QwtPlot *pressure = data().chart->poPlot(0);
    QVERIFY(pressure->axisEnabled(QwtPlot::yRight));
    QVERIFY(!data().chart->poPlot(1)->axisEnabled(QwtPlot::yRight));
    // The points lie inside the measuring range: the plot shows all of it, and the right axis
    // still puts 4 and 20 mA at the points.
    const double psi = BravoSensorPlugin::Core::pressureUnitFactor(1);
    const QwtInterval left = pressure->axisScaleDiv(QwtPlot::yLeft).interval();
    QCOMPARE(left, QwtInterval(data().pressureRangeMin * psi, data().pressureRangeMax * psi));
    QCOMPARE(pressure->axisScaleDiv(QwtPlot::yRight).interval(),
             QwtInterval(analogAt(left.minValue(), 14.504, 217.56),
                         analogAt(left.maxValue(), 14.504, 217.56)));
    QCOMPARE(property("analogPressure0V")->propertyName(), QStringLiteral("4 mA"));
}

void tst_SensorWindow::liveSamplesStayInsideThePlot_data()
{
    QTest::addColumn<QString>("sensorName");
    QTest::addColumn<QString>("productId");
    const std::optional<Kr7dSim::DeviceDescription> description
        = Kr7dSim::DeviceDescription::fromFile(descriptionPath());
    QVERIFY(description);
    for (const Kr7dSim::SensorType &type : description->sensors()) {
        for (const Kr7dSim::Variant &variant : type.variants) {
            QTest::newRow(qPrintable(type.name + QLatin1Char(' ') + variant.id3))
                << type.name << type.id + variant.id3;
        }
    }
}

// With A2 analog on pressure the sensor's own points span its range. Whatever the points, the
// range and every sample stay on the plot, and the right axis maps the points onto 4..20 mA.
void tst_SensorWindow::liveSamplesStayInsideThePlot()
{
    QFETCH(QString, sensorName);
    QFETCH(QString, productId);
    for (const ExtensionSystem::SensorBasic &sensor :
         BravoSensorPlugin::Core::buildSensorCatalogue()) {
        if (QString::fromStdString(sensor.name()) == sensorName)
            m_window = std::make_unique<SensorWindow>(sensor);
    }
    attachMaster(true, productId);
    configure({{"PinFunctionA2", 3}, {"AnalogMode", 1}}, 0);
    const double rangeMin = data().pressureRangeMin;
    const double rangeMax = data().pressureRangeMax;
    QCOMPARE(QwtInterval(data().doubleManager->value(property("analogPressure0V")),
                         data().doubleManager->value(property("analogPressure10V"))),
             QwtInterval(rangeMin, rangeMax));

    const Utils::ValueOverTime *samples = data().chart->getData(0);
    for (const double spanShare : {1.0, 0.1}) {
        const double low = rangeMin;
        const double high = rangeMin + (rangeMax - rangeMin) * spanShare;
        setQuietly(*m_window, "analogPressure10V", high);
        settle();
        const int before = samples->size();
        QTRY_VERIFY(samples->size() >= before + 20);
        data().chart->updateChart(true);

        QwtPlot *pressure = data().chart->poPlot(0);
        const QwtInterval left = pressure->axisScaleDiv(QwtPlot::yLeft).interval();
        QVERIFY(left.contains(rangeMin) && left.contains(rangeMax));
        for (int i = 0; i < samples->size(); ++i) {
            const double value = samples->sample(i).value;
            QVERIFY2(left.contains(value), qPrintable(QString::number(value)));
        }
        const QwtInterval right = pressure->axisScaleDiv(QwtPlot::yRight).interval();
        QCOMPARE(right.minValue(), analogAt(left.minValue(), low, high));
        QCOMPARE(right.maxValue(), analogAt(left.maxValue(), low, high));
    }
}

void tst_SensorWindow::switchTo(const char *code)
{
    m_switcher->switchTo(QString::fromLatin1(code));
    // The application posts the change to its top-level widgets.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
}

void tst_SensorWindow::switchBackFromGerman(const std::function<void()> &inGerman)
{
    attachMaster();
    switchTo("de");
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
    if (inGerman)
        inGerman();
    switchTo("en");
}

QString tst_SensorWindow::text(const QString &what)
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
    if (what.startsWith(QLatin1String("dock of plot ")))
        return data().chart->getDockChartItem(what.right(1).toInt())->windowTitle();
    const int row = what.right(1).toInt();
    return data().processDataItems.at(row)->text(what.startsWith(QLatin1String("caption")) ? 0 : 1);
}

void tst_SensorWindow::textsFollowTheLanguage_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("english");
    const auto row = [](const char *name, const char *what, const QString &english) {
        QTest::newRow(name) << QString::fromLatin1(what) << english;
    };
    row("category", "DisplaySettings", "Units and filter");
    row("hidden parameter", "DeviceStatusReadOnly", "Device status");
    row("group captioned with its unit", "SettingsPointsTemperatureA1",
        QStringLiteral("Switching points Temperature (\u00B0C)"));
    row("property browser", "browser header", "Property");
    row("connection lamp", "connection lamp", "Connected");
    row("chart", "time axis", "Time");
    row("pressure chart's dock", "dock of plot 0", "Pressure");
    row("temperature chart's dock", "dock of plot 1", "Temperature");
    row("button text", "button", "Teach");
    row("process-data caption", "caption 0", "Output A1     ");
    row("output state", "value 0", "Off");
    row("signal state", "value 2", "No");
}

void tst_SensorWindow::textsFollowTheLanguage()
{
    QFETCH(QString, what);
    QString german;
    switchBackFromGerman([&] { german = text(what); });
    QTEST(text(what), "english");
    QVERIFY2(german != text(what), qPrintable(german));
}

void tst_SensorWindow::languageSwitchKeepsChoicesAndWritesNothing()
{
    int logged = 0;
    switchBackFromGerman([&] { logged = m_master->queryLog().size(); });
    QtProperty *function = property("PinFunctionA1");
    QCOMPARE(data().enumManager->value(function), 0);
    QCOMPARE(data().enumManager->enumNames(function).value(0),
             QStringLiteral("Switching on temperature"));
    QCOMPARE(data().stringManager->value(property("ApplicationTag")), QStringLiteral("Pneumatics"));
    QCOMPARE(data().outputsCombo->currentText(), QStringLiteral("Output 2"));
    QCOMPARE(data().portCombo->currentText(), QStringLiteral("COM3"));
    const QString title = QString::fromStdString(m_sensor.name()) + QStringLiteral(" (COM3)");
    QCOMPARE(m_window->windowTitle(), title);
    QCOMPARE(data().rootProperty->propertyName(), title);
    QCOMPARE(form()->statusBar->currentMessage(), title);
    QVERIFY(withCommand(m_master->queryLog().mid(logged), 0x24).isEmpty());
    QVERIFY(!m_window->sendDelayTimer()->isActive());
    // Edits count again once the switch is done.
    data().intManager->setValue(property("OnDelay1"), 150);
    QVERIFY(m_window->sendDelayTimer()->isActive());
}

void tst_SensorWindow::germanWindowShowsCommasItsFilesKeepPoints()
{
    switchTo("de");
    const QString saved = savedFile();
    const QVariantList fileValues = storedValues();
    QCOMPARE(property("ThresholdsPressure1A1")->valueText(), QStringLiteral("2,50"));
    QVERIFY(readAll(saved).contains("2.500000"));
    const QString csv = m_dir.filePath(QStringLiteral("german.csv"));
    QVERIFY(m_window->exportChartData(csv, QStringLiteral(";")));
    QVERIFY(readAll(csv).contains(";2.00;25.00\n"));

    data().doubleManager->setValue(property("ThresholdsPressure1A1"), 9.0);
    QVERIFY(m_window->bOpenSettings(saved));
    QCOMPARE(storedValues(), fileValues);

    attachMaster();
    const auto pressure = [this] { return text(QStringLiteral("value 4")); };
    QTRY_VERIFY2(pressure().contains(QLatin1Char(',')), qPrintable(pressure()));
    QVERIFY(!pressure().contains(QLatin1Char('.')));
}

QTEST_MAIN(tst_SensorWindow)
#include "tst_sensorwindow.moc"
