// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QTime>
#include <optional>

#include "core/time/date_time.h"

namespace kr820::core {

// A moment in real time: whole seconds since 1970-01-01T00:00:00Z. A data set's samples are
// equally spaced in it, whatever the local clocks do meanwhile; a date-time, a wall-clock
// reading, is not (it repeats an hour in autumn and skips one in spring).
using UtcSeconds = qint64;

// The local time zone's offset from UTC at an instant, in seconds.
int LocalOffsetAt(UtcSeconds instant);

// A local time as it is written with its offset.
struct LocalMoment {
    QDate Date;
    QTime Time;
    int OffsetSeconds = 0;
};
// The local date, time and offset in force at an instant; empty when that date lies outside the
// shown range.
std::optional<LocalMoment> LocalMomentAt(UtcSeconds instant);

// The instant a local wall-clock date-time stands for, rounded to the nearest second without
// leaving the shown range. A time of the hour repeated when the clocks go back stands for the
// earliest of its instants not before `notBefore` (the first where none is), so that times read
// in order keep their order; a time of the hour skipped when they go forward is read with the
// offset in force before the change, as a clock that missed the change shows it. Empty for
// values IsShownDateTime refuses.
std::optional<UtcSeconds> InstantOfWallClock(TDateTime wallClock,
                                             std::optional<UtcSeconds> notBefore = std::nullopt);

// The local wall clock at an instant as a date-time; 0 outside the shown range.
TDateTime WallClockAt(UtcSeconds instant);

}  // namespace kr820::core
