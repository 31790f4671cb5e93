// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QtGlobal>

#include "core/files/file_outcome.h"
#include "core/files/point_range.h"
#include "core/files/regional_formats.h"
#include "core/files/text_line.h"

namespace kr820::core {

class ChartData;

struct TextWriteOutcome {
    WriteOutcome File;
    qsizetype Lines = 0;
    // Cancel stops after the line in hand; the lines before it are kept as a shorter file.
    bool Cancelled = false;
};

// Writes points `range` of subsets 0 (T1) and 1 (T2) as a text file, CR LF after each line,
// stopping at the first point whose X is 0: from there on the chart holds no samples. The file
// replaces an earlier one only when it was written whole; a range without points writes an empty
// file. `progress` hears (lines written, points in the range) after each line.
TextWriteOutcome WriteTextFile(const ChartData& chart, const QString& path, TextSeparator separator,
                               PointRange range, const RegionalFormats& formats,
                               const ProgressCallback& progress = {});

}  // namespace kr820::core
