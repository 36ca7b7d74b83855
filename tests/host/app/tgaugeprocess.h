#pragma once

// Runs the tgauge executable and collects what it printed.
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct TgaugeRun
{
    bool finished = false;
    int exitCode = -1;
    QString out;
    QString err;
};

// Without a display variable tgauge has to pick the headless platform itself.
inline QProcessEnvironment environmentWithoutDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    return environment;
}

inline TgaugeRun runTgauge(const QStringList &arguments, int timeoutMs = 30000)
{
    QProcess process;
    process.setProcessEnvironment(environmentWithoutDisplay());
    process.start(QStringLiteral(TGAUGE_EXECUTABLE), arguments);
    TgaugeRun run;
    run.finished = process.waitForFinished(timeoutMs);
    if (!run.finished)
        process.kill();
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}
