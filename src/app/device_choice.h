// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace kr820::app {

// Whether a name from the device box, listed or typed, names a serial device of this machine
// (a terminal device; a link to one counts), or a meter behind a device server written whole
// (tcp://HOST:PORT, rfc2217://HOST:PORT): the box tries nothing else, so a half-typed name,
// a folder or /dev/null never takes the place of the port in use.
bool NamesSerialDevice(const QString& name);

// %1 the name as the box held it.
inline const QString kNotADeviceMessage = QStringLiteral("\"%1\" is not a serial device.");

}  // namespace kr820::app
