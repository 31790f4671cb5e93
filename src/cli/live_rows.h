// SPDX-License-Identifier: MIT
#pragma once

#include "core/files/reading_rows.h"
#include "core/live/live_reading.h"

namespace kr820::cli {

// A live reading as a row taken at `instant`: both channels in the unit the meter displays, a
// channel flagged invalid or out of range left empty.
core::ReadingRow RowOfReading(const core::LiveReading& reading, core::UtcSeconds instant);

}  // namespace kr820::cli
