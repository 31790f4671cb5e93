// SPDX-License-Identifier: MIT
#pragma once

#include <QLocale>
#include <QString>

#include "core/time/date_time.h"

namespace kr820::core {

// The locale as the graph windows show numbers with it: no thousands separators, so that a
// temperature keeps its width in the data list and reads like the meter's display.
QLocale DisplayLocale(QLocale locale);

// The time in the locale's long format, without the time zone that format carries: the values
// are wall-clock times of the meter, in no particular zone.
QString LongTimeText(TDateTime value, const QLocale& locale);
// Short date, a space, long time: "Start Time" and the extremes.
QString DateTimeText(TDateTime value, const QLocale& locale);

// What the pointer reads over the chart: the value with one decimal, "@", the time
// ("21.5@10:00:04").
QString PointerReadoutText(double y, TDateTime x, const QLocale& locale);

// mm:ss of a number of seconds, each field cut to its last two characters ("60:00" for 3600).
QString MmSsText(int seconds);

// Ten spaces in front, then the last `width` characters: longer texts lose their front.
QString RightAligned(const QString& text, int width);

// One line of the data list: point number (from 1), date, time, T1 and T2, the temperatures
// right-aligned in 9 characters with one decimal or "OL".
QString DataListLine(int point, TDateTime x, float t1, float t2, const QLocale& locale);

// The data list's line between two readings with readings missing between them: "no reading
// from 08:32:13 to 08:32:22", the times of the readings on either side; with the date as well
// when the two fall on different days.
QString NoReadingLine(TDateTime from, TDateTime to, const QLocale& locale);

// The data list's line where the system clock was set back between two readings: "clock set
// back by 1 h 0 min at 17:34:18", the step to the whole second and the time of the reading
// before it.
QString ClockSetBackLine(qint64 byMs, TDateTime at, const QLocale& locale);

// The point cursor's text: time, then both temperatures with one decimal or "OL", as the data
// list shows them.
QString PointCursorText(TDateTime x, float t1, float t2, const QLocale& locale);

}  // namespace kr820::core
