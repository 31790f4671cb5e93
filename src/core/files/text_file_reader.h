// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <vector>

#include "core/files/file_outcome.h"
#include "core/files/regional_formats.h"
#include "core/files/text_line.h"
#include "core/time/date_time.h"

namespace kr820::core {

class ChartData;

// Longer lines end the data: no line this program writes comes near it.
inline constexpr int kMaxTextLineChars = 179;
// Fewer lines still make a chart of this many points; the points without lines keep X = 0.
inline constexpr int kMinTextFilePoints = 4;
inline constexpr float kTextFileMinY = -10.0f;
inline constexpr float kTextFileMaxY = 50.0f;

// What a text file gives a new graph window: the chart's size and X range, then its points.
struct TextFileContent {
    // One point per line of data, at least kMinTextFilePoints, at most the chart's maximum.
    int Points = 0;
    // From the first line's time, as many steps of the first two lines' interval as there are
    // points. Both 0 when those lines do not give a rising pair of times: the chart then scales X
    // itself rather than running backwards.
    TDateTime MinX = 0;
    TDateTime MaxX = 0;
    // X of points 0 to X.size() - 1 as the lines set them; 0 where a date or time did not read.
    // A line with a date and time but no values sets X of the point that the next line fills.
    std::vector<TDateTime> X;
    // T1 and T2 of points 0 to T1.size() - 1, one point per line that holds values.
    std::vector<float> T1;
    std::vector<float> T2;
    // "C" or "F" where the file says so for all its points (the spreadsheet rows do).
    QString Unit;
};

enum class TextReadStatus {
    Read,
    Cancelled,
    CannotOpen,
    NoPoints,  // not a line reads as a point: no data of this program, refused
};

struct TextReadOutcome {
    TextReadStatus Status = TextReadStatus::Read;
    TextFileContent Content;  // also the points read before a Cancel
    // The system's reason for CannotOpen; for NoPoints, which line did not read and how.
    QString Reason;
};

// Reads a text file in two passes: the first sizes the chart, the second fills the points. The
// data end at the end of the file, at the first empty line, or at the first line longer than
// kMaxTextLineChars characters, the same in both passes. Lines with fewer than three separators
// fill no point; values that hold "OL" or do not read as numbers become OverLimitValue. A file
// of which no line reads as a point (a date and a time that read, and values) is refused.
// A file that begins with a header row of the spreadsheet rows is read by its columns instead
// (see ReadSpreadsheetRows), with its times as the local wall clock at each row's instant.
// `progress` hears (points filled, Points) after each line of the second pass.
TextReadOutcome ReadTextFile(const QString& path, TextSeparator separator,
                             const RegionalFormats& formats, const ProgressCallback& progress = {});

// Lays the points onto subsets 0 and 1 of a chart already prepared for content.Points points,
// leaving the points the file did not reach as the preparation left them.
void LayTextFileOntoChart(const TextFileContent& content, ChartData& chart);

}  // namespace kr820::core
