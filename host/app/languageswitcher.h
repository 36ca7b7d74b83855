#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

QT_BEGIN_NAMESPACE
class QTranslator;
QT_END_NAMESPACE

namespace TGauge {

// Installs the translations of one language for the plug-ins and for Qt itself.
class LanguageSwitcher final : public QObject
{
    Q_OBJECT
public:
    // translationDirectories are searched in order for IoLinkKR7Dfamily_<code>.qm
    // and qtbase_<code>.qm; the first file found of each is installed.
    explicit LanguageSwitcher(QStringList translationDirectories, QObject *parent = nullptr);
    ~LanguageSwitcher() override;

    static QStringList defaultDirectories();

    QString language() const;
    // The translation files installed for the current language.
    QStringList installedFiles() const;

signals:
    void languageChanged(const QString &code);

public slots:
    void switchTo(const QString &code);

private:
    QStringList m_directories;
    QString m_language;
    std::vector<std::unique_ptr<QTranslator>> m_translators;
};

} // namespace TGauge
