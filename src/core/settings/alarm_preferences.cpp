// SPDX-License-Identifier: MIT
#include "core/settings/alarm_preferences.h"

#include <QSettings>
#include <cmath>

namespace kr820::core {
namespace {

// Limits beyond any thermocouple are no limits a user set.
constexpr double kFarthestLimit = 3000.0;

QString ChannelKey(int channel, const char* name) {
    return QStringLiteral("T%1/%2").arg(channel + 1).arg(QLatin1String(name));
}

bool ReadBool(QSettings& settings, const QString& key, bool fallback) {
    const QVariant value = settings.value(key);
    if (!value.isValid()) return fallback;
    const QString text = value.toString().trimmed().toLower();
    if (text == QStringLiteral("true") || text == QStringLiteral("1")) return true;
    if (text == QStringLiteral("false") || text == QStringLiteral("0")) return false;
    return fallback;
}

double ReadNumber(QSettings& settings, const QString& key, double fallback, double lowest,
                  double highest) {
    bool ok = false;
    const double value = settings.value(key).toDouble(&ok);
    return ok && std::isfinite(value) && value >= lowest && value <= highest ? value : fallback;
}

}  // namespace

AlarmPreferences ReadAlarmPreferences(QSettings& settings) {
    AlarmPreferences preferences;
    settings.beginGroup(kAlarmGroup);
    for (int i = 0; i < 2; ++i) {
        ChannelAlarmSettings& channel = preferences.Alarms.Channels[static_cast<size_t>(i)];
        channel.High.On = ReadBool(settings, ChannelKey(i, "HighOn"), false);
        channel.High.Limit =
            ReadNumber(settings, ChannelKey(i, "High"), 0, -kFarthestLimit, kFarthestLimit);
        channel.Low.On = ReadBool(settings, ChannelKey(i, "LowOn"), false);
        channel.Low.Limit =
            ReadNumber(settings, ChannelKey(i, "Low"), 0, -kFarthestLimit, kFarthestLimit);
        channel.ProbeFault = ReadBool(settings, ChannelKey(i, "ProbeFault"), false);
        channel.Hysteresis =
            ReadNumber(settings, ChannelKey(i, "Hysteresis"), channel.Hysteresis, 0, 100);
        channel.Hold = std::chrono::milliseconds(
            qRound64(ReadNumber(settings, ChannelKey(i, "HoldSeconds"), 0, 0, 86400) * 1000));
    }
    preferences.Alarms.MeterLost = ReadBool(settings, QStringLiteral("MeterLost"), false);
    const QString unit = settings.value(QStringLiteral("LimitUnit")).toString();
    if (unit == QStringLiteral("C")) preferences.Alarms.LimitUnit = DisplayUnit::Celsius;
    if (unit == QStringLiteral("F")) preferences.Alarms.LimitUnit = DisplayUnit::Fahrenheit;

    AlarmActions& actions = preferences.Actions;
    actions.Banner = ReadBool(settings, QStringLiteral("Banner"), actions.Banner);
    actions.MarkLcd = ReadBool(settings, QStringLiteral("MarkLcd"), actions.MarkLcd);
    actions.Notify = ReadBool(settings, QStringLiteral("Notify"), actions.Notify);
    actions.Sound = ReadBool(settings, QStringLiteral("Sound"), actions.Sound);
    actions.NotifyCritical =
        ReadBool(settings, QStringLiteral("NotifyCritical"), actions.NotifyCritical);
    actions.Command = settings.value(QStringLiteral("Command")).toString();
    settings.endGroup();
    return preferences;
}

void WriteAlarmPreferences(QSettings& settings, const AlarmPreferences& preferences) {
    settings.beginGroup(kAlarmGroup);
    for (int i = 0; i < 2; ++i) {
        const ChannelAlarmSettings& channel = preferences.Alarms.Channels[static_cast<size_t>(i)];
        settings.setValue(ChannelKey(i, "HighOn"), channel.High.On);
        settings.setValue(ChannelKey(i, "High"), channel.High.Limit);
        settings.setValue(ChannelKey(i, "LowOn"), channel.Low.On);
        settings.setValue(ChannelKey(i, "Low"), channel.Low.Limit);
        settings.setValue(ChannelKey(i, "ProbeFault"), channel.ProbeFault);
        settings.setValue(ChannelKey(i, "Hysteresis"), channel.Hysteresis);
        settings.setValue(ChannelKey(i, "HoldSeconds"), channel.Hold.count() / 1000.0);
    }
    settings.setValue(QStringLiteral("MeterLost"), preferences.Alarms.MeterLost);
    const std::optional<DisplayUnit> unit = preferences.Alarms.LimitUnit;
    settings.setValue(QStringLiteral("LimitUnit"), !unit ? QString()
                                                   : *unit == DisplayUnit::Fahrenheit
                                                       ? QStringLiteral("F")
                                                       : QStringLiteral("C"));
    const AlarmActions& actions = preferences.Actions;
    settings.setValue(QStringLiteral("Banner"), actions.Banner);
    settings.setValue(QStringLiteral("MarkLcd"), actions.MarkLcd);
    settings.setValue(QStringLiteral("Notify"), actions.Notify);
    settings.setValue(QStringLiteral("Sound"), actions.Sound);
    settings.setValue(QStringLiteral("NotifyCritical"), actions.NotifyCritical);
    settings.setValue(QStringLiteral("Command"), actions.Command);
    settings.endGroup();
}

void TakeMeterAlarmLimits(const MeterSetup& setup, AlarmSettings& alarms) {
    for (ChannelAlarmSettings& channel : alarms.Channels) {
        channel.High = {setup.AlarmOn, setup.AlarmUpperTenths / 10.0};
        channel.Low = {setup.AlarmOn, setup.AlarmLowerTenths / 10.0};
    }
}

}  // namespace kr820::core
