// SPDX-License-Identifier: MIT
#pragma once

#include <QLocale>
#include <QString>

namespace kr820::core {

// Samples outside the thermocouple's range are kept as these markers, in either unit.
inline constexpr float OverLimitValue = 9999.0f;    // above the type's range; also "OL" read back
inline constexpr float UnderLimitValue = -9999.0f;  // below -200 degrees Celsius

// No real temperature gets this far in either unit, so anything beyond is a marker.
inline constexpr double kOLThreshold = 3000.0;
inline constexpr char kOLText[] = "OL";

constexpr bool IsShownAsOL(double value) { return value > kOLThreshold || value < -kOLThreshold; }

// "OL" for a limit marker, otherwise the value with `decimals` decimals in the locale's notation.
QString TemperatureText(double value, int decimals, const QLocale& locale);

}  // namespace kr820::core
