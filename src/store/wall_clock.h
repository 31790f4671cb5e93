// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

#include "core/time/date_time.h"

namespace kr820::store {

// A stored instant (UTC milliseconds) as the local wall-clock date-time the windows and the
// text files show, milliseconds kept; 0 outside the shown range.
core::TDateTime WallClockOfMs(qint64 ms);

}  // namespace kr820::store
