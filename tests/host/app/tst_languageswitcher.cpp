#include <app/languageswitcher.h>

#include <extensionsystem/globals.h>

#include <QtTest>

using TGauge::LanguageSwitcher;

namespace {

const QString fixtures = QStringLiteral(FIXTURE_TRANSLATION_DIR);

QString pluginText()
{
    return QCoreApplication::translate("HostFixture", "Pressure");
}

QString qtText()
{
    return QCoreApplication::translate("QtFixture", "Cancel");
}

// Notes the language the host reports while the application handles LanguageChange.
class LanguageChangeWitness final : public QObject
{
public:
    QStringList seen;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::LanguageChange)
            seen << QString::fromStdString(ExtensionSystem::Globals::getLanguage());
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

class TestLanguageSwitcher : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void installsTheCataloguesFoundFirst_data();
    void installsTheCataloguesFoundFirst();
    void switchingBackRemovesTheTranslations();
    void pluginFoldersAddEveryCatalogueQtFoldersOnlyQts();
    void pluginsReadTheNewCodeWhileHandlingLanguageChange();
};

void TestLanguageSwitcher::init()
{
    ExtensionSystem::Globals::setLanguage("en");
}

void TestLanguageSwitcher::installsTheCataloguesFoundFirst_data()
{
    QTest::addColumn<QStringList>("firstDir");  // files copied into the first folder searched
    QTest::addColumn<QStringList>("secondDir"); // and into the second
    QTest::addColumn<QString>("code");
    QTest::addColumn<QStringList>("installed"); // as <folder index>/<file>
    QTest::addColumn<QString>("pluginText");
    QTest::addColumn<QString>("qtText");

    const QString plugin = QStringLiteral("IoLinkKR7Dfamily_de.qm");
    const QString qt = QStringLiteral("qtbase_de.qm");
    QTest::newRow("both in the application's folder")
        << QStringList{plugin, qt} << QStringList{} << "de" << QStringList{"0/" + plugin, "0/" + qt}
        << "Druck"
        << "Abbrechen";
    QTest::newRow("Qt's own catalogue from Qt's folder")
        << QStringList{plugin} << QStringList{qt} << "de" << QStringList{"0/" + plugin, "1/" + qt}
        << "Druck"
        << "Abbrechen";
    QTest::newRow("the first folder wins") << QStringList{qt} << QStringList{plugin, qt} << "de"
                                           << QStringList{"1/" + plugin, "0/" + qt} << "Druck"
                                           << "Abbrechen";
    QTest::newRow("no catalogue for the language")
        << QStringList{plugin, qt} << QStringList{} << "fr" << QStringList{} << "Pressure"
        << "Cancel";
    QTest::newRow("plug-in catalogue only")
        << QStringList{} << QStringList{plugin} << "de" << QStringList{"1/" + plugin} << "Druck"
        << "Cancel";
}

void TestLanguageSwitcher::installsTheCataloguesFoundFirst()
{
    QFETCH(QStringList, firstDir);
    QFETCH(QStringList, secondDir);
    QFETCH(QString, code);
    QFETCH(QStringList, installed);
    QTemporaryDir dirs[2];
    for (int i = 0; i < 2; ++i) {
        for (const QString &file : i == 0 ? firstDir : secondDir)
            QVERIFY(QFile::copy(fixtures + QLatin1Char('/') + file, dirs[i].filePath(file)));
    }
    QStringList expected;
    for (const QString &entry : installed)
        expected << dirs[entry.left(1).toInt()].filePath(entry.mid(2));

    LanguageSwitcher switcher({dirs[0].path(), dirs[1].path()});
    QSignalSpy changed(&switcher, &LanguageSwitcher::languageChanged);
    switcher.switchTo(code);

    QCOMPARE(switcher.installedFiles(), expected);
    QCOMPARE(switcher.language(), code);
    QCOMPARE(QString::fromStdString(ExtensionSystem::Globals::getLanguage()), code);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), code);
    QTEST(pluginText(), "pluginText");
    QTEST(qtText(), "qtText");
}

void TestLanguageSwitcher::switchingBackRemovesTheTranslations()
{
    LanguageSwitcher switcher({fixtures});
    switcher.switchTo(QStringLiteral("de"));
    QCOMPARE(pluginText(), QStringLiteral("Druck"));

    switcher.switchTo(QStringLiteral("en"));
    QVERIFY(switcher.installedFiles().isEmpty());
    QCOMPARE(pluginText(), QStringLiteral("Pressure"));
    QCOMPARE(qtText(), QStringLiteral("Cancel"));
    QCOMPARE(QString::fromStdString(ExtensionSystem::Globals::getLanguage()), QStringLiteral("en"));
}

void TestLanguageSwitcher::pluginFoldersAddEveryCatalogueQtFoldersOnlyQts()
{
    // A catalogue of any name counts; Qt's folder offers nothing but qtbase.
    QTemporaryDir qtFolder;
    QTemporaryDir pluginFolder;
    QVERIFY(QDir(pluginFolder.path()).mkdir(QStringLiteral("translations")));
    const QString plugin = QStringLiteral("IoLinkKR7Dfamily_de.qm");
    const QString qt = QStringLiteral("qtbase_de.qm");
    const QString other = pluginFolder.filePath(QStringLiteral("translations/Other_de.qm"));
    QVERIFY(QFile::copy(fixtures + QLatin1Char('/') + plugin, qtFolder.filePath(plugin)));
    QVERIFY(QFile::copy(fixtures + QLatin1Char('/') + qt, qtFolder.filePath(qt)));
    QVERIFY(QFile::copy(fixtures + QLatin1Char('/') + plugin, other));

    LanguageSwitcher switcher({}, {qtFolder.path()});
    switcher.switchTo(QStringLiteral("de"));
    QCOMPARE(switcher.installedFiles(), QStringList{qtFolder.filePath(qt)});
    QCOMPARE(pluginText(), QStringLiteral("Pressure"));

    QSignalSpy changed(&switcher, &LanguageSwitcher::languageChanged);
    const QString library = pluginFolder.filePath(QStringLiteral("libplugin.so"));
    switcher.addCatalogueDirectories(LanguageSwitcher::pluginDirectories({library, library}));
    QCOMPARE(switcher.installedFiles(), QStringList({other, qtFolder.filePath(qt)}));
    QCOMPARE(pluginText(), QStringLiteral("Druck"));
    QCOMPARE(changed.count(), 0);
}

void TestLanguageSwitcher::pluginsReadTheNewCodeWhileHandlingLanguageChange()
{
    LanguageChangeWitness witness;
    qApp->installEventFilter(&witness);
    {
        LanguageSwitcher switcher({fixtures});
        switcher.switchTo(QStringLiteral("de"));
        witness.seen.removeDuplicates();
        QCOMPARE(witness.seen, QStringList{"de"});

        witness.seen.clear();
        switcher.switchTo(QStringLiteral("en"));
        witness.seen.removeDuplicates();
        QCOMPARE(witness.seen, QStringList{"en"});
    }
    qApp->removeEventFilter(&witness);
}

QTEST_MAIN(TestLanguageSwitcher)
#include "tst_languageswitcher.moc"
