#pragma once

#include <model/parameterkind.h>

#include <QString>
#include <QVector>

#include <optional>

class QByteArray;

namespace Kr7dSim {

// One measuring range of a sensor type; `divisor` turns device numbers into bar.
struct Variant
{
    QString id3;
    double maxRange = 0.0;
    double minRange = 0.0;
    int bitsNumber = 0;
    double divisor = 1.0;
};

struct SensorType
{
    QString name;
    QString id; // the four characters that start the product id text
    QVector<Variant> variants;
};

using BravoSensorPlugin::Core::ParameterKind;

// One parameter node of the description's tree with its IO-Link address.
struct ParameterInfo
{
    QString id;
    ParameterKind type = ParameterKind::Int;
    int index = 0;
    int subIndex = 0;
    int size = 6; // count byte of the write frame: 6 one value byte, 7 two
    bool readOnly = false;
    QString defaultValue;
    int choiceCount = 0; // enumerators: number of items
};

// Which device to simulate. Empty fields pick the first sensor type or variant;
// a product id overrides both when the catalogue knows it and is reported as
// given otherwise, so a foreign device can be simulated too.
struct DeviceSelection
{
    QString sensorName;
    QString variantId3;
    QString productId;
};

struct DeviceIdentity
{
    SensorType sensor;
    Variant variant;
    QString productId;
};

// The parts of the sensor description file that a device needs.
class DeviceDescription
{
public:
    static std::optional<DeviceDescription> fromFile(const QString &path, QString *error = nullptr);
    static std::optional<DeviceDescription> fromXml(const QByteArray &xml,
                                                    QString *error = nullptr);

    const QVector<SensorType> &sensors() const { return m_sensors; }
    const QVector<ParameterInfo> &parameters() const { return m_parameters; }

    std::optional<DeviceIdentity> select(const DeviceSelection &selection) const;

private:
    QVector<SensorType> m_sensors;
    QVector<ParameterInfo> m_parameters;
};

} // namespace Kr7dSim
