// SPDX-License-Identifier: MIT
#pragma once

#include "core/live/live_reading.h"
#include "store/stored_reading.h"

namespace kr820::store {

// A live reading as a store keeps it, taken at `timeMs`: the channels as the meter's display
// shows them (none where its invalid byte is set), in the unit it shows. The desktop's recording
// until stopped and `kr820-cli live --store` both keep their readings through this.
StoredReading StoredReadingOf(const core::LiveReading& reading, qint64 timeMs);

}  // namespace kr820::store
