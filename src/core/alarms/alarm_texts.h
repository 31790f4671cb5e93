// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <utility>
#include <vector>

#include "core/alarms/alarm_engine.h"
#include "core/alarms/alarm_event.h"

namespace kr820::core {

// "raised", "acknowledged", "cleared".
QString AlarmChangeName(AlarmChange change);

// The variables a user's alarm command finds in its environment:
//   KR820_ALARM    raised, cleared (or acknowledged)
//   KR820_KIND     high, low, probe, lost
//   KR820_CHANNEL  T1, T2, empty for lost
//   KR820_VALUE    the reading with one decimal and a point, empty when the channel had none
//   KR820_LIMIT    the limit crossed in the same way, empty for probe and lost
//   KR820_UNIT     C or F, of value and limit
//   KR820_TIME     ISO 8601 local time with its offset
std::vector<std::pair<QString, QString>> AlarmEnvironment(const AlarmEvent& event);

// The alarms whose condition is there now, acknowledged or not, for a row's alarm column:
// "t1-high;lost", empty when there is none.
QString ActiveAlarmsText(const AlarmEngine& engine);

}  // namespace kr820::core
