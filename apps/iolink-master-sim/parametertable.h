#pragma once

#include "devicedescription.h"
#include "devicestatus.h"

#include <QByteArray>
#include <QVariant>
#include <QVector>

namespace Kr7dSim {

// The sensor's parameter memory: device numbers and texts by IO-Link address.
// Numbers are what the device stores: pressures in 1/divisor bar, other
// decimals in 1/100, enumerators as device values.
class ParameterTable
{
public:
    struct Parameter
    {
        ParameterInfo info;
        int number = 0; // numeric parameters
        QString text;   // text parameters
    };

    // The variant gives the pressure divisor and the measuring range, which the analog
    // output's 4 mA and 20 mA points span from the factory on.
    ParameterTable(const QVector<ParameterInfo> &parameters, const Variant &variant,
                   const QString &productId);

    const Parameter *find(int index, int subIndex) const;
    const Parameter *find(const QString &id) const;

    // The value bytes a result fetch carries: one or two bytes (high first) by
    // size, the UTF-8 text of a text parameter.
    QByteArray valueBytes(const Parameter &parameter) const;

    DeviceStatus read(int index, int subIndex, QByteArray *value) const;
    DeviceStatus write(int index, int subIndex, const QByteArray &value);

    // The device number of a numeric parameter; fallback when there is none.
    int number(const QString &id, int fallback = 0) const;
    // Int for numbers, QString for texts, invalid for an unknown id.
    QVariant value(const QString &id) const;
    // Sets a value without the write rules (read-only parameters too).
    bool setValue(const QString &id, const QVariant &value);

    void restoreDefaults();

private:
    Parameter *findMutable(int index, int subIndex);
    Parameter *findMutable(const QString &id);
    DeviceStatus missingStatus(int index) const;
    void applyDefault(Parameter &parameter) const;
    double pressureDefault(const ParameterInfo &info, int whole) const;

    QVector<Parameter> m_parameters;
    Variant m_variant;
    QString m_productId;
};

} // namespace Kr7dSim
