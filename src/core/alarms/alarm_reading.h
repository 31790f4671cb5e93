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

// A live reading taken at `time`: the channel values rounded to the tenths the meter sends and
// converted to the unit its display shows; a channel with a non-zero invalid byte, or a value
// beyond any thermocouple's range, has none.
AlarmReading AlarmReadingOf(const LiveReading& reading, const QDateTime& time);

}  // namespace kr820::core
