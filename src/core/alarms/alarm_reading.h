// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <optional>

#include "core/live/display_digits.h"
#include "core/live/live_reading.h"

namespace kr820::core {

// One reading as the alarms watch it: both channels in the unit the meter shows, none for a
// channel flagged invalid or out of range, and the time it was taken. The time is all the
// clock the alarms have: hold times are measured between readings.
struct AlarmReading {
    QDateTime Time;
    DisplayUnit Unit = DisplayUnit::Celsius;
    std::optional<double> T1;
    std::optional<double> T2;
};

// A live reading taken at `time` (by default when it was read), as the reading shows it.
AlarmReading AlarmReadingOf(const LiveReading& reading, const QDateTime& time);
AlarmReading AlarmReadingOf(const LiveReading& reading);

}  // namespace kr820::core
