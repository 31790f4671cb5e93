// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

#include "core/files/row_time_format.h"
#include "core/time/date_time.h"
#include "core/time/local_time.h"

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
    // The instant of the reading: written as the local time then, with the offset then in force.
    UtcSeconds Time = 0;
    std::optional<double> T1;  // none: out of range or invalid (and never NaN or infinite)
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

// "2026-12-07T21:53:08+01:00": the local time at that instant with the offset then in force.
// Empty outside the shown range.
QString IsoTimeAt(UtcSeconds instant);
// The same for a wall-clock date-time (see InstantOfWallClock) and for a QDateTime.
QString IsoLocalTime(TDateTime time);
QString IsoLocalTime(const QDateTime& time);
// One decimal, a point, no group separators: "-5.0".
QString DecimalText(double value);
// The value a stored sample stands for, or none for a limit marker.
std::optional<double> ShownValue(float stored);

// The header row with its line end, or empty for formats without one.
QByteArray HeaderLine(const RowLayout& layout);

// A text as one CSV field (RFC 4180: quoted where it holds a comma, a quote or a line end) and as
// a JSON string (quotes, backslashes and control characters escaped). Unit texts come from this
// program, but a set column, a device or a file's type may not: what needs it is quoted.
QByteArray CsvField(const QString& text);
QByteArray JsonString(const QString& text);
// One row with its line end. Empty for an Influx row whose instant lies outside the years 1677
// to 2262 that its nanosecond times hold, and for a row outside the shown range.
QByteArray RowLine(const ReadingRow& row, const RowLayout& layout);
// The header and all rows (without those RowLine leaves out).
QByteArray RowsText(const std::vector<ReadingRow>& rows, const RowLayout& layout);

}  // namespace kr820::core
