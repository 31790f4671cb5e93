// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

#include "core/alarms/alarm_id.h"
#include "core/alarms/alarm_settings.h"

namespace kr820::core {

// What a reading can be in a unit: -200.0 °C (below it the meter sends a marker) to 1370.0 °C,
// type K's top (type J stops lower, but the meter can be switched to K at any time).
struct ReadingSpan {
    double Lowest = 0;
    double Highest = 0;
};
ReadingSpan ReadingSpanIn(DisplayUnit unit);

// Why the limits switched on can never work as meant, and which limit to mend.
struct AlarmLimitProblem {
    AlarmId Alarm;
    QString Message;  // one sentence
};

// The one rule for alarm limits, the desktop's dialog and the command line alike: each limit
// switched on lies within what a reading can be in the limits' unit (none: in either unit), and
// a channel's low limit is not above its high limit (a reading between them would raise both).
std::optional<AlarmLimitProblem> CheckAlarmLimits(const AlarmSettings& settings);

}  // namespace kr820::core
