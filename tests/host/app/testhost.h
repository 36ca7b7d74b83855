#pragma once

// A host main window around the fake plug-ins, for the tests of the host's behaviour.
#include <app/languageswitcher.h>
#include <app/mainwindow.h>
#include <app/pluginloader.h>
#include <app/portlist.h>

#include <extensionsystem/plugininterface.h>

#include <QRegularExpression>

#include <vector>

inline std::vector<TGauge::PluginLoadResult> fakeLoadResults()
{
    std::vector<TGauge::PluginLoadResult> results;
    for (const char *suffix : {"", "_without_vSensorMap"}) {
        results.push_back(
            TGauge::PluginLoader::load(QStringLiteral(FAKE_PLUGIN_DIR "/libkr7d_fake_plugin%1.so")
                                           .arg(QLatin1String(suffix))));
    }
    return results;
}

// The calls the fake plugin object got from the host whose text matches the pattern, oldest first.
inline QStringList callsOf(const QObject *object, const QString &pattern = QString())
{
    return object->property("calls").toStringList().filter(QRegularExpression(pattern));
}

struct TestHost
{
    explicit TestHost(std::vector<TGauge::PluginLoadResult> loadResults = fakeLoadResults())
        : window(std::move(loadResults), ports, languages)
    {
    }

    QStringList systemPorts{QStringLiteral("COM1"), QStringLiteral("COM4")};
    TGauge::PortList ports{{QStringLiteral("SIM")}, [this] { return systemPorts; }};
    TGauge::LanguageSwitcher languages{QStringList{}};
    TGauge::MainWindow window;
};
