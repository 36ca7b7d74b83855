#include "mastersimulator.h"

#include <comm/frame.h>
#include <comm/protocol.h>

#include <QElapsedTimer>

namespace Kr7dSim {

namespace {

using namespace BravoSensorPlugin::Core::Protocol;

namespace Ids = BravoSensorPlugin::Core::ParameterIds;
using BravoSensorPlugin::Core::PinFunction;

QByteArray answerFrame(quint8 command, DeviceStatus status,
                       const QByteArray &payload = QByteArray())
{
    QByteArray body;
    body.append(char(status));
    body.append(payload);
    return BravoSensorPlugin::Core::buildFrame(command, body);
}

// N = 6: the check octet and the five letters, no command echo and no status.
QByteArray errorFrame()
{
    return BravoSensorPlugin::Core::buildFrame(quint8('E'), QByteArrayLiteral("RROR"));
}

int indexOf(const QByteArray &parameters)
{
    return quint8(parameters.at(0)) | quint8(parameters.at(1)) << 8;
}

MasterSimulator::Clock monotonicClock()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}

} // namespace

MasterSimulator::MasterSimulator(const DeviceDescription &description, const DeviceIdentity &device,
                                 quint32 seed)
    : m_device(device)
    , m_parameters(description.parameters(), device.variant, device.productId)
    , m_process(device.variant.minRange, device.variant.maxRange, seed)
    , m_clock(monotonicClock())
{
}

std::unique_ptr<MasterSimulator> MasterSimulator::fromFile(const QString &descriptionPath,
                                                           const DeviceSelection &selection,
                                                           QString *error)
{
    const std::optional<DeviceDescription> description
        = DeviceDescription::fromFile(descriptionPath, error);
    if (!description)
        return nullptr;
    const std::optional<DeviceIdentity> device = description->select(selection);
    if (!device) {
        if (error) {
            *error = QStringLiteral("%1 lists no sensor \"%2\" with variant \"%3\"")
                         .arg(descriptionPath, selection.sensorName, selection.variantId3);
        }
        return nullptr;
    }
    return std::make_unique<MasterSimulator>(*description, *device);
}

std::optional<QByteArray> MasterSimulator::respond(const QByteArray &request)
{
    if (isUnplugged())
        return std::nullopt;
    const int sequence = ++m_counters.requestsSeen;
    QByteArray answer = answerFor(request);
    if (m_faults.dropEvery > 0 && sequence % m_faults.dropEvery == 0) {
        ++m_counters.answersDropped;
        return std::nullopt;
    }
    if (m_faults.corruptEvery > 0 && sequence % m_faults.corruptEvery == 0) {
        ++m_counters.answersCorrupted;
        // One flipped bit always changes the check octet; a flipped byte may not.
        answer[answer.size() - 1] = char(answer.at(answer.size() - 1) ^ 0x01);
    }
    return answer;
}

QByteArray MasterSimulator::answerFor(const QByteArray &request)
{
    if (!BravoSensorPlugin::Core::isFrameIntact(request))
        return errorFrame();
    const quint8 command = quint8(request.at(2));
    const QByteArray parameters = request.mid(3);
    switch (command) {
    case ConfigureMaster:
    case Probe:
    case StartPort:
        return answerFrame(command, DeviceStatus::Ok);
    case ProcessData:
        return answerFrame(command, DeviceStatus::Ok, processData());
    case Write:
        return write(parameters);
    case ReadRequest: {
        if (parameters.size() != 3)
            return answerFrame(command, DeviceStatus::LengthMismatch);
        m_kept.clear();
        const DeviceStatus status
            = m_parameters.read(indexOf(parameters), quint8(parameters.at(2)), &m_kept);
        return answerFrame(command, status);
    }
    case ResultFetch:
        return answerFrame(command, DeviceStatus::Ok, m_kept);
    default:
        return errorFrame();
    }
}

