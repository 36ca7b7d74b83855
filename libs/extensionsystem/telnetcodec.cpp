#include "telnetcodec.h"

namespace ExtensionSystem {

TelnetCodec::TelnetCodec(std::set<quint8> accepted)
    : m_accepted(std::move(accepted))
{
}

QByteArray TelnetCodec::offer()
{
    QByteArray bytes;
    for (const quint8 option : m_accepted) {
        bytes += command(Telnet::Will, option) + command(Telnet::Do, option);
        m_local.insert(option);
        m_remote.insert(option);
    }
    return bytes;
}

QByteArray TelnetCodec::decode(const QByteArray &input, QByteArray *reply,
                               QList<QByteArray> *subnegotiations)
{
    QByteArray data;
    data.reserve(input.size());
    for (const char c : input) {
        const quint8 byte = quint8(c);
        switch (m_state) {
        case State::Data:
            if (byte == Telnet::Iac)
                m_state = State::Command;
            else
                data += c;
            break;
        case State::Command:
            m_state = State::Data;
            if (byte == Telnet::Iac) {
                data += c;
            } else if (byte >= Telnet::Will) {
                m_verb = byte;
                m_state = State::Option;
            } else if (byte == Telnet::Sb) {
                m_sub.clear();
                m_state = State::Sub;
            }
            break;
        case State::Option:
            *reply += answer(m_verb, byte);
            m_state = State::Data;
            break;
        case State::Sub:
            if (byte == Telnet::Iac)
                m_state = State::SubCommand;
            else
                m_sub += c;
            break;
        case State::SubCommand:
            if (byte == Telnet::Iac) {
                m_sub += c;
                m_state = State::Sub;
            } else {
                if (byte == Telnet::Se && !m_sub.isEmpty() && subnegotiations)
                    subnegotiations->append(m_sub);
                m_state = State::Data;
            }
            break;
        }
    }
    return data;
}

// Answers only what changes a state, so that two sides never loop.
QByteArray TelnetCodec::answer(quint8 verb, quint8 option)
{
    const bool accepted = m_accepted.count(option) > 0;
    const bool asksUs = verb == Telnet::Do || verb == Telnet::Dont;
    std::set<quint8> &state = asksUs ? m_local : m_remote;
    const bool enable = verb == Telnet::Do || verb == Telnet::Will;
    const bool enabled = state.count(option) > 0;
    if (enable && accepted && !enabled) {
        state.insert(option);
        return command(asksUs ? Telnet::Will : Telnet::Do, option);
    }
    if (enable && !accepted)
        return command(asksUs ? Telnet::Wont : Telnet::Dont, option);
    if (!enable && enabled) {
        state.erase(option);
        return command(asksUs ? Telnet::Wont : Telnet::Dont, option);
    }
    return QByteArray();
}

QByteArray TelnetCodec::escape(const QByteArray &data)
{
    if (!data.contains(char(Telnet::Iac)))
        return data;
    QByteArray escaped;
    escaped.reserve(data.size() + 4);
    for (const char c : data) {
        escaped += c;
        if (quint8(c) == Telnet::Iac)
            escaped += c;
    }
    return escaped;
}

QByteArray TelnetCodec::command(quint8 verb, quint8 option)
{
    const char bytes[] = {char(Telnet::Iac), char(verb), char(option)};
    return QByteArray(bytes, sizeof bytes);
}

QByteArray TelnetCodec::subnegotiation(quint8 option, const QByteArray &payload)
{
    const char start[] = {char(Telnet::Iac), char(Telnet::Sb), char(option)};
    const char end[] = {char(Telnet::Iac), char(Telnet::Se)};
    return QByteArray(start, sizeof start) + escape(payload) + QByteArray(end, sizeof end);
}

} // namespace ExtensionSystem
