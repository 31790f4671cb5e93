// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <optional>

#include "core/alarms/alarm_id.h"
#include "core/live/display_digits.h"

namespace kr820::core {

enum class AlarmChange { Raised, Acknowledged, Cleared };

// One step of one alarm, for the banner, the log, a user's command and the chart.
struct AlarmEvent {
    AlarmChange Change = AlarmChange::Raised;
    AlarmId Alarm;
    QDateTime Time;
    // Raised and Cleared: the reading that raised or cleared it; Acknowledged: those of the
    // raise. None where the channel had no value (probe fault, meter lost).
    std::optional<double> Value;
    std::optional<double> Limit;  // the limit crossed; none for probe fault and meter lost
    DisplayUnit Unit = DisplayUnit::Celsius;  // of Value and Limit
};

// Where an alarm stands. Cleared means back within its limit but not yet acknowledged, so that
// an alarm that came and went while nobody looked is still shown; acknowledging it makes it
// Normal. An alarm acknowledged while raised becomes Normal when it clears.
enum class AlarmPhase { Normal, Raised, Acknowledged, Cleared };

struct AlarmStatus {
    AlarmPhase Phase = AlarmPhase::Normal;
    std::optional<AlarmEvent> LastRaise;  // kept after the alarm clears, for the log and banner
    std::optional<AlarmEvent> LastClear;

    // The condition is still there, acknowledged or not.
    bool IsActive() const {
        return Phase == AlarmPhase::Raised || Phase == AlarmPhase::Acknowledged;
    }
    // The user has not acknowledged it yet.
    bool WantsAcknowledge() const {
        return Phase == AlarmPhase::Raised || Phase == AlarmPhase::Cleared;
    }
};

}  // namespace kr820::core
