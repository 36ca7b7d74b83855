#include "frame.h"

#include "protocol.h"

namespace BravoSensorPlugin {
namespace Core {

quint8 checkOctet(quint8 command, const quint8 *parameters, int count)
{
    // 0x52 is the IO-Link seed; 0x40 the check octet's own upper bits "01".
    quint8 x = 0x12 ^ command;
    for (int i = 0; i < count; ++i)
        x ^= parameters[i];
    const auto bit = [x](int n) { return (x >> n) & 1; };
    const int c5 = bit(7) ^ bit(5) ^ bit(3) ^ bit(1);
    const int c4 = bit(6) ^ bit(4) ^ bit(2) ^ bit(0);
    const int c3 = bit(7) ^ bit(6);
    const int c2 = bit(5) ^ bit(4);
    const int c1 = bit(3) ^ bit(2);
    const int c0 = bit(1) ^ bit(0);
    return quint8(c5 << 5 | c4 << 4 | c3 << 3 | c2 << 2 | c1 << 1 | c0);
}

QByteArray buildFrame(quint8 command, const QByteArray &parameters)
{
    const auto *params = reinterpret_cast<const quint8 *>(parameters.constData());
    QByteArray frame;
    frame.reserve(parameters.size() + 3);
    frame.append(char(parameters.size() + 2));
    frame.append(char(0x40 | checkOctet(command, params, parameters.size())));
    frame.append(char(command));
    frame.append(parameters);
    return frame;
}

bool isFrameIntact(const QByteArray &frame)
{
    if (frame.size() < 3 || quint8(frame.at(0)) != frame.size() - 1)
        return false;
    const auto *bytes = reinterpret_cast<const quint8 *>(frame.constData());
    return bytes[1] == (0x40 | checkOctet(bytes[2], bytes + 3, frame.size() - 3));
}

QByteArray readRequestFrame(int index, int subIndex)
{
    QByteArray params;
    params.append(char(index & 0xFF));
    params.append(char((index >> 8) & 0xFF));
    params.append(char(subIndex & 0xFF));
    return buildFrame(Protocol::ReadRequest, params);
}

QByteArray writeFrame(int index, int subIndex, int size, int value)
{
    QByteArray params;
    params.append(char(index & 0xFF));
    params.append(char((index >> 8) & 0xFF));
    params.append(char(subIndex & 0xFF));
    if (size == 7)
        params.append(char((value >> 8) & 0xFF));
    params.append(char(value & 0xFF));
    QByteArray frame = buildFrame(Protocol::Write, params);
    // The count byte is the description's size, even where it disagrees with the bytes.
    frame[0] = char(size);
    return frame;
}

} // namespace Core
} // namespace BravoSensorPlugin
