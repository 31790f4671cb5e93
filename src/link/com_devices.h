// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

namespace kr820::link {

// What the program puts in front of a listed device name to get the name it opens.
#ifdef Q_OS_WIN
inline const QString kDevicePrefix = QStringLiteral("\\\\.\\");
#else
inline const QString kDevicePrefix = QStringLiteral("/dev/");
#endif

// Appends the machine's serial devices in the order the system lists them, then the paths in
// $KR820_PORTS (separated by ':'), which is how a pseudo-terminal such as the meter emulator's,
// or a meter behind a device server (tcp://HOST:PORT, rfc2217://HOST:PORT), gets into the list.
void EnumComDevices(QStringList& devices);

// The device name opened for a listed entry: the prefix and the entry, or the entry itself when
// it is already an absolute path or a network device.
QString ComDeviceName(const QString& listedName);

}  // namespace kr820::link
