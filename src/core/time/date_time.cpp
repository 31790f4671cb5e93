// SPDX-License-Identifier: MIT
#include "core/time/date_time.h"

#include <cmath>

namespace kr820::core {
namespace {

// Julian day of 30 December 1899; a compile-time value, so that globals elsewhere may convert
// date-times while the program is still starting.
constexpr qint64 kEpochJulianDay = 2415019;
constexpr QDate kEpoch = QDate::fromJulianDay(kEpochJulianDay);

}  // namespace

bool IsShownDateTime(TDateTime value) {
    // Before the epoch the day part counts down, so the first day's date-times run from
    // kFirstShownDay to kFirstShownDay - 0.99999; the last day's from kLastShownDay upwards.
    return value > kFirstShownDay - 1.0 && value < kLastShownDay + 1.0;  // false for NaN
}

TDateTime ToTDateTime(const QDateTime& dateTime) {
    const QDateTime local = dateTime.toLocalTime();
    const double days = static_cast<double>(kEpoch.daysTo(local.date()));
    const double seconds = std::round(local.time().msecsSinceStartOfDay() / 1000.0);
    // Before the epoch the whole days count down while the time of day still counts up, so the
    // fraction carries the sign of the day part (-1.25 is 29 December 1899, 06:00).
    const double fraction = seconds / kSecondsPerDay;
    return days < 0 ? days - fraction : days + fraction;
}

QDateTime FromTDateTime(TDateTime value) {
    if (!IsShownDateTime(value)) return {};
    const WallClockParts parts = WallClockOf(value);
    return QDateTime(parts.Date, parts.Time);
}

WallClockParts WallClockOf(TDateTime value) {
    if (!IsShownDateTime(value)) return {};
    double wholeDays = std::trunc(value);
    long long seconds = std::llround(std::fabs(value - wholeDays) * kSecondsPerDay);
    if (seconds >= static_cast<long long>(kSecondsPerDay)) {  // 23:59:59.6 rounds into the next day
        seconds -= static_cast<long long>(kSecondsPerDay);
        wholeDays += value < 0 ? -1 : 1;
    }
    const QDate date = kEpoch.addDays(static_cast<qint64>(wholeDays));
    return {date, QTime(0, 0).addSecs(static_cast<int>(seconds))};
}

TDateTime NowTDateTime() { return ToTDateTime(QDateTime::currentDateTime()); }

}  // namespace kr820::core
