// SPDX-License-Identifier: MIT
#include "cli/live_rows.h"

namespace kr820::cli {

core::ReadingRow RowOfReading(const core::LiveReading& reading, core::UtcSeconds instant) {
    core::ReadingRow row;
    row.Time = instant;
    row.T1 = reading.Shown(core::Channel::T1);
    row.T2 = reading.Shown(core::Channel::T2);
    row.Unit = reading.DisplaysFahrenheit() ? QStringLiteral("F") : QStringLiteral("C");
    return row;
}

}  // namespace kr820::cli
