#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

QT_BEGIN_NAMESPACE
class QLocale;
class QTranslator;
QT_END_NAMESPACE

namespace TGauge {

// Installs the translations of one language: every catalogue <name>_<code>.qm of the
// application's and the plug-ins' translation folders, and Qt's own qtbase_ and
// qtserialport_<code>.qm. The language's locale is the default one from construction on, so
// that shown numbers follow the language and not the system's settings.
// The host knows no catalogue by name, so each library ships and names its own.
class LanguageSwitcher final : public QObject
{
    Q_OBJECT
public:
    // A file name found in several folders is taken from the first folder that has it;
    // qtDirectories are searched for Qt's own catalogues only.
    explicit LanguageSwitcher(QStringList catalogueDirectories, QStringList qtDirectories = {},
                              QObject *parent = nullptr);
    ~LanguageSwitcher() override;

    static QLocale displayLocale(const QString &code);
    static QStringList defaultDirectories(); // translations/ of each application folder
    static QStringList qtDirectories();      // Qt's translations folder
    // The translations folder beside each plug-in library.
    static QStringList pluginDirectories(const QStringList &pluginFiles);

    // More folders with catalogues, searched after the others; the current language is
    // installed again so that their catalogues take part at once.
    void addCatalogueDirectories(const QStringList &directories);

    QString language() const;
    // The translation files installed for the current language, in file-name order.
    QStringList installedFiles() const;

signals:
    void languageChanged(const QString &code);

public slots:
    void switchTo(const QString &code);

private:
    void installCatalogues();

    QStringList m_directories;
    QStringList m_qtDirectories;
    QString m_language;
    std::vector<std::unique_ptr<QTranslator>> m_translators;
};

} // namespace TGauge
