#include "parameteraddress.h"

#include <QString>
#include <QStringList>

namespace BravoSensorPlugin {
namespace Core {

ParameterAddress ParameterAddress::fromText(const QString &text)
{
    const QStringList fields = text.split(QLatin1Char(';'));
    ParameterAddress address;
    address.index = fields.value(0).toInt();
    address.subIndex = fields.value(1).toInt();
    address.size = fields.value(2).toInt();
    return address;
}

} // namespace Core
} // namespace BravoSensorPlugin
