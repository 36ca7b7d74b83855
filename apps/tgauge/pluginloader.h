#pragma once

#include "pluginlibrary.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace TGauge {

// What became of one library file.
struct PluginLoadResult
{
    QString filePath;
    std::optional<PluginLibrary> library; // empty when refused
    QString error;                        // why it was refused
};

// Loads sensor plug-ins with QLibrary, refuses those that lack an entry point
// and asks the others for their texts and their sensor catalogue.
class PluginLoader final
{
    Q_DECLARE_TR_FUNCTIONS(TGauge::PluginLoader)

public:
    explicit PluginLoader(QString directory);

    QString directory() const;

    // Every library file of the directory, in file-name order.
    std::vector<PluginLoadResult> loadAll() const;

    static PluginLoadResult load(const QString &filePath);
    static QStringList requiredExports();

private:
    QString m_directory;
};

} // namespace TGauge
