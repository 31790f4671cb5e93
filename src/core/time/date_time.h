// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>

namespace kr820::core {

// Date-times travel through the program, the chart and the files as a double counting days since
// 30 December 1899 (local time); the fraction is the time of day, one second being 1/86400.
using TDateTime = double;

inline constexpr double kSecondsPerDay = 86400.0;
inline constexpr TDateTime kOneSecond = 1.0 / kSecondsPerDay;

// The dates the program shows, 1 January 100 to 31 December 9999: the years regional formats
// write with four digits at most. Values outside, and values that are no number at all, are no
// date-time; a file holding one is damaged.
inline constexpr TDateTime kFirstShownDay = -657434.0;  // 1 January 100
inline constexpr TDateTime kLastShownDay = 2958465.0;   // 31 December 9999
bool IsShownDateTime(TDateTime value);

// Exact to the second: the fraction is rounded to the nearest whole second.
TDateTime ToTDateTime(const QDateTime& dateTime);
// A wall-clock date and time, as the clock that took them showed them.
TDateTime ToTDateTime(QDate date, QTime time);
// An invalid QDateTime for a value IsShownDateTime refuses.
QDateTime FromTDateTime(TDateTime value);
// The date and the time of day a value stands for, as the clock that took it showed them: the
// same as FromTDateTime's, without the time zone lookup a local QDateTime costs (a file system
// check per value, which writing a long text file cannot afford). Both invalid where
// FromTDateTime is.
struct WallClockParts {
    QDate Date;
    QTime Time;
};
WallClockParts WallClockOf(TDateTime value);

TDateTime NowTDateTime();

}  // namespace kr820::core
