// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>
#include <variant>

#include "core/alarms/alarm_id.h"
#include "core/alarms/alarm_settings.h"

namespace kr820::core {

// One alarm as a command line names it: "t1>85" (T1 above 85), "t2<-5" (T2 below -5), "probe"
// (a probe fault on either channel), "lost" (the meter stops answering). Limits are in the unit
// the meter shows, with a decimal point and one decimal at most.
struct AlarmRule {
    AlarmKind Kind = AlarmKind::High;
    AlarmChannel Channel = AlarmChannel::None;  // None for probe (both channels) and lost
    double Limit = 0;
};

struct AlarmRuleError {
    QString message;  // one line, naming the text refused
};

using AlarmRuleParse = std::variant<AlarmRule, AlarmRuleError>;

// Case and blanks (of any kind: no-break and em spaces too) do not matter ("T1 > 85.5"). Whether
// the limit can ever be reached is for CheckAlarmLimits, once all rules are known.
AlarmRuleParse ParseAlarmRule(QStringView text);

// The rule as a message may quote it: control characters and blanks other than the space
// written escaped ("\t", "\u00a0"), so that what was refused can be seen.
QString VisibleRuleText(QStringView text);

// Switches the rule's alarm on; a later limit for the same channel and side replaces an earlier
// one.
void ApplyAlarmRule(const AlarmRule& rule, AlarmSettings& settings);

}  // namespace kr820::core
