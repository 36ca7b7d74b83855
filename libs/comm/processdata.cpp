#include "processdata.h"

#include <QString>

namespace BravoSensorPlugin {
namespace Core {

ProcessData decodeProcessData(const QString &hexText, double divisor)
{
    const QString data = hexText.right(8).rightJustified(8, QLatin1Char('0'));
    const auto hexNumber = [&data](int position, int length) {
        return data.midRef(position, length).toUInt(nullptr, 16);
    };
    const unsigned int status = hexNumber(7, 1);
    ProcessData decoded;
    decoded.pressure = qint16(hexNumber(0, 4)) / divisor;
    decoded.temperature = hexNumber(4, 3) * 0.1;
    decoded.output1 = status & 0x1;
    decoded.output2 = status & 0x2;
    decoded.signalTooLow = status & 0x4;
    return decoded;
}

double analogOutputValue(double x, double point0, double point10, int analogMode)
{
    // Equal points leave no characteristic to place x on; reporting the output's lower end keeps
    // the plot's analog axis finite instead of drawing inf or nan.
    const double span = point10 - point0;
    const double fraction = span != 0.0 ? (x - point0) / span : 0.0;
    return analogMode == 0 ? fraction * 10.0 : fraction * 16.0 + 4.0;
}

} // namespace Core
} // namespace BravoSensorPlugin
