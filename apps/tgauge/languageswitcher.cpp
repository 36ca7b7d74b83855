#include "languageswitcher.h"

#include "appfolders.h"

#include <extensionsystem/globals.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMap>
#include <QTranslator>

#include <utility>

namespace TGauge {

LanguageSwitcher::LanguageSwitcher(QStringList catalogueDirectories, QStringList qtDirectories,
                                   QObject *parent)
    : QObject(parent)
    , m_directories(std::move(catalogueDirectories))
    , m_qtDirectories(std::move(qtDirectories))
    , m_language(QString::fromStdString(ExtensionSystem::Globals::getLanguage()))
{
    QLocale::setDefault(displayLocale(m_language));
}

// A QTranslator removes itself from the application when it is destroyed.
LanguageSwitcher::~LanguageSwitcher() = default;

// Numbers in the window read as the language writes them; thousands stay unseparated, as
// the editors and the charts' narrow labels have no room for them.
QLocale LanguageSwitcher::displayLocale(const QString &code)
{
    QLocale locale(code);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

QStringList LanguageSwitcher::defaultDirectories()
{
    QStringList directories;
    for (const QString &folder : applicationFolders())
        directories << folder + QStringLiteral("/translations");
    return directories;
}

QStringList LanguageSwitcher::qtDirectories()
{
    return {QLibraryInfo::location(QLibraryInfo::TranslationsPath)};
}

QStringList LanguageSwitcher::pluginDirectories(const QStringList &pluginFiles)
{
    QStringList directories;
    for (const QString &file : pluginFiles)
        directories << QFileInfo(file).absolutePath() + QStringLiteral("/translations");
    directories.removeDuplicates();
    return directories;
}

void LanguageSwitcher::addCatalogueDirectories(const QStringList &directories)
{
    m_directories << directories;
    installCatalogues();
}

QString LanguageSwitcher::language() const
{
    return m_language;
}

QStringList LanguageSwitcher::installedFiles() const
{
    QStringList files;
    for (const auto &translator : m_translators)
        files << translator->filePath();
    return files;
}

void LanguageSwitcher::switchTo(const QString &code)
{
    // Plug-ins read the code while they handle the LanguageChange event that
    // installing and removing translators sends, so it is set first.
    ExtensionSystem::Globals::setLanguage(code.toStdString());
    m_language = code;
    QLocale::setDefault(displayLocale(code));

    installCatalogues();
    emit languageChanged(code);
}

void LanguageSwitcher::installCatalogues()
{
    for (const auto &translator : m_translators)
        QCoreApplication::removeTranslator(translator.get());
    m_translators.clear();

    QMap<QString, QString> found; // file name -> path
    const QString suffix = QLatin1Char('_') + m_language + QStringLiteral(".qm");
    for (const QString &directory : std::as_const(m_directories)) {
        const QDir folder(directory);
        const QStringList names = folder.entryList({QLatin1Char('*') + suffix}, QDir::Files);
        for (const QString &name : names) {
            if (!found.contains(name))
                found.insert(name, folder.filePath(name));
        }
    }
    // Qt's dialogs and command-line parser, and the serial port's error texts.
    for (const QString &module : {QStringLiteral("qtbase"), QStringLiteral("qtserialport")}) {
        const QString qtCatalogue = module + suffix;
        for (const QString &directory : std::as_const(m_qtDirectories)) {
            const QString path = QDir(directory).filePath(qtCatalogue);
            if (!found.contains(qtCatalogue) && QFileInfo::exists(path))
                found.insert(qtCatalogue, path);
        }
    }

    for (const QString &path : std::as_const(found)) {
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(path))
            continue;
        QCoreApplication::installTranslator(translator.get());
        m_translators.push_back(std::move(translator));
    }
}

} // namespace TGauge
