// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <optional>

namespace kr820::link {

// The Telnet side of a serial line reached through a device server that speaks the COM port
// control option (RFC 2217): data bytes with 0xFF doubled, option negotiation, and the
// subnegotiations that set the line and carry the server's notices. Bytes only, no socket:
// what arrives goes through Decode, what is to be sent comes from the encoders and TakeReplies.
class TelnetComPort {
public:
    // The client's side of the negotiation, sent once connected: binary both ways (so that a
    // carriage return is not followed by a padding byte), no go-ahead, and the COM port option.
    QByteArray Greeting();
    // Data for the wire: every 0xFF doubled.
    static QByteArray Escape(QByteArrayView data);
    // The line settings the meter needs: the rate, 8 data bits, no parity, one stop bit, no
    // flow control, DTR and RTS on.
    static QByteArray LineSettings(int bitsPerSecond);
    static QByteArray SetBaudRate(int bitsPerSecond);

    // Takes bytes as they came off the wire, in pieces of any size (a command or an escaped
    // 0xFF may be split between two), and returns the data among them.
    QByteArray Decode(QByteArrayView wire);
    // Answers the negotiation asked for; empty when there is nothing to answer.
    QByteArray TakeReplies();

    enum class ComPortOption { Unknown, Accepted, Refused };
    // Whether the server took the COM port option (DO) or refused it (DONT).
    ComPortOption ComPort() const { return m_comPort; }
    // The rate the server last said it set, once it has answered a SET-BAUDRATE.
    std::optional<std::uint32_t> ServerBaudRate() const { return m_serverBaud; }
    // The server's last notices of the line and modem states (RFC 2217's bit masks).
    std::optional<std::uint8_t> LineState() const { return m_lineState; }
    std::optional<std::uint8_t> ModemState() const { return m_modemState; }
    // The server asked for a pause in sending (FLOWCONTROL-SUSPEND) and has not resumed.
    bool Suspended() const { return m_suspended; }

private:
    enum class State { Data, Iac, Option, Subnegotiation, SubnegotiationIac };
    void Negotiate(std::uint8_t verb, std::uint8_t option);
    void Subnegotiated();

    State m_state = State::Data;
    std::uint8_t m_verb = 0;
    QByteArray m_sub;
    QByteArray m_replies;
    bool m_willSent[256] = {};
    bool m_doSent[256] = {};
    bool m_weOn[256] = {};  // offered and taken
    ComPortOption m_comPort = ComPortOption::Unknown;
    std::optional<std::uint32_t> m_serverBaud;
    std::optional<std::uint8_t> m_lineState;
    std::optional<std::uint8_t> m_modemState;
    bool m_suspended = false;
};

}  // namespace kr820::link
