// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

#include "core/files/row_time_format.h"
#include "core/time/date_time.h"

namespace kr820::core {

// Readings as scripts and spreadsheets take them: ISO 8601 local times with their offset, a
// decimal point whatever the regional settings, and no value at all where a channel has none.
enum class RowFormat {
    // RFC 4180, CR LF line ends, a header row: time,utc_offset,t1,t2,unit. The time without its
    // offset (which spreadsheets would read as text), the offset in the next column.
    Csv,
    Tsv,        // the same, tab-separated with LF line ends
    JsonLines,  // one object per line; a missing value is null
    Influx,     // InfluxDB line protocol; a missing value leaves its field out
};

struct ReadingRow {
    TDateTime Time = 0;
    std::optional<double> T1;  // none: out of range or invalid
    std::optional<double> T2;
    QString Unit;  // "C", "F", or empty where the source does not say
    int Set = 0;   // 1-based; written only where rows carry a set column
};

struct RowLayout {
    RowFormat Format = RowFormat::Csv;
    bool WithSet = false;  // a leading set column (a field in JSON lines and Influx)
    QString Device;        // Influx only: the device tag
    TimeFormat Times = TimeFormat::Iso;  // not Influx, whose times are Unix nanoseconds
};

// "2026-12-07T21:53:08+01:00": the offset is that of the local time zone on that day.
QString IsoLocalTime(TDateTime time);
QString IsoLocalTime(const QDateTime& time);
// One decimal, a point, no group separators: "-5.0".
QString DecimalText(double value);
// The value a stored sample stands for, or none for a limit marker.
std::optional<double> ShownValue(float stored);

// The header row with its line end, or empty for formats without one.
QByteArray HeaderLine(const RowLayout& layout);
// One row with its line end.
QByteArray RowLine(const ReadingRow& row, const RowLayout& layout);
// The header and all rows.
QByteArray RowsText(const std::vector<ReadingRow>& rows, const RowLayout& layout);

}  // namespace kr820::core
