// SPDX-License-Identifier: MIT
#include "link/com_devices.h"

#include <QDir>
#include <QSerialPortInfo>

#include "link/network_device.h"

namespace kr820::link {

void EnumComDevices(QStringList& devices) {
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices.append(info.portName());
    const QString extra = qEnvironmentVariable("KR820_PORTS");
    devices.append(SplitDeviceList(extra));
}

QString ComDeviceName(const QString& listedName) {
    if (QDir::isAbsolutePath(listedName) && !listedName.isEmpty()) return listedName;
    if (IsNetworkDeviceName(listedName)) return listedName;
    return kDevicePrefix + listedName;
}

}  // namespace kr820::link
