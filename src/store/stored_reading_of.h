// SPDX-License-Identifier: MIT
#pragma once

#include "core/live/live_reading.h"
#include "store/stored_reading.h"

namespace kr820::store {

// A live reading as a store keeps it, taken at `timeMs`: both channels as the reading shows
// them, a channel without a value kept invalid. Every writer of live readings makes its rows
// here, so that the desktop and the command line keep the same.
StoredReading StoredReadingOf(const core::LiveReading& reading, qint64 timeMs);

}  // namespace kr820::store
