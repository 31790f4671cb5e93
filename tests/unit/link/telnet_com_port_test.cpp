// SPDX-License-Identifier: MIT
// The Telnet side of a line behind an RFC 2217 server: data through escapes cut anywhere, the
// negotiation answered once, the server's answers and notices taken in.
#include "link/telnet_com_port.h"

#include <gtest/gtest.h>

#include "link/network_device.h"

namespace kr820::link {
namespace {

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (const int value : values) out.append(static_cast<char>(value));
    return out;
}

TEST(TelnetComPortTest, DataWithEscapedFfComesThroughWhereverTheReadsCutIt) {
    const QByteArray data = Bytes({0x02, 0xFF, 0x41, 0xFF, 0xFF, 0x0D, 0x00, 0x03});
    const QByteArray wire = TelnetComPort::Escape(data);
    EXPECT_EQ(wire.count(static_cast<char>(0xFF)), 6);
    for (qsizetype cut = 0; cut <= wire.size(); ++cut) {
        TelnetComPort telnet;
        QByteArray got = telnet.Decode(wire.left(cut));
        got += telnet.Decode(wire.mid(cut));
        EXPECT_EQ(got, data) << "cut at " << cut;
    }
    TelnetComPort oneByOne;
    QByteArray got;
    for (const char byte : wire) got += oneByOne.Decode(QByteArrayView(&byte, 1));
    EXPECT_EQ(got, data);
}

TEST(TelnetComPortTest, NegotiationIsAnsweredOnceAndOptionsWeDoNotKnowAreRefused) {
    TelnetComPort telnet;
    const QByteArray greeting = telnet.Greeting();
    EXPECT_TRUE(greeting.contains(Bytes({255, 251, 44}))) << "WILL COM-PORT-OPTION";
    EXPECT_TRUE(greeting.contains(Bytes({255, 251, 0}))) << "WILL BINARY";
    EXPECT_TRUE(greeting.contains(Bytes({255, 253, 0}))) << "DO BINARY";

    // The server takes what was offered, offers binary itself, and asks for an echo and a
    // terminal type, split across reads.
    const QByteArray server =
        Bytes({255, 253, 44, 255, 253, 0, 255, 251, 0, 255, 251, 1, 255, 253, 24, 0x55});
    QByteArray data = telnet.Decode(server.left(4));
    data += telnet.Decode(server.mid(4));
    EXPECT_EQ(data, Bytes({0x55}));
    EXPECT_EQ(telnet.ComPort(), TelnetComPort::ComPortOption::Accepted);
    // Already offered and asked for: nothing again; echo and terminal type refused.
    EXPECT_EQ(telnet.TakeReplies(), Bytes({255, 254, 1, 255, 252, 24}));
    EXPECT_TRUE(telnet.TakeReplies().isEmpty());

    // Switching off what was on is acknowledged once.
    telnet.Decode(Bytes({255, 254, 0}));
    EXPECT_EQ(telnet.TakeReplies(), Bytes({255, 252, 0}));
    telnet.Decode(Bytes({255, 254, 0}));
    EXPECT_TRUE(telnet.TakeReplies().isEmpty());
}

TEST(TelnetComPortTest, AServerRefusingTheComPortOptionIsSeen) {
    TelnetComPort telnet;
    telnet.Greeting();
    telnet.Decode(Bytes({255, 254, 44}));
    EXPECT_EQ(telnet.ComPort(), TelnetComPort::ComPortOption::Refused);
    EXPECT_TRUE(telnet.TakeReplies().isEmpty()) << "a refused offer is not answered";
}

TEST(TelnetComPortTest, LineSettingsAndTheServersAnswersAndNotices) {
    EXPECT_EQ(TelnetComPort::SetBaudRate(19200), Bytes({255, 250, 44, 1, 0, 0, 0x4B, 0, 255, 240}));
    // A rate with 0xFF in it is escaped inside the subnegotiation.
    EXPECT_EQ(TelnetComPort::SetBaudRate(0xFF),
              Bytes({255, 250, 44, 1, 0, 0, 0, 255, 255, 255, 240}));
    const QByteArray line = TelnetComPort::LineSettings(19200);
    EXPECT_TRUE(line.contains(Bytes({255, 250, 44, 2, 8, 255, 240}))) << "8 data bits";
    EXPECT_TRUE(line.contains(Bytes({255, 250, 44, 3, 1, 255, 240}))) << "no parity";
    EXPECT_TRUE(line.contains(Bytes({255, 250, 44, 4, 1, 255, 240}))) << "one stop bit";
    EXPECT_TRUE(line.contains(Bytes({255, 250, 44, 5, 8, 255, 240}))) << "DTR on";
    EXPECT_TRUE(line.contains(Bytes({255, 250, 44, 5, 11, 255, 240}))) << "RTS on";

    TelnetComPort telnet;
    const QByteArray server =
        Bytes({0x41, 255, 250, 44,  101,  0,   0,   0x4B, 0, 255, 240,  // rate
               255,  250, 44,  106, 0x60, 255, 240,                     // line
               255,  250, 44,  107, 255,  255, 255, 240,                // modem
               255,  250, 44,  108, 255,  240, 0x42});
    QByteArray data;
    for (const char byte : server) data += telnet.Decode(QByteArrayView(&byte, 1));
    EXPECT_EQ(data, "AB");
    EXPECT_EQ(telnet.ServerBaudRate(), 19200u);
    EXPECT_EQ(telnet.LineState(), 0x60);
    EXPECT_EQ(telnet.ModemState(), 0xFF);
    EXPECT_TRUE(telnet.Suspended());
    telnet.Decode(Bytes({255, 250, 44, 109, 255, 240}));
    EXPECT_FALSE(telnet.Suspended());

    // Asked for its signature, the client gives it.
    telnet.Decode(Bytes({255, 250, 44, 0, 255, 240}));
    EXPECT_EQ(telnet.TakeReplies(), Bytes({255, 250, 44, 0, 'k', 'r', '8', '2', '0', 255, 240}));
}

TEST(NetworkDeviceTest, NamesAreReadAndListsSplitWhereTheyShould) {
    const auto raw = ParseNetworkDevice(QStringLiteral("tcp://lab-box.local:4000"));
    ASSERT_TRUE(raw.device);
    EXPECT_EQ(raw.device->protocol, NetworkDevice::Protocol::Raw);
    EXPECT_EQ(raw.device->host, "lab-box.local");
    EXPECT_EQ(raw.device->port, 4000);
    const auto v6 = ParseNetworkDevice(QStringLiteral("rfc2217://[::1]:4001"));
    ASSERT_TRUE(v6.device);
    EXPECT_EQ(v6.device->protocol, NetworkDevice::Protocol::Rfc2217);
    EXPECT_EQ(v6.device->host, "::1");
    for (const char* bad : {"tcp://host", "tcp://:4000", "tcp://host:0", "tcp://host:70000",
                            "rfc2217://host:port", "tcp://a b:1"}) {
        const auto parsed = ParseNetworkDevice(QString::fromLatin1(bad));
        EXPECT_FALSE(parsed.device) << bad;
        EXPECT_TRUE(parsed.error.contains(QString::fromLatin1(bad))) << parsed.error.toStdString();
    }
    EXPECT_FALSE(IsNetworkDeviceName(QStringLiteral("/dev/ttyUSB0")));

    EXPECT_EQ(
        SplitDeviceList(
            QStringLiteral("/dev/pts/3:tcp://lab-box:4000:rfc2217://[::1]:4001::/dev/pts/4")),
        QStringList({"/dev/pts/3", "tcp://lab-box:4000", "rfc2217://[::1]:4001", "/dev/pts/4"}));
}

}  // namespace
}  // namespace kr820::link
