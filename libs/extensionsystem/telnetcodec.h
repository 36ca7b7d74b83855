#pragma once

#include "extensionsystem_global.h"

#include <QByteArray>
#include <QList>

#include <set>

namespace ExtensionSystem {

namespace Telnet {
enum : quint8 {
    Se = 240,
    Sb = 250,
    Will = 251,
    Wont = 252,
    Do = 253,
    Dont = 254,
    Iac = 255,
    Binary = 0,
    SuppressGoAhead = 3,
    ComPort = 44, // RFC 2217
};
} // namespace Telnet

// One side of a Telnet stream (RFC 854): separates the data from commands,
// answers option requests (agreeing to the accepted options both ways,
// refusing all others, never answering a request that changes nothing) and
// collects subnegotiations.
class EXTENSIONSYSTEM_EXPORT TelnetCodec
{
public:
    explicit TelnetCodec(std::set<quint8> accepted);

    // Offers every accepted option both ways; the bytes to send first.
    QByteArray offer();
    // The data bytes of input; answers to send go to *reply, each complete
    // subnegotiation (option byte, then its unescaped payload) to *subnegotiations.
    // Commands split over several calls are kept until they are complete.
    QByteArray decode(const QByteArray &input, QByteArray *reply,
                      QList<QByteArray> *subnegotiations);

    static QByteArray escape(const QByteArray &data);
    static QByteArray command(quint8 verb, quint8 option);
    static QByteArray subnegotiation(quint8 option, const QByteArray &payload);

private:
    enum class State { Data, Command, Option, Sub, SubCommand };

    QByteArray answer(quint8 verb, quint8 option);

    std::set<quint8> m_accepted;
    std::set<quint8> m_local;  // options this side has enabled
    std::set<quint8> m_remote; // options the peer has enabled
    State m_state = State::Data;
    quint8 m_verb = 0;
    QByteArray m_sub;
};

} // namespace ExtensionSystem
