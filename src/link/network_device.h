// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kr820::link {

// A meter behind a serial device server, named like a device: tcp://HOST:PORT for a raw TCP
// port whose server keeps the line set up itself, rfc2217://HOST:PORT for a Telnet port with
// the COM port control option, through which the program sets the line. An IPv6 address is
// written in brackets (tcp://[::1]:4000).
struct NetworkDevice {
    enum class Protocol { Raw, Rfc2217 };
    Protocol protocol = Protocol::Raw;
    QString host;
    quint16 port = 0;
};

// Whether the name has the form of a network device (its scheme), well written or not.
bool IsNetworkDeviceName(const QString& name);

// The device, or why the name is no device: "tcp://HOST:PORT needs a host and a port from 1 to
// 65535" and the like. Only for names IsNetworkDeviceName accepts.
struct NetworkDeviceParse {
    std::optional<NetworkDevice> device;
    QString error;
};
NetworkDeviceParse ParseNetworkDevice(const QString& name);

// A list of devices separated by ':', as $KR820_PORTS holds them, where a network device's own
// colons do not separate (/dev/pts/3:tcp://lab-box:4000:rfc2217://[::1]:4001).
QStringList SplitDeviceList(const QString& list);

}  // namespace kr820::link
