// SPDX-License-Identifier: MIT
#include "store/alarm_marks.h"

namespace kr820::store {

std::optional<AlarmMark> MarkOfAlarmEvent(const core::AlarmEvent& event) {
    if (event.Change == core::AlarmChange::Acknowledged) return std::nullopt;
    AlarmMark mark;
    mark.TimeMs = event.Time.toMSecsSinceEpoch();
    mark.Channel = event.Alarm.Channel == core::AlarmChannel::T2 ? 1 : 0;
    mark.Kind = static_cast<int>(event.Alarm.Kind);
    mark.Change = event.Change == core::AlarmChange::Raised ? AlarmMarkChange::Raised
                                                            : AlarmMarkChange::Cleared;
    mark.Value = event.Value;
    mark.Limit = event.Limit;
    return mark;
}

std::optional<core::AlarmEvent> AlarmEventOfMark(const AlarmMark& mark, core::DisplayUnit unit) {
    const int meterLost = static_cast<int>(core::AlarmKind::MeterLost);
    if (mark.Kind < 0 || mark.Kind > meterLost) return std::nullopt;
    core::AlarmEvent event;
    event.Alarm.Kind = static_cast<core::AlarmKind>(mark.Kind);
    event.Alarm.Channel = mark.Kind == meterLost ? core::AlarmChannel::None
                          : mark.Channel == 1    ? core::AlarmChannel::T2
                                                 : core::AlarmChannel::T1;
    event.Change = mark.Change == AlarmMarkChange::Raised ? core::AlarmChange::Raised
                                                          : core::AlarmChange::Cleared;
    event.Time = QDateTime::fromMSecsSinceEpoch(mark.TimeMs);
    event.Value = mark.Value;
    event.Limit = mark.Limit;
    event.Unit = unit;
    return event;
}

}  // namespace kr820::store
