// SPDX-License-Identifier: MIT
#include "core/time/local_time.h"

#include <QDateTime>
#include <QHash>
#include <algorithm>
#include <limits>

namespace kr820::core {
namespace {

constexpr qint64 kDaySeconds = 86400;
constexpr qint64 kUnixEpochJulianDay = 2440588;  // 1 January 1970
// Fewer days than this are remembered at once; a year of data needs a few hundred.
constexpr qsizetype kMaxRememberedDays = 4096;
constexpr int kNotSteady = std::numeric_limits<int>::min();

qint64 FloorDiv(qint64 value, qint64 divisor) {
    return value / divisor - (value % divisor < 0 ? 1 : 0);
}

int SystemOffsetAt(UtcSeconds instant) {
    return QDateTime::fromSecsSinceEpoch(instant, Qt::LocalTime).offsetFromUtc();
}

// The offset of a whole UTC day on which it does not change, remembered: asking the system for
// each of tens of thousands of rows costs more than all the rest of writing them.
int SteadyOffsetOfDay(qint64 day) {
    thread_local QHash<qint64, int> remembered;
    const auto found = remembered.constFind(day);
    if (found != remembered.constEnd()) return *found;
    if (remembered.size() >= kMaxRememberedDays) remembered.clear();
    const int first = SystemOffsetAt(day * kDaySeconds);
    const int last = SystemOffsetAt(day * kDaySeconds + kDaySeconds - 1);
    const int steady = first == last ? first : kNotSteady;
    remembered.insert(day, steady);
    return steady;
}

// The wall clock a date-time shows, as seconds since 1970-01-01T00:00 of that clock.
std::optional<qint64> WallSeconds(TDateTime value) {
    const WallClockParts parts = WallClockOf(value);
    if (!parts.Date.isValid()) return std::nullopt;
    return (parts.Date.toJulianDay() - kUnixEpochJulianDay) * kDaySeconds +
           parts.Time.msecsSinceStartOfDay() / 1000;
}

}  // namespace

int LocalOffsetAt(UtcSeconds instant) {
    const int steady = SteadyOffsetOfDay(FloorDiv(instant, kDaySeconds));
    return steady != kNotSteady ? steady : SystemOffsetAt(instant);
}

std::optional<LocalMoment> LocalMomentAt(UtcSeconds instant) {
    const int offset = LocalOffsetAt(instant);
    const qint64 wall = instant + offset;
    const qint64 day = FloorDiv(wall, kDaySeconds);
    const QDate date = QDate::fromJulianDay(kUnixEpochJulianDay + day);
    if (!IsShownDateTime(ToTDateTime(date, QTime(0, 0)))) return std::nullopt;
    return LocalMoment{date, QTime(0, 0).addSecs(static_cast<int>(wall - day * kDaySeconds)),
                       offset};
}

std::optional<UtcSeconds> InstantOfWallClock(TDateTime wallClock,
                                             std::optional<UtcSeconds> notBefore) {
    const std::optional<qint64> wall = WallSeconds(wallClock);
    if (!wall) return std::nullopt;
    // The offsets a day either side: a change of offset near this time lies between them.
    const int before = LocalOffsetAt(*wall - kDaySeconds);
    const int after = LocalOffsetAt(*wall + kDaySeconds);
    const UtcSeconds earlier = *wall - std::max(before, after);
    const UtcSeconds later = *wall - std::min(before, after);
    const auto shows = [&](UtcSeconds instant) {
        return instant + LocalOffsetAt(instant) == *wall;
    };
    const bool earlierShows = shows(earlier);
    const bool laterShows = shows(later);
    if (earlierShows && laterShows) {  // the same instant, or the hour the clocks repeat
        return notBefore && earlier < *notBefore && later >= *notBefore ? later : earlier;
    }
    if (earlierShows) return earlier;
    if (laterShows) return later;
    return *wall - before;  // skipped by the clocks
}

TDateTime WallClockAt(UtcSeconds instant) {
    const std::optional<LocalMoment> moment = LocalMomentAt(instant);
    return moment ? ToTDateTime(moment->Date, moment->Time) : 0.0;
}

}  // namespace kr820::core
