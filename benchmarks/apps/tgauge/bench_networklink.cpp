#include <support/simulatorprocess.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <map>
#include <vector>

namespace {

// Runs per link; BENCH_NETWORK_RUNS overrides.
int runs()
{
    bool ok = false;
    const int count = qEnvironmentVariableIntValue("BENCH_NETWORK_RUNS", &ok);
    return ok && count > 0 ? count : 3;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Timing
{
    double readAllMs = 0; // until the last result fetch is answered: connect, identity, read-all
    std::vector<double> pollIntervals; // between two polls sent
};

// "<ms> <port> > 02 70 22" lines are the polls, "> 02 73 27" the result fetches of the reads; a
// batch run reads only while it connects.
Timing timingOf(const QString &traceFile)
{
    QFile file(traceFile);
    Timing timing;
    if (!file.open(QIODevice::ReadOnly))
        return timing;
    double lastPoll = -1;
    bool fetchSent = false;
    while (!file.atEnd()) {
        const QString line = QString::fromLatin1(file.readLine().trimmed());
        const double at = line.section(QLatin1Char(' '), 0, 0).toDouble();
        const QString direction = line.section(QLatin1Char(' '), 2, 2);
        if (fetchSent && direction != QLatin1String(">"))
            timing.readAllMs = at;
        fetchSent = line.endsWith(QLatin1String(" > 02 73 27"));
        if (!line.endsWith(QLatin1String(" > 02 70 22")))
            continue;
        if (lastPoll >= 0)
            timing.pollIntervals.push_back(at - lastPoll);
        lastPoll = at;
    }
    return timing;
}

} // namespace

// tgauge against iolink-master-sim over its pseudo-terminal and over loopback TCP (raw and
// RFC 2217): the median poll cadence and the time of connect, identity and read-all (from the
// trace's start, so it holds tgauge's own start-up too). Prints the numbers and the ratios to the pty; measures, never judges.
class BenchNetworkLink : public QObject
{
    Q_OBJECT
private slots:
    void pollCadenceAndReadAllPerLink();
};

void BenchNetworkLink::pollCadenceAndReadAllPerLink()
{
    QTemporaryDir dir;
    const QStringList links{QStringLiteral("pty"), QStringLiteral("tcp"),
                            QStringLiteral("rfc2217")};
    std::map<QString, std::vector<double>> firstPoll;
    std::map<QString, std::vector<double>> cadence;
    for (int run = 0; run < runs(); ++run) {
        for (const QString &link : links) {
            SimulatorProcess simulator;
            QVERIFY(simulator.start(link == QLatin1String("pty")
                                        ? QStringList()
                                        : QStringList{QStringLiteral("--listen"), link + ":0"}));
            const QString trace = dir.filePath(QStringLiteral("%1-%2.trace").arg(link).arg(run));
            QProcess tgauge;
            tgauge.start(QStringLiteral(TGAUGE_EXECUTABLE),
                         {QStringLiteral("--batch"), QStringLiteral("--open-sensor"),
                          QStringLiteral("KR7D-P025"), QStringLiteral("--connect"),
                          simulator.portPath(), QStringLiteral("--quit-after"),
                          QStringLiteral("5000"), QStringLiteral("--trace"), trace});
            QVERIFY(tgauge.waitForFinished(120000));
            QCOMPARE(tgauge.exitCode(), 0);
            const Timing timing = timingOf(trace);
            QVERIFY(!timing.pollIntervals.empty());
            firstPoll[link].push_back(timing.readAllMs);
            cadence[link].push_back(median(timing.pollIntervals));
        }
    }
    const double ptyFirst = median(firstPoll[links.first()]);
    const double ptyCadence = median(cadence[links.first()]);
    for (const QString &link : links) {
        const double first = median(firstPoll[link]);
        const double poll = median(cadence[link]);
        qInfo().noquote() << QStringLiteral(
                                 "%1: connect + identity + read-all %2 ms (x%3 of pty), poll cadence median "
                                 "%4 ms (x%5 of pty), %6 runs")
                                 .arg(link, -8)
                                 .arg(first, 0, 'f', 0)
                                 .arg(first / ptyFirst, 0, 'f', 3)
                                 .arg(poll, 0, 'f', 1)
                                 .arg(poll / ptyCadence, 0, 'f', 3)
                                 .arg(runs());
    }
}

QTEST_GUILESS_MAIN(BenchNetworkLink)
#include "bench_networklink.moc"
