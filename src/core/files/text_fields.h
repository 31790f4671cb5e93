// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QString>
#include <QStringView>
#include <QTime>
#include <optional>

#include "core/files/regional_formats.h"
#include "core/files/time_text_format.h"
#include "core/time/date_time.h"

namespace kr820::core {

// The fields of a text file line, written and read with the regional settings.
QString DateText(QDate date, const RegionalFormats& formats);
QString TimeText(QTime time, const RegionalFormats& formats);
// "OL" beyond the limits, otherwise one decimal with the user's decimal separator.
QString ValueText(float value, const RegionalFormats& formats);

// OverLimitValue for a field that holds "OL" or is no number: under-range values come back as
// over-range ones, which the "OL" of the file cannot tell apart.
float ReadValue(QStringView text, const RegionalFormats& formats);

// Reads the fields of one file's lines, as ReadDate, the locale's time reading and ReadValue
// would, an order of magnitude faster: reading through the locale costs microseconds a field,
// too much for tens of thousands of lines. The lines mostly share their date, so the last date
// read is kept; the time format is compiled once; plain numbers (ASCII digits, a hyphen-minus,
// the decimal separator) are read here wherever that was found, on starting, to read as the
// locale does.
class TextFieldReader {
public:
    explicit TextFieldReader(const RegionalFormats& formats);

    // Empty when either text does not fit its format.
    std::optional<TDateTime> DateAndTime(QStringView dateText, QStringView timeText);
    float Value(QStringView text) const;

private:
    bool ReadsValuesLikeTheLocale() const;

    const RegionalFormats& m_formats;
    std::optional<TimeTextFormat> m_timeFormat;
    QString m_lastDateText;
    QDate m_lastDate;
    bool m_hasLastDate = false;
    char16_t m_decimalPoint = 0;  // 0: values are read by the locale
};

// A wall-clock date and time as a date-time. QDateTime has no value for the hour skipped by a
// change to summer time, yet the meter's clock, which knows nothing of it, may show that hour.
TDateTime WallClockDateTime(QDate date, QTime time);

}  // namespace kr820::core
