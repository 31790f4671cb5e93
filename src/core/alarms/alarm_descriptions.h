// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "core/alarms/alarm_event.h"

namespace kr820::core {

// "T1 high alarm", "T2 probe fault", "Meter lost": an alarm as a user reads it.
QString AlarmTitle(AlarmId id);
// "°C" or "°F".
QString DegreesText(DisplayUnit unit);
// An event in one sentence, for the banner, the log, a notification and the chart's mark:
// "T1 high alarm raised: 35.0 °C, limit 30.0 °C".
QString AlarmEventText(const AlarmEvent& event);
// An event as one line for scripts: the ISO time, the change, the alarm's one-word name, value,
// limit ("-" where there is none) and unit, blank-separated:
// "2026-07-01T10:00:00+02:00 raised t1-high 35.0 30.0 C".
QString AlarmEventLine(const AlarmEvent& event);

}  // namespace kr820::core
