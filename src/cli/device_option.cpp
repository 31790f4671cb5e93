// SPDX-License-Identifier: MIT
#include "cli/device_option.h"

namespace kr820::cli {

std::optional<QString> EmptyDeviceRefusal(const QStringList& values) {
    for (const QString& value : values) {
        if (value.trimmed().isEmpty())
            return QStringLiteral(
                "--device is empty: name the meter's serial device, or leave --device out to "
                "search every device");
    }
    return std::nullopt;
}

}  // namespace kr820::cli
