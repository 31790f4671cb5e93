// SPDX-License-Identifier: MIT
#include "link/com_devices.h"

#include <QDir>
#include <QSerialPortInfo>

namespace kr820::link {

void EnumComDevices(QStringList& devices) {
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices.append(info.portName());
    const QString extra = qEnvironmentVariable("KR820_PORTS");
    for (const QString& path : extra.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        devices.append(path);
}

QString ComDeviceName(const QString& listedName) {
    if (QDir::isAbsolutePath(listedName) && !listedName.isEmpty()) return listedName;
    return kDevicePrefix + listedName;
}

}  // namespace kr820::link
