// SPDX-License-Identifier: MIT
#include "store/wall_clock.h"

#include "core/time/local_time.h"

namespace kr820::store {

core::TDateTime WallClockOfMs(qint64 ms) {
    constexpr double kMsPerDay = 86'400'000.0;
    const qint64 seconds = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
    const core::TDateTime wall = core::WallClockAt(seconds);
    return wall == 0 ? 0 : wall + double(ms - seconds * 1000) / kMsPerDay;
}

}  // namespace kr820::store
