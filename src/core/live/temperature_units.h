// SPDX-License-Identifier: MIT
#pragma once

namespace kr820::core {

// The unit the meter's display shows; the meter itself always measures in degrees Celsius.
enum class DisplayUnit { Celsius, Fahrenheit };

// Every conversion of a live value out of Celsius is here. Three roundings are kept apart on
// purpose: each is what one reader has always been given, down to the last bit.

// Degrees in `unit`, in double precision: what rows, alarms, the store and the feeds carry.
double InUnit(double celsius, DisplayUnit unit);

// Degrees, or a difference of degrees, given in `from` as degrees of `to`: alarm limits and
// hysteresis keep the unit they were set in.
double ConvertDegrees(double degrees, DisplayUnit from, DisplayUnit to);
double ConvertDifference(double degrees, DisplayUnit from, DisplayUnit to);
// Degrees in `unit` as kelvin (mean kinetic temperature).
double KelvinOf(double degrees, DisplayUnit unit);

// As the meter's display works, in single precision with every step stored back into a float,
// so that a value lands on the same tenth as on the meter. A difference (REL mode) gets no +32.
float InUnitAsDisplayed(float celsius, DisplayUnit unit, bool difference);

// As the fixed-length recorder has always taken its points (float arithmetic): the values of its
// saved graphs depend on it.
float InUnitAsRecorded(float celsius, DisplayUnit unit);

}  // namespace kr820::core
