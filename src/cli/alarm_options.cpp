// SPDX-License-Identifier: MIT
#include "cli/alarm_options.h"

#include <QHash>
#include <QLocale>

#include "core/alarms/alarm_limit_check.h"
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

QString LowerFirst(QString sentence) {
    if (!sentence.isEmpty()) sentence[0] = sentence[0].toLower();
    if (sentence.endsWith(u'.')) sentence.chop(1);
    return sentence;
}

std::variant<AlarmOptions, QString> ParseAlarmOptions(const AlarmOptionTexts& texts) {
    AlarmOptions options;
    // Each limit's rule as given, to name it when the limits do not go together.
    QHash<int, QString> ruleOf;
    for (const QString& text : texts.rules) {
        const core::AlarmRuleParse parse = core::ParseAlarmRule(text);
        if (const auto* error = std::get_if<core::AlarmRuleError>(&parse)) return error->message;
        const core::AlarmRule& rule = std::get<core::AlarmRule>(parse);
        const core::AlarmId id{rule.Kind, rule.Channel};
        const bool limit = rule.Kind == core::AlarmKind::High || rule.Kind == core::AlarmKind::Low;
        // Which of two limits of one kind was meant is anybody's guess.
        if (limit && options.settings.IsOn(id))
            return QStringLiteral("alarm \"%1\": %2 has a %3 limit already (\"%4\"); give one")
                .arg(core::VisibleRuleText(text), core::AlarmChannelName(rule.Channel),
                     core::AlarmKindName(rule.Kind),
                     core::VisibleRuleText(ruleOf.value(core::AlarmIndex(id))));
        core::ApplyAlarmRule(rule, options.settings);
        if (limit) ruleOf.insert(core::AlarmIndex(id), text);
        options.any = true;
    }
    // The meter's unit is not known yet: a limit no reading can reach in either unit is refused
    // now, one out of the meter's own range at its first reading (SessionAlarms).
    if (const auto problem = core::CheckAlarmLimits(options.settings))
        return QStringLiteral("alarm \"%1\": %2")
            .arg(core::VisibleRuleText(ruleOf.value(core::AlarmIndex(problem->Alarm))),
                 LowerFirst(problem->Message));
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
