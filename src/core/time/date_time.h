// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>

namespace kr820::core {

// Date-times travel through the program, the chart and the files as a double counting days since
// 30 December 1899 (local time); the fraction is the time of day, one second being 1/86400.
using TDateTime = double;

inline constexpr double kSecondsPerDay = 86400.0;
inline constexpr TDateTime kOneSecond = 1.0 / kSecondsPerDay;

// Exact to the second: the fraction is rounded to the nearest whole second.
TDateTime ToTDateTime(const QDateTime& dateTime);
QDateTime FromTDateTime(TDateTime value);

TDateTime NowTDateTime();

}  // namespace kr820::core
