#pragma once

#include "devicedescription.h"
#include "faultsettings.h"
#include "parametertable.h"
#include "processmodel.h"
#include "switchingoutput.h"

#include <model/parameterids.h>

#include <QByteArray>

#include <functional>
#include <memory>
#include <optional>

namespace Kr7dSim {

// An IO-Link master with one KR7D sensor behind it: answers request frames
// (N, check octet, command, parameters) with frames of the same shape
// (N, check octet, command, status, payload).
class MasterSimulator
{
public:
    using Clock = std::function<qint64()>; // milliseconds, monotonic

    MasterSimulator(const DeviceDescription &description, const DeviceIdentity &device,
                    quint32 seed = 1);
    // Null, with *error set, when the file is unusable or lacks the selected device.
    static std::unique_ptr<MasterSimulator> fromFile(const QString &descriptionPath,
                                                     const DeviceSelection &selection,
                                                     QString *error = nullptr);

    // The answer to one request, or nothing when the answer is lost.
    std::optional<QByteArray> respond(const QByteArray &request);

    const DeviceIdentity &device() const { return m_device; }

    // Device numbers (int) or texts (QString) by parameter id, as in the sensor.
    QVariant parameter(const QString &id) const;
    bool setParameter(const QString &id, const QVariant &value);
    const ParameterTable &parameters() const { return m_parameters; }

    // Also restarts the time after which the master unplugs itself.
    void setClock(Clock clock);
    qint64 now() const { return m_clock(); }

    void holdProcessValues(double pressureBar, double temperatureCelsius);
    void releaseProcessValues();
    void setSignalTooLow(bool tooLow) { m_signalTooLow = tooLow; }

    void setFaults(const FaultSettings &faults);
    const FaultSettings &faults() const { return m_faults; }
    const FaultCounters &counters() const { return m_counters; }
    bool isUnplugged() const;
    // Milliseconds until the master unplugs itself; nothing when it never does.
    std::optional<qint64> timeUntilUnplug() const;

private:
    using Quantity = BravoSensorPlugin::Core::Quantity;

    QByteArray answerFor(const QByteArray &request);
    QByteArray write(const QByteArray &parameters);
    QByteArray processData();
    // The state of output 1 or 2 for its pin function; off unless that switches.
    bool switchingOutput(SwitchingOutput &output, std::optional<Quantity> &watched, int pinFunction,
                         int number);

    DeviceIdentity m_device;
    ParameterTable m_parameters;
    ProcessModel m_process;
    ProcessModel::Sample m_sample;
    SwitchingOutput m_outputA1;
    SwitchingOutput m_outputA2;
    std::optional<Quantity> m_watchedA1;
    std::optional<Quantity> m_watchedA2;
    bool m_signalTooLow = false;
    QByteArray m_kept; // value of the last read request, for the result fetch
    Clock m_clock;
    FaultSettings m_faults;
    qint64 m_faultsSetMs = 0;
    FaultCounters m_counters;
};

} // namespace Kr7dSim
