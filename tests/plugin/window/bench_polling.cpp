#include <support/devicetestkit.h>

#include <comm/frame.h>
#include <comm/platformsleep.h>
#include <plugin/sensorcatalogue.h>

#include <utils/genericchart.h>
#include <utils/valueovertime.h>

#include <QProgressBar>
#include <QtTest>

#include <cmath>

using BravoSensorPlugin::Core::SensorWindowData;

constexpr int samplesPerPlot = 1300000; // about a day at the poll interval

// What one completed poll costs the GUI thread once the plots hold a day of samples.
class bench_Polling : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void completedPollWithFullPlots();

private:
    SensorWindowData &data() { return *m_session->window().windowData(); }

    ExtensionSystem::SensorBasic m_sensor = BravoSensorPlugin::Core::buildSensorCatalogue().front();
    const QString m_portName = QString::fromStdString(m_sensor.name());
    SimulatedPort m_port{m_portName, m_sensor};
    std::unique_ptr<WindowSession> m_session;
};

void bench_Polling::initTestCase()
{
    BravoSensorPlugin::Core::setPlatformSleepScale(0);
    m_session = std::make_unique<WindowSession>(m_sensor, QStringList{m_portName}, m_port.master);
    m_session->object().vAutoConnect(m_portName);
    QVERIFY(data().connection);
    // Polling starts once the update dialog has run out.
    data().progressBar->setValue(data().progressBar->maximum());
    QTRY_VERIFY(data().chart->getData(1)->size() > 0);
}

void bench_Polling::cleanupTestCase()
{
    m_session.reset();
}

void bench_Polling::completedPollWithFullPlots()
{
    QTRY_COMPARE(data().pendingPollId, 0u);
    data().pollTimer.stop();
    // The answer is written into the pending list by hand: only the window's work is timed.
    ScriptedConnection instant([](const QByteArray &query) { return query; });
    instant.holdTransfers();
    data().connection = &instant;
    Utils::ValueOverTime history;
    for (int i = 0; i < samplesPerPlot; ++i)
        history.append(1.7e12 + 65.0 * i, 5.0 + std::sin(i / 5000.0), 12.0);
    for (int plot = 0; plot < 2; ++plot)
        data().chart->setData(plot, history);
    const std::string answer
        = BravoSensorPlugin::Core::buildFrame(0x22, QByteArray::fromHex("00ff380195"))
              .toStdString();

    // Started, answered by hand, then completed: the start is cheap next to the completion.
    const auto completePoll = [this, &answer] {
        QMetaObject::invokeMethod(&m_session->window(), "queryStatusData", Q_ARG(unsigned int, 0));
        const unsigned int id = data().pendingPollId;
        ExtensionSystem::CommunicationInterface::DataFrameRecord &record
            = data().pendingPolls.at(id)->front();
        record.answer = answer;
        record.status = 1;
        QMetaObject::invokeMethod(&m_session->window(), "queryStatusData", Q_ARG(unsigned int, id));
        data().pollTimer.stop();
    };
    // The first completion grows the plots' storage once; the day after it is what is measured.
    completePoll();
    QBENCHMARK {
        completePoll();
    }
    QVERIFY(data().chart->getData(0)->size() > samplesPerPlot);
    data().connection = nullptr;
}

QTEST_MAIN(bench_Polling)
#include "bench_polling.moc"
