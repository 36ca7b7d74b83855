#pragma once

// A host main window around test plug-ins, for the tests of the host's behaviour.
#include <app/languageswitcher.h>
#include <app/mainwindow.h>
#include <app/pluginloader.h>
#include <app/portlist.h>

#include <extensionsystem/plugininterface.h>

#include <QStringList>

#include <vector>

inline QString fakePluginPath()
{
    return QStringLiteral(FAKE_PLUGIN_DIR "/libkr7d_fake_plugin.so");
}

inline std::vector<TGauge::PluginLoadResult> fakeLoadResults()
{
    std::vector<TGauge::PluginLoadResult> results;
    results.push_back(TGauge::PluginLoader::load(fakePluginPath()));
    results.push_back(TGauge::PluginLoader::load(
        QStringLiteral(FAKE_PLUGIN_DIR "/libkr7d_fake_plugin_without_vSensorMap.so")));
    return results;
}

// Every call the fake plugin object got from the host, oldest first.
inline QStringList callsOf(const QObject *object)
{
    return object->property("calls").toStringList();
}

inline QStringList callsStartingWith(const QObject *object, const QString &prefix)
{
    return callsOf(object).filter(
        QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(prefix)));
}

struct TestHost
{
    explicit TestHost(std::vector<TGauge::PluginLoadResult> loadResults = fakeLoadResults(),
                      QStringList translationDirectories = {})
        : languages(std::move(translationDirectories))
        , window(std::move(loadResults), ports, languages)
    {
    }

    QStringList systemPorts{QStringLiteral("COM1"), QStringLiteral("COM4")};
    TGauge::PortList ports{{QStringLiteral("SIM")}, [this] { return systemPorts; }};
    TGauge::LanguageSwitcher languages;
    TGauge::MainWindow window;
};
