#include "languageswitcher.h"

#include <extensionsystem/globals.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

#include <utility>

namespace TGauge {

namespace {

const char *const catalogues[] = {"IoLinkKR7Dfamily", "qtbase"};

} // namespace

LanguageSwitcher::LanguageSwitcher(QStringList translationDirectories, QObject *parent)
    : QObject(parent)
    , m_directories(std::move(translationDirectories))
    , m_language(QString::fromStdString(ExtensionSystem::Globals::getLanguage()))
{
}

// A QTranslator removes itself from the application when it is destroyed.
LanguageSwitcher::~LanguageSwitcher() = default;

QStringList LanguageSwitcher::defaultDirectories()
{
    return {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
            QLibraryInfo::location(QLibraryInfo::TranslationsPath)};
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

    for (const auto &translator : m_translators)
        QCoreApplication::removeTranslator(translator.get());
    m_translators.clear();

    for (const char *catalogue : catalogues) {
        const QString fileName = QString::fromLatin1(catalogue) + QLatin1Char('_') + code + QStringLiteral(".qm");
        for (const QString &directory : std::as_const(m_directories)) {
            const QString path = directory + QLatin1Char('/') + fileName;
            auto translator = std::make_unique<QTranslator>();
            if (!QFileInfo::exists(path) || !translator->load(path))
                continue;
            QCoreApplication::installTranslator(translator.get());
            m_translators.push_back(std::move(translator));
            break;
        }
    }
    emit languageChanged(code);
}

} // namespace TGauge
