// SPDX-License-Identifier: MIT
#include "cli/live_rows.h"

#include <cmath>

#include "core/data/limit_values.h"

namespace kr820::cli {
namespace {

std::optional<double> ChannelValue(float celsius, bool invalid, bool fahrenheit) {
    if (invalid || !std::isfinite(celsius) || core::IsShownAsOL(celsius)) return std::nullopt;
    // The meter sends tenths: round away the float's noise before converting.
    const double tenths = std::round(static_cast<double>(celsius) * 10.0) / 10.0;
    return fahrenheit ? tenths * 1.8 + 32.0 : tenths;
}

}  // namespace

core::ReadingRow RowOfReading(const core::LiveReading& reading, core::UtcSeconds instant) {
    const bool fahrenheit = (reading.Status & core::kStatusFahrenheit) != 0;
    core::ReadingRow row;
    row.Time = instant;
    // T1's invalid byte is the low byte of the channel flags, T2's the high one.
    row.T1 = ChannelValue(reading.Value(core::LiveValue::T1), (reading.Invalid & 0x00FF) != 0,
                          fahrenheit);
    row.T2 = ChannelValue(reading.Value(core::LiveValue::T2), (reading.Invalid & 0xFF00) != 0,
                          fahrenheit);
    row.Unit = fahrenheit ? QStringLiteral("F") : QStringLiteral("C");
    return row;
}

}  // namespace kr820::cli