QByteArray MasterSimulator::write(const QByteArray &parameters)
{
    if (parameters.size() < 4 || parameters.size() > 5)
        return answerFrame(Write, DeviceStatus::LengthMismatch);
    const int index = indexOf(parameters);
    const int subIndex = quint8(parameters.at(2));
    const QByteArray value = parameters.mid(3);
    if (index != systemCommandIndex)
        return answerFrame(Write, m_parameters.write(index, subIndex, value));
    if (value != QByteArray(1, char(restoreFactorySettings)))
        return answerFrame(Write, DeviceStatus::ValueOutOfRange);
    m_parameters.restoreDefaults();
    return answerFrame(Write, DeviceStatus::Ok);
}

QByteArray MasterSimulator::processData()
{
    m_sample = m_process.sample(now());
    const bool a1 = switchingOutput(m_outputA1, m_watchedA1,
                                    m_parameters.number(QLatin1String(Ids::pinFunctionA1)), 1);
    const int pinFunctionA2 = m_parameters.number(QLatin1String(Ids::pinFunctionA2));
    const bool switchedA2 = switchingOutput(m_outputA2, m_watchedA2, pinFunctionA2, 2);
    // Analog functions leave the switching bit off; remote switching follows its parameter.
    const bool a2 = PinFunction(pinFunctionA2) == PinFunction::RemoteSwitching
                        ? m_parameters.number(QLatin1String(Ids::remoteSwitchingOutput)) != 0
                        : switchedA2;
    const int bits = (a1 ? 0x1 : 0) | (a2 ? 0x2 : 0) | (m_signalTooLow ? 0x4 : 0);

    const int pressure
        = qBound(-32768, qRound(m_sample.pressureBar * m_device.variant.divisor), 32767);
    // Twelve bits of 0.1 degrees Celsius: the process image cannot carry less than 0.
    const int temperature = qBound(0, qRound(m_sample.temperatureCelsius * 10.0), 0xFFF);
    QByteArray payload;
    payload.append(char((pressure >> 8) & 0xFF));
    payload.append(char(pressure & 0xFF));
    payload.append(char(temperature >> 4));
    payload.append(char((temperature & 0x0F) << 4 | bits));
    return payload;
}

bool MasterSimulator::switchingOutput(SwitchingOutput &output, std::optional<Quantity> &watched,
                                      int pinFunction, int number)
{
    const std::optional<Quantity> quantity
        = BravoSensorPlugin::Core::switchingQuantity(pinFunction);
    if (quantity != watched) {
        output.reset();
        watched = quantity;
    }
    if (!quantity)
        return false;

    const bool pressure = quantity == Quantity::Pressure;
    const double scale = pressure ? m_device.variant.divisor : 100.0;
    SwitchingSettings settings;
    settings.setPoint = m_parameters.number(Ids::switchingPoint(*quantity, number, 1)) / scale;
    settings.resetPoint = m_parameters.number(Ids::switchingPoint(*quantity, number, 2)) / scale;
    settings.onDelayMs = m_parameters.number(Ids::onDelay(number));
    settings.offDelayMs = m_parameters.number(Ids::offDelay(number));
    settings.normallyClosed = m_parameters.number(Ids::normallyClosed(number)) != 0;
    const double value = pressure ? m_sample.pressureBar : m_sample.temperatureCelsius;
    return output.update(value, settings, now());
}

QVariant MasterSimulator::parameter(const QString &id) const
{
    return m_parameters.value(id);
}

bool MasterSimulator::setParameter(const QString &id, const QVariant &value)
{
    return m_parameters.setValue(id, value);
}

void MasterSimulator::setClock(Clock clock)
{
    m_clock = std::move(clock);
    m_faultsSetMs = m_clock();
}

void MasterSimulator::holdProcessValues(double pressureBar, double temperatureCelsius)
{
    m_process.hold(ProcessModel::Sample{pressureBar, temperatureCelsius});
}

void MasterSimulator::releaseProcessValues()
{
    m_process.release();
}

void MasterSimulator::setFaults(const FaultSettings &faults)
{
    m_faults = faults;
    m_faultsSetMs = now();
}

bool MasterSimulator::isUnplugged() const
{
    const std::optional<qint64> remaining = timeUntilUnplug();
    return remaining && *remaining <= 0;
}

std::optional<qint64> MasterSimulator::timeUntilUnplug() const
{
    if (m_faults.unplugAfterMs < 0)
        return std::nullopt;
    return m_faultsSetMs + m_faults.unplugAfterMs - now();
}

} // namespace Kr7dSim
