// SPDX-License-Identifier: MIT
#include "core/live/temperature_units.h"

namespace kr820::core {

double InUnit(double celsius, DisplayUnit unit) {
    return unit == DisplayUnit::Fahrenheit ? celsius * 1.8 + 32.0 : celsius;
}

double ConvertDegrees(double degrees, DisplayUnit from, DisplayUnit to) {
    if (from == to) return degrees;
    return to == DisplayUnit::Fahrenheit ? InUnit(degrees, to) : (degrees - 32.0) / 1.8;
}

double ConvertDifference(double degrees, DisplayUnit from, DisplayUnit to) {
    if (from == to) return degrees;
    return to == DisplayUnit::Fahrenheit ? degrees * 1.8 : degrees / 1.8;
}

double KelvinOf(double degrees, DisplayUnit unit) {
    return ConvertDegrees(degrees, unit, DisplayUnit::Celsius) + 273.15;
}

float InUnitAsDisplayed(float celsius, DisplayUnit unit, bool difference) {
    if (unit == DisplayUnit::Celsius) return celsius;
    const float scaled = static_cast<float>(static_cast<double>(celsius) * 1.8);
    if (difference) return scaled;
    return static_cast<float>(static_cast<double>(scaled) + 32.0);
}

float InUnitAsRecorded(float celsius, DisplayUnit unit) {
    return unit == DisplayUnit::Fahrenheit ? celsius * 1.8f + 32.0f : celsius;
}

}  // namespace kr820::core
