// SPDX-License-Identifier: MIT
#include "cli/device_option.h"

#include "cli/serve_options.h"
#include "link/network_device.h"

namespace kr820::cli {

std::optional<QString> DeviceRefusal(const QStringList& values) {
    for (const QString& value : values) {
        if (value.trimmed().isEmpty())
            return QStringLiteral(
                "--device is empty: name the meter's serial device, or leave --device out to "
                "search every device");
        // serve's PATH=NAME names the meter after the path.
        const QString path = ServedDeviceOf(value).path;
        if (link::IsNetworkDeviceName(path)) {
            const link::NetworkDeviceParse parsed = link::ParseNetworkDevice(path);
            if (!parsed.device) return parsed.error;
        }
    }
    return std::nullopt;
}

}  // namespace kr820::cli
