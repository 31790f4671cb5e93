// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <optional>

#include "core/files/regional_formats.h"
#include "core/time/date_time.h"

namespace kr820::core {

// The fields of a text file line, written and read with the regional settings.
QString DateText(TDateTime value, const RegionalFormats& formats);
QString TimeText(TDateTime value, const RegionalFormats& formats);
// "OL" beyond the limits, otherwise one decimal with the user's decimal separator.
QString ValueText(float value, const RegionalFormats& formats);

// Empty when either text does not fit its format.
std::optional<TDateTime> ReadDateAndTime(const QString& dateText, const QString& timeText,
                                         const RegionalFormats& formats);
// OverLimitValue for a field that holds "OL" or is no number: under-range values come back as
// over-range ones, which the "OL" of the file cannot tell apart.
float ReadValue(const QString& text, const RegionalFormats& formats);

// A wall-clock date and time as a date-time. QDateTime has no value for the hour skipped by a
// change to summer time, yet the meter's clock, which knows nothing of it, may show that hour.
TDateTime WallClockDateTime(QDate date, QTime time);

}  // namespace kr820::core
