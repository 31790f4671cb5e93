// SPDX-License-Identifier: MIT
#include "feeds/feed_alarms.h"

#include <algorithm>

namespace kr820::feeds {

bool FeedAlarms::AnyWatched() const {
    return std::any_of(Watched.begin(), Watched.end(), [](bool on) { return on; });
}

FeedAlarms FeedAlarmsOf(const core::AlarmEngine& engine) {
    FeedAlarms alarms;
    for (int i = 0; i < core::kAlarmCount; ++i) {
        alarms.Watched[i] = engine.Settings().IsOn(core::kAllAlarms[i]);
        alarms.Active[i] = engine.Status(core::kAllAlarms[i]).IsActive();
    }
    return alarms;
}

}  // namespace kr820::feeds
