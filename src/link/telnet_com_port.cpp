// SPDX-License-Identifier: MIT
#include "link/telnet_com_port.h"

namespace kr820::link {
namespace {

constexpr std::uint8_t kIac = 255, kDont = 254, kDo = 253, kWont = 252, kWill = 251, kSb = 250,
                       kSe = 240;
constexpr std::uint8_t kBinary = 0, kSuppressGoAhead = 3, kComPort = 44;

// The COM port option's commands, client to server; the server answers each with 100 more.
constexpr std::uint8_t kSignature = 0, kSetBaudRate = 1, kSetDataSize = 2, kSetParity = 3,
                       kSetStopSize = 4, kSetControl = 5, kNotifyLineState = 6,
                       kNotifyModemState = 7, kFlowSuspend = 8, kFlowResume = 9;
constexpr std::uint8_t kServer = 100;
constexpr std::uint8_t kParityNone = 1, kStopOne = 1, kNoFlowControl = 1, kDtrOn = 8, kRtsOn = 11;

bool WeEnable(std::uint8_t option) {
    return option == kBinary || option == kSuppressGoAhead || option == kComPort;
}
bool TheyMayEnable(std::uint8_t option) { return option == kBinary || option == kSuppressGoAhead; }

QByteArray Verb(std::uint8_t verb, std::uint8_t option) {
    const char bytes[3] = {static_cast<char>(kIac), static_cast<char>(verb),
                           static_cast<char>(option)};
    return QByteArray(bytes, 3);
}

QByteArray ComPortCommand(std::uint8_t command, QByteArrayView value) {
    QByteArray out;
    out.append(static_cast<char>(kIac)).append(static_cast<char>(kSb));
    out.append(static_cast<char>(kComPort)).append(static_cast<char>(command));
    out.append(TelnetComPort::Escape(value));
    out.append(static_cast<char>(kIac)).append(static_cast<char>(kSe));
    return out;
}

QByteArray ComPortByte(std::uint8_t command, std::uint8_t value) {
    const char byte = static_cast<char>(value);
    return ComPortCommand(command, QByteArrayView(&byte, 1));
}

}  // namespace

QByteArray TelnetComPort::Greeting() {
    QByteArray out;
    for (const std::uint8_t option : {kBinary, kSuppressGoAhead, kComPort}) {
        out += Verb(kWill, option);
        m_willSent[option] = true;
    }
    for (const std::uint8_t option : {kBinary, kSuppressGoAhead}) {
        out += Verb(kDo, option);
        m_doSent[option] = true;
    }
    return out;
}

QByteArray TelnetComPort::Escape(QByteArrayView data) {
    QByteArray out;
    out.reserve(data.size());
    for (const char byte : data) {
        out.append(byte);
        if (static_cast<std::uint8_t>(byte) == kIac) out.append(byte);
    }
    return out;
}

QByteArray TelnetComPort::SetBaudRate(int bitsPerSecond) {
    const auto rate = static_cast<std::uint32_t>(bitsPerSecond);
    const char value[4] = {static_cast<char>(rate >> 24), static_cast<char>(rate >> 16),
                           static_cast<char>(rate >> 8), static_cast<char>(rate)};
    return ComPortCommand(kSetBaudRate, QByteArrayView(value, 4));
}

QByteArray TelnetComPort::LineSettings(int bitsPerSecond) {
    return SetBaudRate(bitsPerSecond) + ComPortByte(kSetDataSize, 8) +
           ComPortByte(kSetParity, kParityNone) + ComPortByte(kSetStopSize, kStopOne) +
           ComPortByte(kSetControl, kNoFlowControl) + ComPortByte(kSetControl, kDtrOn) +
           ComPortByte(kSetControl, kRtsOn);
}

QByteArray TelnetComPort::Decode(QByteArrayView wire) {
    QByteArray data;
    for (const char c : wire) {
        const auto byte = static_cast<std::uint8_t>(c);
        switch (m_state) {
            case State::Data:
                if (byte == kIac)
                    m_state = State::Iac;
                else
                    data.append(c);
                break;
            case State::Iac:
                if (byte == kIac) {
                    data.append(c);
                    m_state = State::Data;
                } else if (byte == kDo || byte == kDont || byte == kWill || byte == kWont) {
                    m_verb = byte;
                    m_state = State::Option;
                } else if (byte == kSb) {
                    m_sub.clear();
                    m_state = State::Subnegotiation;
                } else {
                    m_state = State::Data;  // NOP, go-ahead and the like carry nothing for us
                }
                break;
            case State::Option:
                Negotiate(m_verb, byte);
                m_state = State::Data;
                break;
            case State::Subnegotiation:
                if (byte == kIac)
                    m_state = State::SubnegotiationIac;
                else if (m_sub.size() < 256)  // a runaway one is cut, not grown without end
                    m_sub.append(c);
                break;
            case State::SubnegotiationIac:
                if (byte == kSe) {
                    Subnegotiated();
                    m_state = State::Data;
                } else {
                    if (byte == kIac && m_sub.size() < 256) m_sub.append(c);
                    m_state = State::Subnegotiation;
                }
                break;
        }
    }
    return data;
}

QByteArray TelnetComPort::TakeReplies() {
    QByteArray replies;
    replies.swap(m_replies);
    return replies;
}

void TelnetComPort::Negotiate(std::uint8_t verb, std::uint8_t option) {
    switch (verb) {
        case kDo:
            if (!WeEnable(option)) {
                m_replies += Verb(kWont, option);
                break;
            }
            if (!m_willSent[option]) m_replies += Verb(kWill, option);
            m_willSent[option] = m_weOn[option] = true;
            if (option == kComPort) m_comPort = ComPortOption::Accepted;
            break;
        case kDont:
            // A refusal of what we offered is answered by nothing; switching off an option that
            // was on is acknowledged.
            if (m_weOn[option]) m_replies += Verb(kWont, option);
            m_willSent[option] = m_weOn[option] = false;
            if (option == kComPort) m_comPort = ComPortOption::Refused;
            break;
        case kWill:
            if (!TheyMayEnable(option)) {
                m_replies += Verb(kDont, option);
                break;
            }
            if (!m_doSent[option]) m_replies += Verb(kDo, option);
            m_doSent[option] = true;
            break;
        case kWont:
            m_doSent[option] = false;
            break;
    }
}

void TelnetComPort::Subnegotiated() {
    if (m_sub.size() < 2 || static_cast<std::uint8_t>(m_sub[0]) != kComPort) return;
    const auto command = static_cast<std::uint8_t>(m_sub[1]);
    const QByteArray value = m_sub.mid(2);
    auto byteAt = [&](qsizetype i) { return static_cast<std::uint8_t>(value[i]); };
    switch (command) {
        case kSignature:  // the server asks who we are
            if (value.isEmpty()) m_replies += ComPortCommand(kSignature, "kr820");
            break;
        case kServer + kSetBaudRate:
            if (value.size() == 4)
                m_serverBaud = (std::uint32_t{byteAt(0)} << 24) | (std::uint32_t{byteAt(1)} << 16) |
                               (std::uint32_t{byteAt(2)} << 8) | byteAt(3);
            break;
        case kServer + kNotifyLineState:
            if (value.size() == 1) m_lineState = byteAt(0);
            break;
        case kServer + kNotifyModemState:
            if (value.size() == 1) m_modemState = byteAt(0);
            break;
        case kServer + kFlowSuspend:
            m_suspended = true;
            break;
        case kServer + kFlowResume:
            m_suspended = false;
            break;
        default:
            break;  // the other answers repeat what was set
    }
}

}  // namespace kr820::link
