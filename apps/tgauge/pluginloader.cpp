#include "pluginloader.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QSet>

#include <exception>
#include <utility>

namespace TGauge {

namespace {

const char *const exportNames[] = {
    "vInitialisePlugin",   "pcTessvorTGaugePluginName", "pcPluginVersion", "pcDescription",
    "pcCommunicationType", "poGetInterfaceInstance",    "vSensorMap",
};

template <typename Function>
void resolve(QLibrary &library, const char *symbol, Function &target, QStringList &missing)
{
    target = reinterpret_cast<Function>(library.resolve(symbol));
    if (!target)
        missing << QString::fromLatin1(symbol);
}

PluginExports resolveExports(QLibrary &library, QStringList &missing)
{
    PluginExports e;
    resolve(library, exportNames[0], e.vInitialisePlugin, missing);
    resolve(library, exportNames[1], e.pcTessvorTGaugePluginName, missing);
    resolve(library, exportNames[2], e.pcPluginVersion, missing);
    resolve(library, exportNames[3], e.pcDescription, missing);
    resolve(library, exportNames[4], e.pcCommunicationType, missing);
    resolve(library, exportNames[5], e.poGetInterfaceInstance, missing);
    resolve(library, exportNames[6], e.vSensorMap, missing);
    return e;
}

QString text(PluginExports::TextFunction function)
{
    return QString::fromUtf8(function());
}

// The order of the calls is the one a plug-in may rely on: initialise first,
// then the texts, then the catalogue.
void introduce(PluginLibrary &plugin)
{
    const PluginExports &e = plugin.exports;
    e.vInitialisePlugin();
    plugin.name = text(e.pcTessvorTGaugePluginName);
    plugin.version = text(e.pcPluginVersion);
    plugin.description = text(e.pcDescription);
    plugin.communicationType = text(e.pcCommunicationType);
    std::list<ExtensionSystem::SensorBasic> catalogue;
    e.vSensorMap(&catalogue);
    plugin.sensors.assign(catalogue.begin(), catalogue.end());
}

} // namespace

PluginLoader::PluginLoader(QString directory)
    : m_directory(std::move(directory))
{
}

QString PluginLoader::directory() const
{
    return m_directory;
}

std::vector<PluginLoadResult> PluginLoader::loadAll() const
{
    std::vector<PluginLoadResult> results;
    const QDir dir(m_directory);
    QSet<QString> seen; // libfoo.so and its version links are one library
    const QFileInfoList entries = dir.entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (!QLibrary::isLibrary(entry.fileName()))
            continue;
        const QString canonical = entry.canonicalFilePath();
        if (seen.contains(canonical))
            continue;
        seen.insert(canonical);
        results.push_back(load(entry.absoluteFilePath()));
    }
    return results;
}

PluginLoadResult PluginLoader::load(const QString &filePath)
{
    PluginLoadResult result{filePath, std::nullopt, QString()};
    QLibrary library(filePath);
    if (!library.load()) {
        result.error = tr("cannot be loaded: %1").arg(library.errorString());
        return result;
    }
    QStringList missing;
    PluginLibrary plugin{filePath, resolveExports(library, missing), {}, {}, {}, {}, {}};
    if (!missing.isEmpty()) {
        library.unload();
        result.error = tr("lacks the entry point(s) %1").arg(missing.join(QStringLiteral(", ")));
        return result;
    }
    try {
        introduce(plugin);
    } catch (const std::exception &failure) {
        result.error
            = tr("failed to describe itself: %1").arg(QString::fromLocal8Bit(failure.what()));
        return result;
    }
    result.library = std::move(plugin);
    return result;
}

QStringList PluginLoader::requiredExports()
{
    QStringList names;
    for (const char *name : exportNames)
        names << QString::fromLatin1(name);
    return names;
}

} // namespace TGauge
