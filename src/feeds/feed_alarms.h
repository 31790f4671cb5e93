// SPDX-License-Identifier: MIT
#pragma once

#include <array>

#include "core/alarms/alarm_engine.h"
#include "core/alarms/alarm_id.h"

namespace kr820::feeds {

// Where each of the seven alarms stands, as the feeds publish it: whether it is switched on
// (it gets a sensor of its own) and whether its condition is there now. In the order of
// core::kAllAlarms.
struct FeedAlarms {
    std::array<bool, core::kAlarmCount> Watched{};
    std::array<bool, core::kAlarmCount> Active{};

    bool AnyWatched() const;
    friend bool operator==(const FeedAlarms&, const FeedAlarms&) = default;
};

FeedAlarms FeedAlarmsOf(const core::AlarmEngine& engine);

}  // namespace kr820::feeds
