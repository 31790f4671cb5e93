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
    return ToTDateTime(local.date(), local.time());
}

TDateTime ToTDateTime(QDate date, QTime time) {
    const double days = static_cast<double>(kEpoch.daysTo(date));
    const double seconds = std::round(time.msecsSinceStartOfDay() / 1000.0);
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
    constexpr auto kDaySeconds = static_cast<long long>(kSecondsPerDay);
    if (seconds >= kDaySeconds) {  // 23:59:59.6 rounds into the next day...
        if (wholeDays >= kLastShownDay) {
            seconds = kDaySeconds - 1;  // ...but not past the last one: year 10000 has no text
        } else {
            seconds -= kDaySeconds;
            wholeDays += 1;  // the next day also before the epoch, where the count runs down
        }
    }
    const QDate date = kEpoch.addDays(static_cast<qint64>(wholeDays));
    return {date, QTime(0, 0).addSecs(static_cast<int>(seconds))};
}

TDateTime NowTDateTime() { return ToTDateTime(QDateTime::currentDateTime()); }

}  // namespace kr820::core
