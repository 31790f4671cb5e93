// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

#include "core/alarms/alarm_event.h"
#include "store/stored_reading.h"

namespace kr820::store {

// An alarm's raise or clear as a store keeps it, and back: the one mapping every writer and
// reader of stores uses. Kind is core::AlarmKind's number; the meter lost alarm, which has no
// channel, is kept under T1's. An acknowledgement is not kept (nothing to mark).
std::optional<AlarmMark> MarkOfAlarmEvent(const core::AlarmEvent& event);
// None for a kind this program does not know (a store of a later version).
std::optional<core::AlarmEvent> AlarmEventOfMark(const AlarmMark& mark, core::DisplayUnit unit);

}  // namespace kr820::store
