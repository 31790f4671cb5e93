// SPDX-License-Identifier: MIT
#pragma once

#include "core/live/display_digits.h"

namespace kr820::core {

// The one conversion between the meter's two units: of a temperature, and of a difference of
// two (a hysteresis, a z value), which has no offset.
inline double ConvertTemperature(double degrees, DisplayUnit from, DisplayUnit to) {
    if (from == to) return degrees;
    return to == DisplayUnit::Fahrenheit ? degrees * 1.8 + 32.0 : (degrees - 32.0) / 1.8;
}

inline double ConvertDifference(double degrees, DisplayUnit from, DisplayUnit to) {
    if (from == to) return degrees;
    return to == DisplayUnit::Fahrenheit ? degrees * 1.8 : degrees / 1.8;
}

inline double KelvinOf(double degrees, DisplayUnit unit) {
    return ConvertTemperature(degrees, unit, DisplayUnit::Celsius) + 273.15;
}

}  // namespace kr820::core
