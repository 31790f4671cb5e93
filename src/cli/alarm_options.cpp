// SPDX-License-Identifier: MIT
#include "cli/alarm_options.h"

#include <QLocale>

#include "core/alarms/alarm_rule.h"

namespace kr820::cli {
namespace {

// A hysteresis wider than this is no band anyone means; a hold longer than a day neither.
constexpr double kWidestHysteresis = 100.0;
constexpr double kLongestHoldSeconds = 86400.0;

std::optional<double> Number(const QString& text, double lowest, double highest) {
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !(value >= lowest && value <= highest)) return std::nullopt;
    return value;
}

}  // namespace

std::variant<AlarmOptions, QString> ParseAlarmOptions(const AlarmOptionTexts& texts) {
    AlarmOptions options;
    for (const QString& text : texts.rules) {
        const core::AlarmRuleParse parse = core::ParseAlarmRule(text);
        if (const auto* error = std::get_if<core::AlarmRuleError>(&parse)) return error->message;
        core::ApplyAlarmRule(std::get<core::AlarmRule>(parse), options.settings);
        options.any = true;
    }
    if (!options.any && (!texts.hysteresis.isNull() || !texts.hold.isNull()))
        return QStringLiteral("--hysteresis and --hold need an --alarm");
    if (!texts.hysteresis.isNull()) {
        const auto hysteresis = Number(texts.hysteresis, 0.0, kWidestHysteresis);
        if (!hysteresis)
            return QStringLiteral("--hysteresis takes degrees from 0 to %1").arg(kWidestHysteresis);
        for (core::ChannelAlarmSettings& channel : options.settings.Channels)
            channel.Hysteresis = *hysteresis;
    }
    if (!texts.hold.isNull()) {
        const auto hold = Number(texts.hold, 0.0, kLongestHoldSeconds);
        if (!hold)
            return QStringLiteral("--hold takes seconds from 0 to %1").arg(kLongestHoldSeconds);
        for (core::ChannelAlarmSettings& channel : options.settings.Channels)
            channel.Hold = std::chrono::milliseconds(qRound64(*hold * 1000.0));
    }
    if (!texts.onAlarm.isNull()) {
        if (!options.any) return QStringLiteral("--on-alarm needs an --alarm");
        if (texts.onAlarm.trimmed().isEmpty()) return QStringLiteral("--on-alarm takes a command");
        options.onAlarm = texts.onAlarm;
    }
    if (!texts.onAlarmTimeout.isNull()) {
        if (options.onAlarm.isEmpty()) return QStringLiteral("--on-alarm-timeout needs --on-alarm");
        const auto seconds = Number(texts.onAlarmTimeout, 1.0, kLongestHoldSeconds);
        if (!seconds)
            return QStringLiteral("--on-alarm-timeout takes seconds from 1 to %1")
                .arg(kLongestHoldSeconds);
        options.commandLimit = std::chrono::milliseconds(qRound64(*seconds * 1000.0));
    }
    return options;
}

}  // namespace kr820::cli
