// SPDX-License-Identifier: MIT
#include "core/alarms/alarm_reading.h"

#include <cmath>

#include "core/data/limit_values.h"

namespace kr820::core {
namespace {

std::optional<double> ChannelValue(float celsius, bool invalid, bool fahrenheit) {
    if (invalid || !std::isfinite(celsius) || IsShownAsOL(celsius)) return std::nullopt;
    // The meter sends tenths: round away the float's noise before converting.
    const double tenths = std::round(static_cast<double>(celsius) * 10.0) / 10.0;
    return fahrenheit ? tenths * 1.8 + 32.0 : tenths;
}

}  // namespace

AlarmReading AlarmReadingOf(const LiveReading& reading, const QDateTime& time) {
    const bool fahrenheit = (reading.Status & kStatusFahrenheit) != 0;
    AlarmReading alarmReading;
    alarmReading.Time = time;
    alarmReading.Unit = fahrenheit ? DisplayUnit::Fahrenheit : DisplayUnit::Celsius;
    // T1's invalid byte is the low byte of the channel flags, T2's the high one.
    alarmReading.T1 =
        ChannelValue(reading.Value(LiveValue::T1), (reading.Invalid & 0x00FF) != 0, fahrenheit);
    alarmReading.T2 =
        ChannelValue(reading.Value(LiveValue::T2), (reading.Invalid & 0xFF00) != 0, fahrenheit);
    return alarmReading;
}

}  // namespace kr820::core
