// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QSettings;

namespace kr820::core {

// The values the program keeps between runs, under the group "SOFTWARE/KR820": three integers,
// and beside them the path of the device last connected, since USB serial adapters come and go
// and the system may list its devices in another order next time.
struct RegistryValues {
    int RealTimeRate = 2;
    int LastConnectedPort = 0;
    int LastConnectedModel = 820;
    QString LastConnectedDevice;
};

inline const QString kRegistryGroup = QStringLiteral("SOFTWARE/KR820");

// Each value is read by itself: a missing or unreadable one gets its default alone.
RegistryValues ReadRegistryValues(QSettings& settings);

// Writes "RealTimeRate", "LastConnectedPort" and "LastConnectedModel" in that order, then
// "LastConnectedDevice".
void WriteRegistryValues(QSettings& settings, const RegistryValues& values);

}  // namespace kr820::core
