// SPDX-License-Identifier: MIT
#include "app/device_choice.h"

#include <QFile>

#include "link/com_devices.h"

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace kr820::app {

bool NamesSerialDevice(const QString& name) {
    if (name.trimmed().isEmpty()) return false;
#ifdef Q_OS_WIN
    return true;  // "\\.\COMn" has no file to look at; opening it tells
#else
    struct stat info {};
    const QByteArray path = QFile::encodeName(link::ComDeviceName(name));
    return ::stat(path.constData(), &info) == 0 && S_ISCHR(info.st_mode);
#endif
}

}  // namespace kr820::app
