// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <optional>

#include "core/live/display_digits.h"
#include "core/live/live_reading.h"

namespace kr820::feeds {

// One reading as the feeds send it, small enough that a day of them queued for an absent
// broker stays a few megabytes: the channels in the unit the meter shows (none where the
// meter flags the channel invalid or out of range), the same in Celsius for the metrics, and
// which alarms were active, one bit each in the order of core::kAllAlarms.
struct FeedReading {
    qint64 ReadAtMs = 0;  // since the epoch
    core::DisplayUnit Unit = core::DisplayUnit::Celsius;
    std::optional<double> T1;
    std::optional<double> T2;
    std::optional<double> T1Celsius;
    std::optional<double> T2Celsius;
    quint8 ActiveAlarms = 0;
};

// As the reading shows it, taken at `readAtMs` (by default when it was read).
FeedReading FeedReadingOf(const core::LiveReading& reading, qint64 readAtMs);
FeedReading FeedReadingOf(const core::LiveReading& reading);

}  // namespace kr820::feeds
