// SPDX-License-Identifier: MIT
#include "app/device_choice.h"

#include <QFile>

#include "link/com_devices.h"
#include "link/network_device.h"

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kr820::app {

bool NamesSerialDevice(const QString& name) {
    if (name.trimmed().isEmpty()) return false;
    // A meter behind a device server: connecting tells whether it is there.
    if (link::IsNetworkDeviceName(name)) return link::ParseNetworkDevice(name).device.has_value();
#ifdef Q_OS_WIN
    return true;  // "\\.\COMn" has no file to look at; opening it tells
#else
    struct stat info {};
    const QByteArray path = QFile::encodeName(link::ComDeviceName(name));
    if (::stat(path.constData(), &info) != 0 || !S_ISCHR(info.st_mode)) return false;
    // Other character devices (/dev/null, /dev/zero) are no terminal. One that does not open
    // (held, no permission) is left to the port, which says why.
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return true;
    const bool terminal = ::isatty(fd) == 1;
    ::close(fd);
    return terminal;
#endif
}

}  // namespace kr820::app
