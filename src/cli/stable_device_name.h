// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace kr820::cli {

// Where udev keeps a name per serial adapter that stays when it is plugged into another socket.
inline const QString kSerialByIdFolder = QStringLiteral("/dev/serial/by-id");

// The link in `byIdFolder` that leads to the device at `path` (itself when it is one); empty
// when there is none.
QString StableDevicePath(const QString& path, const QString& byIdFolder = kSerialByIdFolder);

// A meter's name when none is given: its stable link's file name where there is one, else the
// path as given.
QString StableDeviceName(const QString& path, const QString& byIdFolder = kSerialByIdFolder);

}  // namespace kr820::cli
