#include <app/pluginloader.h>

#include <QtTest>

using TGauge::PluginLoader;
using TGauge::PluginLoadResult;

namespace {

QString fakePlugin(const QString &suffix = QString())
{
    return QStringLiteral(FAKE_PLUGIN_DIR "/libkr7d_fake_plugin") + suffix + QStringLiteral(".so");
}

QStringList names(const std::vector<ExtensionSystem::SensorBasic> &sensors)
{
    QStringList result;
    for (const auto &sensor : sensors)
        result << QString::fromStdString(sensor.id() + ' ' + sensor.name());
    return result;
}

} // namespace

class TestPluginLoader : public QObject
{
    Q_OBJECT

private slots:
    void asksCompletePluginForTextsAndCatalogue();
    void refusesLibraryLackingAnEntryPoint_data();
    void refusesLibraryLackingAnEntryPoint();
    void refusesFileThatDoesNotLoad();
    void loadsEveryLibraryOfTheFolderInNameOrder();
    void missingFolderYieldsNothing();
};

void TestPluginLoader::asksCompletePluginForTextsAndCatalogue()
{
    const PluginLoadResult result = PluginLoader::load(fakePlugin());
    QVERIFY2(result.library, qPrintable(result.error));
    QVERIFY(result.error.isEmpty());
    QCOMPARE(result.filePath, fakePlugin());
    QCOMPARE(result.library->filePath, fakePlugin());
    QCOMPARE(result.library->name, QStringLiteral("FakeGauge"));
    QCOMPARE(result.library->version, QStringLiteral("0.1.2"));
    QCOMPARE(result.library->description, QStringLiteral("Fake plug-in  for the host's tests"));
    QCOMPARE(result.library->communicationType, QStringLiteral("SERIAL"));
    // The fake gives its catalogue only after vInitialisePlugin.
    QCOMPARE(names(result.library->sensors), (QStringList{"F001 Fake-A", "F002 Fake-B"}));
    QVERIFY(result.library->exports.poGetInterfaceInstance);
    QCOMPARE(result.library->exports.poGetInterfaceInstance(nullptr, nullptr), nullptr);
}

void TestPluginLoader::refusesLibraryLackingAnEntryPoint_data()
{
    QTest::addColumn<QString>("missing");
    const QString prefix = QStringLiteral("libkr7d_fake_plugin_without_");
    const QStringList files
        = QDir(QStringLiteral(FAKE_PLUGIN_DIR)).entryList({prefix + QLatin1Char('*')});
    QCOMPARE(files.size(), PluginLoader::requiredExports().size());
    for (const QString &file : files) {
        const QString name = file.mid(prefix.size()).chopped(3);
        QTest::newRow(qPrintable(QStringLiteral("without ") + name)) << name;
    }
}

void TestPluginLoader::refusesLibraryLackingAnEntryPoint()
{
    QFETCH(QString, missing);
    const QString file = fakePlugin(QStringLiteral("_without_") + missing);
    QVERIFY(QFileInfo::exists(file));
    const PluginLoadResult result = PluginLoader::load(file);
    QVERIFY(!result.library);
    QCOMPARE(result.filePath, file);
    QCOMPARE(result.error, QStringLiteral("lacks the entry point(s) ") + missing);
}

void TestPluginLoader::refusesFileThatDoesNotLoad()
{
    QTemporaryDir dir;
    QFile broken(dir.filePath(QStringLiteral("libbroken.so")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("not an ELF file");
    broken.close();

    const PluginLoadResult result = PluginLoader::load(broken.fileName());
    QVERIFY(!result.library);
    QVERIFY2(result.error.startsWith(QStringLiteral("cannot be loaded: ")),
             qPrintable(result.error));
}

void TestPluginLoader::loadsEveryLibraryOfTheFolderInNameOrder()
{
    QTemporaryDir dir;
    QVERIFY(QFile::copy(fakePlugin(), dir.filePath(QStringLiteral("libb_complete.so"))));
    QVERIFY(QFile::copy(fakePlugin(QStringLiteral("_without_vSensorMap")),
                        dir.filePath(QStringLiteral("liba_incomplete.so"))));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("libb_complete.so")),
                        dir.filePath(QStringLiteral("libb_complete.so.1"))));
    QFile readme(dir.filePath(QStringLiteral("README.txt")));
    QVERIFY(readme.open(QIODevice::WriteOnly));
    readme.close();

    const std::vector<PluginLoadResult> results = PluginLoader(dir.path()).loadAll();
    QCOMPARE(results.size(), size_t(2));
    QCOMPARE(QFileInfo(results[0].filePath).fileName(), QStringLiteral("liba_incomplete.so"));
    QVERIFY(!results[0].library);
    QCOMPARE(results[0].error, QStringLiteral("lacks the entry point(s) vSensorMap"));
    QCOMPARE(QFileInfo(results[1].filePath).fileName(), QStringLiteral("libb_complete.so"));
    QVERIFY2(results[1].library, qPrintable(results[1].error));
    QCOMPARE(results[1].library->sensors.size(), size_t(2));
}

void TestPluginLoader::missingFolderYieldsNothing()
{
    QTemporaryDir dir;
    QVERIFY(PluginLoader(dir.filePath(QStringLiteral("absent"))).loadAll().empty());
}

QTEST_GUILESS_MAIN(TestPluginLoader)
#include "tst_pluginloader.moc"
