// SPDX-License-Identifier: MIT
#include "core/settings/registry_values.h"

#include <QSettings>

namespace kr820::core {
namespace {

int ReadInt(QSettings& settings, const QString& name, int fallback) {
    const QVariant stored = settings.value(name);
    if (!stored.isValid()) return fallback;
    bool ok = false;
    const int value = stored.toInt(&ok);
    return ok ? value : fallback;
}

}  // namespace

RegistryValues ReadRegistryValues(QSettings& settings) {
    const RegistryValues defaults;
    settings.beginGroup(kRegistryGroup);
    RegistryValues values;
    values.RealTimeRate = ReadInt(settings, "RealTimeRate", defaults.RealTimeRate);
    values.LastConnectedPort = ReadInt(settings, "LastConnectedPort", defaults.LastConnectedPort);
    values.LastConnectedModel =
        ReadInt(settings, "LastConnectedModel", defaults.LastConnectedModel);
    values.LastConnectedDevice = settings.value("LastConnectedDevice").toString();
    settings.endGroup();
    return values;
}

void WriteRegistryValues(QSettings& settings, const RegistryValues& values) {
    settings.beginGroup(kRegistryGroup);
    settings.setValue("RealTimeRate", values.RealTimeRate);
    settings.setValue("LastConnectedPort", values.LastConnectedPort);
    settings.setValue("LastConnectedModel", values.LastConnectedModel);
    settings.setValue("LastConnectedDevice", values.LastConnectedDevice);
    settings.endGroup();
    settings.sync();  // a failed write is ignored: nothing is shown and nothing else depends on it
}

}  // namespace kr820::core
