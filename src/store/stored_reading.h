// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace kr820::store {

// The widest times a store holds (the years -7900 to 9999): a time read from a file outside them
// is damage, and sums and differences of times inside them cannot overflow.
inline constexpr qint64 kMaxStoredMs = 253'402'300'799'999;
inline constexpr bool TimeInRange(qint64 ms) { return ms >= -kMaxStoredMs && ms <= kMaxStoredMs; }

// One reading of a recording as the store keeps it. Times are milliseconds since the epoch, UTC;
// temperatures are in the unit the meter showed.
struct StoredReading {
    qint64 TimeMs = 0;
    float T1 = 0;
    float T2 = 0;
    bool T1Valid = true;  // false: the channel was out of range or had no probe
    bool T2Valid = true;
    bool Fahrenheit = false;
    bool T1Alarm = false;  // an alarm of the channel was raised when the reading was taken
    bool T2Alarm = false;
    bool operator==(const StoredReading&) const = default;
};

// A raise or clear of an alarm, kept beside the readings. Kind is the alarm's own code.
enum class AlarmMarkChange : int { Raised = 0, Cleared = 1 };
struct AlarmMark {
    qint64 TimeMs = 0;
    int Channel = 0;  // 0 T1, 1 T2
    int Kind = 0;
    AlarmMarkChange Change = AlarmMarkChange::Raised;
    std::optional<double> Value;
    std::optional<double> Limit;
    bool operator==(const AlarmMark&) const = default;
};

// A stretch without readings: the meter's link lost, or the recording program not running.
// ClockSetBack is no stretch without readings but the system clock set back: the readings after
// it carry their own times again from FromMs, earlier than the last one before it (ToMs), so
// that the times FromMs..ToMs occur twice; the readings' order is their order in the store.
enum class GapCause : int { LinkLost = 0, RecorderStopped = 1, ClockSetBack = 2 };
struct Gap {
    qint64 FromMs = 0;
    std::optional<qint64> ToMs;  // none while the gap is still open
    GapCause Cause = GapCause::LinkLost;
    bool operator==(const Gap&) const = default;
};

// What the recording is: written once when the store is made, the stop added at the end.
struct StoreHeader {
    qint64 StartMs = 0;
    int RateSeconds = 1;
    std::optional<qint64> PointsAsked;  // none: until stopped
    QString Device;
    bool Fahrenheit = false;  // the unit at the start
    std::optional<qint64> StoppedMs;
    bool operator==(const StoreHeader&) const = default;
};

}  // namespace kr820::store
